// The desktop program on the offscreen platform: start-up to the first painted listing (goal
// under 300 ms), a full repaint of the 99-channel listing (goal under 5 ms), the same scrolled
// and after a change of the configuration, a selection move (two rows repainted), and the CPU
// the running program spends idle with its 15 ms tick (goal under 1% of a core).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>

#include "app/listing_view.h"
#include "app/main_window.h"
#include "app/sample_configuration.h"
#include "app/session.h"
#include "app/tick_pump.h"
#include "link/file_path.h"
#include "model/table_files.h"

using namespace kq904;

namespace {

// A data directory holding the 99-channel sample as table files, and a scratch profile.
struct Scratch {
    QTemporaryDir dir;
    std::filesystem::path data;

    Scratch()
        : data(toPath(dir.path()) / "data")
    {
        std::filesystem::create_directories(data);
        RadioImage image = sampleConfiguration(99);
        for (TableFile file :
            {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
            (void)writeTableFile(image, data, file);
        std::ofstream(data / "kq904.ini") << "ani_version channel_name";
    }

    std::unique_ptr<Session> session() const
    {
        SessionOptions options;
        options.dataDir = data;
        return std::make_unique<Session>(options,
            std::make_unique<ProfileSettings>(dir.filePath(QStringLiteral("profile.ini"))));
    }
};

// Processes events until the listing has been painted at least once.
void waitForFirstPaint(CKQ904View& view)
{
    QElapsedTimer guard;
    guard.start();
    while (view.lastPaintedRows().empty() && guard.elapsed() < 5000)
        QApplication::processEvents();
}

// Session (table files, feature flags), window, shown: until the listing is on the screen.
void BM_StartupToFirstPaint(benchmark::State& state)
{
    Scratch scratch;
    for (auto _ : state) {
        auto session = scratch.session();
        auto window = std::make_unique<CMainFrame>(*session);
        window->resize(1280, 900);
        window->show();
        waitForFirstPaint(*window->view());
        state.PauseTiming();
        window.reset();
        session.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

struct RunningWindow {
    Scratch scratch;
    std::unique_ptr<Session> session = scratch.session();
    std::unique_ptr<CMainFrame> window = std::make_unique<CMainFrame>(*session);

    // Just tall enough to show all 102 rows of the 99-channel listing.
    RunningWindow()
    {
        window->resize(1200, 900);
        window->show();
        waitForFirstPaint(*window->view());
        CKQ904View& view = *window->view();
        const int extra = 102 * view.rowHeight() - view.viewport()->height();
        window->resize(1200, 900 + extra);
        QApplication::processEvents();
    }
};

// The whole listing repainted: 99 channels (argument 99) against the same window with one
// channel (argument 1), which shows what filling and showing the window costs by itself.
void BM_FullRepaint(benchmark::State& state)
{
    RunningWindow running;
    running.session->image().setChannelCount(static_cast<int>(state.range(0)));
    running.window->refresh();
    CKQ904View& view = *running.window->view();
    for (auto _ : state)
        view.viewport()->repaint();
    state.counters["rows"] = static_cast<double>(view.lastPaintedRows().size());
}
BENCHMARK(BM_FullRepaint)->Arg(99)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same in a window showing a third of the listing, scrolled to its middle: the rows drawn
// are those in sight, each laid out once, whatever the scrolling offset.
void BM_FullRepaintScrolled(benchmark::State& state)
{
    RunningWindow running;
    running.window->resize(1200, 400);
    QApplication::processEvents();
    CKQ904View& view = *running.window->view();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    QApplication::processEvents();
    for (auto _ : state)
        view.viewport()->repaint();
    state.counters["rows"] = static_cast<double>(view.lastPaintedRows().size());
}
BENCHMARK(BM_FullRepaintScrolled)->Unit(benchmark::kMicrosecond);

// A change of the configuration (the refresh notification) and the repaint that shows it: the
// rows' text is composed again once.
void BM_RefreshAndRepaint(benchmark::State& state)
{
    RunningWindow running;
    CKQ904View& view = *running.window->view();
    RadioImage& image = running.session->image();
    bool high = false;
    for (auto _ : state) {
        image.channels[40].set(ChannelRecord::highPower, high = !high);
        running.window->refresh();
        view.viewport()->repaint();
    }
}
BENCHMARK(BM_RefreshAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_SelectionMove(benchmark::State& state)
{
    RunningWindow running;
    CKQ904View& view = *running.window->view();
    CKQ904Doc& document = running.session->document();
    document.selectRow(50);
    QApplication::processEvents();
    bool down = true;
    for (auto _ : state) {
        if (down)
            document.nextRow();
        else
            document.previousRow();
        down = !down;
        // The two invalidated rows are painted here.
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(view.lastPaintedRows().size());
}
BENCHMARK(BM_SelectionMove)->Unit(benchmark::kMicrosecond);

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The window shown, the tick running, nothing to do: the CPU share over three seconds.
void BM_IdleWithTick(benchmark::State& state)
{
    RunningWindow running;
    constexpr int seconds = 3;
    for (auto _ : state) {
        const long long ticksBefore = running.window->tickPump().ticks();
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop idle;
        QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
        idle.exec();
        const double cpu = cpuSeconds() - cpuBefore;
        state.SetIterationTime(static_cast<double>(wall.elapsed()) / 1000);
        state.counters["cpu_percent"] = 100.0 * cpu / (static_cast<double>(wall.elapsed()) / 1000);
        state.counters["ticks_per_s"] =
            static_cast<double>(running.window->tickPump().ticks() - ticksBefore)
            / (static_cast<double>(wall.elapsed()) / 1000);
    }
}
BENCHMARK(BM_IdleWithTick)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The first window of the process pays for the application object, fonts and styles once:
    // measure that too, from the start of main.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    auto scratch = std::make_unique<Scratch>();
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    {
        auto session = scratch->session();
        CMainFrame window(*session);
        window.resize(1280, 900);
        window.show();
        waitForFirstPaint(*window.view());
        std::printf("start of main (QApplication included) to the first painted listing: %lld ms\n",
            static_cast<long long>(clock.elapsed()));
    }
    scratch.reset();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
