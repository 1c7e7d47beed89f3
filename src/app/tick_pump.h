#pragma once
// The program's heartbeat: a 15 ms timer that drives the radio link. It starts with the main
// window and runs until the program ends; being a timer of the user-interface thread it keeps
// firing inside modal forms and message boxes, so a transfer goes on while they are open.

#include <QObject>
#include <QTimer>
#include <functional>

namespace kq904 {

class TickPump : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 15;

    // `onTick` runs on every tick: the link's countdowns, its protocol step, then reception.
    TickPump(std::function<void()> onTick, QObject* parent);

    void start();
    bool isActive() const { return timer_.isActive(); }
    // Ticks delivered since start (for diagnostics and tests).
    long long ticks() const { return ticks_; }

private:
    void onTimeout();

    std::function<void()> onTick_;
    QTimer timer_;
    long long ticks_ = 0;
};

} // namespace kq904
