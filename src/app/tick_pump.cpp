#include "tick_pump.h"

namespace kq904 {

TickPump::TickPump(std::function<void()> onTick, QObject* parent)
    : QObject(parent)
    , onTick_(std::move(onTick))
{
    // Every link delay and timeout is counted in these ticks: the period must hold.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &TickPump::onTimeout);
}

void TickPump::start()
{
    timer_.start();
}

void TickPump::onTimeout()
{
    ++ticks_;
    if (onTick_)
        onTick_();
}

} // namespace kq904
