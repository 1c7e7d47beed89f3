// The fault-injection soak in real time: sessions of programming and reading through kq904-sim
// on a pseudo-terminal (started with the session's --fault options) and the serial port, each
// checked against what its faults imply, like the virtual-time soak in the test suite. Run by
// `make soak`; prints one line per session and ends with "N passed, M failed".
//   KQ904_SOAK_SESSIONS  sessions to run (default 50)
//   KQ904_SOAK_SEED      base seed (default 904)
//   KQ904_SOAK_FIRST     index of the first session (default 0)

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "soak/pty_session.h"
#include "soak/session_check.h"
#include "soak/soak_tally.h"

using namespace kq904::soak;

namespace {

long long environmentNumber(const char* name, long long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 0);
    return end && *end == '\0' ? value : fallback;
}

std::string sequenceText(const SessionPlan& plan)
{
    return plan.programming() ? "programming" : "reading";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const auto seed = static_cast<std::uint64_t>(environmentNumber("KQ904_SOAK_SEED", 904));
    const int sessions = static_cast<int>(environmentNumber("KQ904_SOAK_SESSIONS", 50));
    const int first = static_cast<int>(environmentNumber("KQ904_SOAK_FIRST", 0));
    const QString sim = QStringLiteral(KQ904_BIN_DIR "/kq904-sim");

    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "tests_soak_pty: no temporary directory\n");
        return 2;
    }
    std::printf("Real-time soak: %d sessions from %d, base seed %llu, kq904-sim on a "
                "pseudo-terminal\n",
        sessions, first, static_cast<unsigned long long>(seed));
    SoakTally tally;
    qint64 totalMs = 0;
    for (int i = first; i < first + sessions; ++i) {
        const SessionPlan plan = planSession(seed, i, true);
        const Expectation expected = expectSession(plan);
        const PtySessionRun run = runPtySession(plan, expected, sim, work.path());
        const auto problems = checkSession(expected, run.result);
        tally.add(plan, expected, run.result, problems.empty());
        totalMs += run.elapsedMs;
        std::printf("%s #%-4d %-11s %-27s %-16s %5ld ticks %5.1f s\n",
            problems.empty() ? "ok  " : "FAIL", i, sequenceText(plan).c_str(),
            std::string(scenarioName(plan.scenario)).c_str(), expected.outcome.c_str(),
            run.result.outcomeTick, static_cast<double>(run.elapsedMs) / 1000.0);
        if (!problems.empty()) {
            std::printf("%s\n", plan.describe().c_str());
            for (const auto& p : problems)
                std::printf("  %s\n", p.c_str());
            std::printf("  alone: KQ904_SOAK_SEED=%llu KQ904_SOAK_FIRST=%d KQ904_SOAK_SESSIONS=1\n",
                static_cast<unsigned long long>(seed), i);
            std::printf("  kq904-sim log:\n%s", run.simLog.toLocal8Bit().constData());
        }
        std::fflush(stdout);
    }
    std::printf(
        "%s  %.1f s in sessions\n", tally.report().c_str(), static_cast<double>(totalMs) / 1000.0);
    std::printf("%d passed, %d failed\n", tally.passed(), tally.failed());
    return tally.failed() == 0 ? 0 : 1;
}
