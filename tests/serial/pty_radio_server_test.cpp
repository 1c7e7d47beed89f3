// The simulated radio served on a pseudo-terminal, as kq904-sim runs it, with the programmer's
// serial port on the other end.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "link/frame.h"
#include "link/serial_port.h"
#include "sim/pty/pty_master.h"
#include "sim/pty/pty_radio_server.h"

using namespace kq904;
using namespace std::chrono_literals;

namespace {

// The server on its own thread, stopped through a pipe as a signal would stop kq904-sim.
class ServedRadio {
public:
    ServedRadio()
    {
        std::string error;
        pty = PtyMaster::open(&error);
        EXPECT_TRUE(pty) << error;
        EXPECT_EQ(::pipe(stopPipe), 0);
        server = std::make_unique<PtyRadioServer>(radio, *pty);
    }
    ~ServedRadio()
    {
        stop();
        ::close(stopPipe[0]);
        ::close(stopPipe[1]);
    }
    void start()
    {
        thread = std::thread([this] { served = server->serve(stopPipe[0]); });
    }
    void stop()
    {
        if (!thread.joinable())
            return;
        const char byte = 0;
        EXPECT_EQ(::write(stopPipe[1], &byte, 1), 1);
        thread.join();
    }

    SimulatedRadio radio;
    std::unique_ptr<PtyMaster> pty;
    std::unique_ptr<PtyRadioServer> server;
    int stopPipe[2] = {-1, -1};
    std::thread thread;
    Result served = Result::failure("not served");
};

void send(SerialPort& port, const Frame& frame)
{
    for (std::uint8_t b : wireBytes(frame))
        ASSERT_TRUE(port.writeByte(b));
}

std::vector<std::uint8_t> receive(SerialPort& port, std::size_t want)
{
    std::vector<std::uint8_t> got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < want && clock.elapsed() < 2000) {
        std::uint8_t buffer[64];
        const std::size_t n = port.readAvailable(buffer);
        got.insert(got.end(), buffer, buffer + n);
        if (n == 0)
            std::this_thread::sleep_for(1ms);
    }
    return got;
}

} // namespace

TEST(PtyRadioServer, AnswersFramesAndSavesBeforeAcknowledgingTheEnd)
{
    ServedRadio served;
    ASSERT_TRUE(served.pty);
    // The handler runs on the server's thread; the acknowledge of "D" may leave only after it.
    std::atomic<bool> saved{false};
    served.server->onProgrammingEnded([&] {
        std::this_thread::sleep_for(50ms); // a slow disk
        saved = true;
    });
    served.start();

    SerialPort port;
    port.setDevice(QString::fromStdString(served.pty->slavePath()));
    ASSERT_TRUE(port.open());
    const std::uint8_t data[] = {0x11, 0x22, 0x33};
    send(port, writeFrame(0x0100, data));
    const std::vector<std::uint8_t> ack = wireBytes(commandFrame(FrameLetter::acknowledge));
    EXPECT_EQ(receive(port, ack.size()), ack);
    EXPECT_FALSE(saved);

    send(port, commandFrame(FrameLetter::endOfProgramming));
    EXPECT_EQ(receive(port, ack.size()), ack);
    EXPECT_TRUE(saved) << "the end of programming was acknowledged before the EEPROM was saved";

    served.stop();
    EXPECT_TRUE(served.served) << served.served.error;
    EXPECT_EQ(served.radio.eeprom()[0x0100], 0x11);
    EXPECT_EQ(served.radio.eeprom()[0x0102], 0x33);
    EXPECT_EQ(served.radio.programmingEnds(), 1);
}

// The radio's replies wait for their time (latency) without the server spinning meanwhile.
TEST(PtyRadioServer, LateRepliesLeaveOnTimeWithoutBusyWaiting)
{
    ServedRadio served;
    ASSERT_TRUE(served.pty);
    served.radio.setReplyLatencyMs(300);
    served.start();
    SerialPort port;
    port.setDevice(QString::fromStdString(served.pty->slavePath()));
    ASSERT_TRUE(port.open());

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    send(port, commandFrame(FrameLetter::versionRequest));
    const std::vector<std::uint8_t> reply = wireBytes(versionReplyFrame(0x0512));
    EXPECT_EQ(receive(port, reply.size()), reply);
    const qint64 elapsed = clock.elapsed();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_GE(elapsed, 290);
    EXPECT_LT(elapsed, 1000);
    // Both threads together: the client polls every millisecond, the server sleeps in poll().
    const double cpu = static_cast<double>(after.ru_utime.tv_sec - before.ru_utime.tv_sec
                           + after.ru_stime.tv_sec - before.ru_stime.tv_sec)
        + static_cast<double>(after.ru_utime.tv_usec - before.ru_utime.tv_usec
              + after.ru_stime.tv_usec - before.ru_stime.tv_usec)
            / 1e6;
    EXPECT_LT(cpu, 0.15) << "CPU seconds while waiting " << elapsed << " ms for a reply";
}
