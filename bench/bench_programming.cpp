// A full 99-channel programming in real time, as a dealer sees it: the link on a 15 ms
// PreciseTimer tick, SerialPort on a pseudo-terminal, and the simulated radio on the master
// side answering at once (on its own thread, as kq904-sim would in its own process).
//
// Reported counters:
//   seconds, ticks         what the programming took, start to "Programming OK"
//   ideal_ticks            the same programming in virtual time with the radio's reply read
//                          one tick after its frame (the state tables' pace: 447 for 99 channels)
//   ratio                  measured seconds / (ideal_ticks x 15 ms); the goal is at most 1.05
// and for the idle link with the port open:
//   idle_cpu_percent       CPU the tick loop's thread spends per wall second (goal < 1 %)
//
// BM_ProgrammingWithLatency/L/FAST: the same against a radio that answers L ms after each
// frame (16 ms: the default latency timer of common USB serial adapters), paced (FAST = 0) or
// with fast transfer (FAST = 1):
//   seconds                start to "Programming OK", the 495 ms start delay included
//   goal_seconds           fast: 0.6 s + 204 x (L + 1 ms); paced: none (6.7 s at L = 0,
//                          9.8 s at L = 16 are what the 15 ms pace gives)
//   cpu_seconds            CPU of the programmer's thread for the whole run (goal < 0.3 s)
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "link/link.h"
#include "link/serial_port.h"
#include "model/frequency.h"
#include "sim/in_process_transport.h"
#include "sim/pty/pty_master.h"
#include "sim/pty/pty_radio_server.h"
#include "sim/simulated_radio.h"

using namespace kq904;

namespace {

constexpr int kTickMs = 15;

RadioImage fullImage()
{
    RadioImage image;
    image.setChannelCount(99);
    image.factory.set(FactorySettings::intermediateFrequency, 21400000u);
    image.factory.set(FactorySettings::band1Low, 136000000u);
    image.factory.set(FactorySettings::band1High, 174000000u);
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, 144000000u + 12500u * static_cast<std::uint32_t>(n));
        setReceiveFrequency(image, n, 144000000u + 12500u * static_cast<std::uint32_t>(n));
    }
    return image;
}

double threadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class Outcome final : public LinkObserver {
public:
    explicit Outcome(QEventLoop& loop)
        : loop_(loop)
    { }
    void refreshRequested() override { }
    void transferEnded(LinkOutcome outcome) override
    {
        ended = outcome;
        loop_.quit();
    }
    std::optional<LinkOutcome> ended;

private:
    QEventLoop& loop_;
};

// The pace the state tables set: the same programming in virtual time.
long idealTicks()
{
    RadioImage image = fullImage();
    SimulatedRadio radio;
    InProcessTransport transport(radio);
    Link link(image, transport);
    if (!link.startProgramming())
        return -1;
    long ticks = 0;
    while (link.busy() && ticks < 100000) {
        transport.advanceTick();
        link.tick();
        ++ticks;
    }
    return link.linkState() == LinkState::Programmed ? ticks : -1;
}

// The simulated radio served on its own thread until the pipe is written.
class RadioOnPty {
public:
    explicit RadioOnPty(std::int64_t latencyMs = 0)
    {
        radio_.setReplyLatencyMs(latencyMs);
        std::string error;
        pty_ = PtyMaster::open(&error);
        if (!pty_ || ::pipe(stop_) != 0)
            return;
        server_ = std::make_unique<PtyRadioServer>(radio_, *pty_);
        thread_ = std::thread([this] { (void)server_->serve(stop_[0]); });
    }
    ~RadioOnPty()
    {
        if (thread_.joinable()) {
            const char byte = 0;
            (void)!::write(stop_[1], &byte, 1);
            thread_.join();
        }
        for (int fd : stop_) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    bool ok() const { return thread_.joinable(); }
    QString device() const { return QString::fromStdString(pty_->slavePath()); }
    int programmingEnds() const { return radio_.programmingEnds(); }

private:
    SimulatedRadio radio_;
    std::unique_ptr<PtyMaster> pty_;
    std::unique_ptr<PtyRadioServer> server_;
    int stop_[2] = {-1, -1};
    std::thread thread_;
};

// One programming of the full image into the radio on the pseudo-terminal, the link ticked
// every 15 ms and, with fast transfer, taking each reply in as it arrives. The tick keeps
// running after the outcome until the run is destroyed, as in the program after a transfer.
class ProgrammingRun {
public:
    ProgrammingRun(const RadioOnPty& radio, bool fast)
    {
        port_.setDevice(radio.device());
        link_.setFastTransfer(fast);
        if (fast)
            port_.setArrivalHandler([this] { link_.bytesArrived(); });
        tick_.setTimerType(Qt::PreciseTimer);
        tick_.setInterval(kTickMs);
        QObject::connect(&tick_, &QTimer::timeout, &loop_, [this] {
            link_.tick();
            ++ticks_;
        });
    }
    ~ProgrammingRun()
    {
        tick_.stop();
        port_.setArrivalHandler({});
    }

    // The wall time from the start to the outcome; an error text when there is none to take.
    struct Timing {
        double seconds = 0;
        const char* error = nullptr;
    };
    Timing run(const RadioOnPty& radio)
    {
        QElapsedTimer clock;
        clock.start();
        if (!link_.startProgramming())
            return {0, "the pseudo-terminal would not open"};
        tick_.start();
        loop_.exec();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (outcome_.ended != LinkOutcome::ProgrammingOk || radio.programmingEnds() != 1)
            return {seconds, "the programming did not end with Programming OK"};
        return {seconds, nullptr};
    }

    long ticks() const { return ticks_; }
    QEventLoop& loop() { return loop_; }

private:
    RadioImage image_ = fullImage();
    SerialPort port_;
    QEventLoop loop_;
    Outcome outcome_{loop_};
    Link link_{image_, port_, &outcome_};
    QTimer tick_;
    long ticks_ = 0;
};

void BM_FullProgrammingOverPty(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench_programming";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    const long ideal = idealTicks();
    for (auto _ : state) {
        RadioOnPty radio;
        if (!radio.ok()) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        ProgrammingRun programming(radio, false);
        const ProgrammingRun::Timing timing = programming.run(radio);
        const long programmingTicks = programming.ticks();
        state.SetIterationTime(timing.seconds);
        if (timing.error) {
            state.SkipWithError(timing.error);
            return;
        }

        // The port stays open and the tick keeps running with nothing to do, as in the
        // program after a transfer.
        constexpr int kIdleMs = 3000;
        QTimer::singleShot(kIdleMs, &programming.loop(), &QEventLoop::quit);
        const double cpuBefore = threadCpuSeconds();
        QElapsedTimer idleClock;
        idleClock.start();
        programming.loop().exec();
        const double idleCpu = threadCpuSeconds() - cpuBefore;
        const double idleWall = static_cast<double>(idleClock.elapsed()) / 1000.0;

        state.counters["seconds"] = timing.seconds;
        state.counters["ticks"] = static_cast<double>(programmingTicks);
        state.counters["ideal_ticks"] = static_cast<double>(ideal);
        state.counters["ratio"] = timing.seconds / (static_cast<double>(ideal) * kTickMs / 1000.0);
        state.counters["idle_cpu_percent"] = 100.0 * idleCpu / idleWall;
    }
}

void BM_ProgrammingWithLatency(benchmark::State& state)
{
    const int latencyMs = static_cast<int>(state.range(0));
    const bool fast = state.range(1) != 0;
    int argc = 1;
    char name[] = "bench_programming";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    for (auto _ : state) {
        RadioOnPty radio(latencyMs);
        if (!radio.ok()) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        ProgrammingRun programming(radio, fast);
        const double cpuBefore = threadCpuSeconds();
        const ProgrammingRun::Timing timing = programming.run(radio);
        const double cpu = threadCpuSeconds() - cpuBefore;
        state.SetIterationTime(timing.seconds);
        if (timing.error) {
            state.SkipWithError(timing.error);
            return;
        }
        state.counters["seconds"] = timing.seconds;
        state.counters["cpu_seconds"] = cpu;
        if (fast)
            state.counters["goal_seconds"] = 0.6 + 204 * (latencyMs + 1) / 1000.0;
    }
}

} // namespace

BENCHMARK(BM_FullProgrammingOverPty)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_ProgrammingWithLatency)
    ->ArgNames({"L", "fast"})
    ->Args({0, 1})
    ->Args({16, 1})
    ->Args({16, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
