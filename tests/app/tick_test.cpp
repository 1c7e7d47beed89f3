// The 15 ms tick: its period, and that it keeps driving the link inside modal forms and
// message boxes, where a transfer must go on.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/message_presenter.h"
#include "app/tick_pump.h"

namespace kq904 {
namespace {

// Runs `modal` (which blocks in its own event loop) and closes whatever modal window is open
// after `ms`; returns the ticks counted meanwhile and the time it took.
template <typename Modal>
std::pair<long long, qint64> ticksDuring(TickPump& pump, int ms, Modal modal)
{
    QTimer::singleShot(ms, qApp, [] {
        if (QWidget* open = QApplication::activeModalWidget())
            open->close();
    });
    const long long before = pump.ticks();
    QElapsedTimer clock;
    clock.start();
    modal();
    return {pump.ticks() - before, clock.elapsed()};
}

TEST(TickPump, KeepsTickingInsideDialogsAndMessageBoxes)
{
    long long linkSteps = 0;
    TickPump pump([&linkSteps] { ++linkSteps; }, nullptr);
    pump.start();
    ASSERT_TRUE(pump.isActive());

    QDialog dialog;
    const auto [dialogTicks, dialogMs] = ticksDuring(pump, 450, [&dialog] { dialog.exec(); });
    MessageBoxPresenter boxes;
    const auto [boxTicks, boxMs] =
        ticksDuring(pump, 450, [&boxes] { boxes.showMessage(nullptr, QStringLiteral("READ OK")); });

    for (const auto& [ticks, ms] : {std::pair{dialogTicks, dialogMs}, std::pair{boxTicks, boxMs}}) {
        // A 15 ms timer cannot fire more often than that; under load it may fire less often,
        // but it must not stop while the window is open.
        EXPECT_LE(ticks, ms / TickPump::kTickMs + 1);
        EXPECT_GE(ticks, ms / TickPump::kTickMs / 3) << ms << " ms";
    }
    EXPECT_EQ(linkSteps, pump.ticks());
}

} // namespace
} // namespace kq904
