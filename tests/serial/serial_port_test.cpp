// SerialPort over a real pseudo-terminal: the test holds the master side, where the radio's end
// of the cable would be.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "link/serial_port.h"
#include "sim/pty/pty_master.h"

using namespace kq904;
using namespace std::chrono_literals;

namespace {

std::unique_ptr<PtyMaster> openPty()
{
    std::string error;
    auto pty = PtyMaster::open(&error);
    EXPECT_TRUE(pty) << error;
    return pty;
}

// Everything the master receives within `ms`, stopping early once `want` bytes are in.
std::vector<std::uint8_t> drainMaster(PtyMaster& pty, std::size_t want, int ms)
{
    std::vector<std::uint8_t> got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < want && clock.elapsed() < ms) {
        std::uint8_t buffer[512];
        const std::size_t n = pty.readAvailable(buffer);
        got.insert(got.end(), buffer, buffer + n);
        if (n == 0)
            std::this_thread::sleep_for(2ms);
    }
    return got;
}

// Polls the port the way the link's tick does, without an event loop.
std::vector<std::uint8_t> drainPort(SerialPort& port, std::size_t want, int ms)
{
    std::vector<std::uint8_t> got;
    QElapsedTimer clock;
    clock.start();
    while (got.size() < want && clock.elapsed() < ms) {
        std::uint8_t buffer[256];
        const std::size_t n = port.readAvailable(buffer);
        got.insert(got.end(), buffer, buffer + n);
        if (n == 0)
            std::this_thread::sleep_for(2ms);
    }
    return got;
}

std::vector<std::uint8_t> allByteValues()
{
    std::vector<std::uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return bytes;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

TEST(SerialPort, MissingDeviceFailsAndTheNextOpenTriesAgain)
{
    SerialPort port;
    EXPECT_FALSE(port.open()); // no device chosen yet
    port.setDevice("/dev/kq904-no-such-port");
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.lastError().contains("kq904-no-such-port")) << port.lastError().toStdString();
    std::uint8_t buffer[4];
    EXPECT_EQ(port.readAvailable(buffer), 0u);
    EXPECT_FALSE(port.writeByte(0x3C));

    auto pty = openPty();
    ASSERT_TRUE(pty);
    port.setDevice(QString::fromStdString(pty->slavePath()));
    EXPECT_TRUE(port.open());
    EXPECT_TRUE(port.lastError().isEmpty());
}

// A pseudo-terminal has no RTS line; the open must succeed all the same. Once open, the port
// stays with its device: a new choice takes effect only at the next open after a close.
TEST(SerialPort, OpensAPseudoTerminalAndStaysWithIt)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()), 19200);
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    EXPECT_TRUE(port.isOpen());

    port.setDevice("/dev/kq904-no-such-port");
    EXPECT_TRUE(port.open());
    ASSERT_TRUE(port.writeByte(0x44));
    EXPECT_EQ(drainMaster(*pty, 1, 1000), std::vector<std::uint8_t>{0x44});
}

TEST(SerialPort, EveryByteValuePassesBothWays)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    const std::vector<std::uint8_t> all = allByteValues();

    for (std::uint8_t b : all)
        ASSERT_TRUE(port.writeByte(b));
    EXPECT_EQ(drainMaster(*pty, all.size(), 2000), all);

    ASSERT_TRUE(pty->write(all));
    EXPECT_EQ(drainPort(port, all.size(), 2000), all);
}

TEST(SerialPort, ReadTakesAtMostWhatIsAskedAndKeepsTheRest)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()));
    ASSERT_TRUE(port.open());
    std::vector<std::uint8_t> sent(300);
    for (std::size_t i = 0; i < sent.size(); ++i)
        sent[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(pty->write(sent));
    std::this_thread::sleep_for(50ms); // let the kernel pass all 300 bytes to the slave

    std::vector<std::uint8_t> first(256);
    std::size_t got = 0;
    QElapsedTimer clock;
    clock.start();
    while (got < first.size() && clock.elapsed() < 2000) {
        got += port.readAvailable(std::span(first).subspan(got));
    }
    ASSERT_EQ(got, 256u);
    const std::vector<std::uint8_t> rest = drainPort(port, 44, 2000);
    EXPECT_EQ(rest.size(), 44u);
    first.insert(first.end(), rest.begin(), rest.end());
    EXPECT_EQ(first, sent);
    std::uint8_t more[8];
    EXPECT_EQ(port.readAvailable(more), 0u);
}

// The cable is pulled while the link polls the port on its tick inside an event loop: the port
// must close (not report errors forever at full CPU), and a later transfer can open a port again.
TEST(SerialPort, PulledCableClosesThePortWithoutSpinning)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()));
    ASSERT_TRUE(port.open());

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(15);
    QObject::connect(&tick, &QTimer::timeout, [&port] {
        std::uint8_t buffer[256];
        port.readAvailable(buffer);
    });
    tick.start();

    pty->close();
    const double cpuBefore = cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuUsed = cpuSeconds() - cpuBefore;
    tick.stop();

    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.deviceLost());
    EXPECT_FALSE(port.lastError().isEmpty());
    // Spinning on the error would use the whole 0.4 s.
    EXPECT_LT(cpuUsed, 0.1) << "CPU seconds used in 0.4 s after the cable was pulled";
    EXPECT_FALSE(port.writeByte(0x3C));

    auto replacement = openPty();
    ASSERT_TRUE(replacement);
    port.setDevice(QString::fromStdString(replacement->slavePath()));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    EXPECT_FALSE(port.deviceLost());
    ASSERT_TRUE(port.writeByte(0x46));
    EXPECT_EQ(drainMaster(*replacement, 1, 1000), std::vector<std::uint8_t>{0x46});
}

// The same without any event loop: the poll itself notices the loss.
TEST(SerialPort, PulledCableIsNoticedByThePollAlone)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()));
    ASSERT_TRUE(port.open());
    pty->close();
    std::uint8_t buffer[16];
    for (int i = 0; i < 3 && port.isOpen(); ++i)
        EXPECT_EQ(port.readAvailable(buffer), 0u);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.deviceLost());
}

// The simulated radio's end holds the line while the programmer closes and reopens its port, as
// it does between runs of the command-line tool.
TEST(SerialPort, ClosingAndReopeningKeepsTheLineUsable)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    const QString device = QString::fromStdString(pty->slavePath());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        SerialPort port;
        port.setDevice(device);
        ASSERT_TRUE(port.open()) << port.lastError().toStdString();
        ASSERT_TRUE(port.writeByte(static_cast<std::uint8_t>(0xA0 + round)));
        EXPECT_EQ(drainMaster(*pty, 1, 1000),
            std::vector<std::uint8_t>{static_cast<std::uint8_t>(0xA0 + round)});
        const std::uint8_t reply[] = {0x3C, 0x3C, 0x3C, 0x02, 0x31, 0x33};
        ASSERT_TRUE(pty->write(reply));
        EXPECT_EQ(drainPort(port, 6, 1000), std::vector<std::uint8_t>(reply, reply + 6));
        port.close();
        EXPECT_FALSE(port.isOpen());
        // Between clients the master sees no hang-up it would have to poll away.
        std::uint8_t buffer[8];
        EXPECT_EQ(pty->readAvailable(buffer), 0u);
    }
}

// Nobody takes the bytes (the pseudo-terminal's queue is full): writing a frame's worth more
// costs one bounded wait, not one per byte, and the bytes go out in order once taken.
TEST(SerialPort, StalledDeviceCostsOneBoundedWait)
{
    auto pty = openPty();
    ASSERT_TRUE(pty);
    SerialPort port;
    port.setDevice(QString::fromStdString(pty->slavePath()));
    ASSERT_TRUE(port.open());

    std::vector<std::uint8_t> written;
    QElapsedTimer clock;
    clock.start();
    bool stalled = false;
    // Fill the kernel's queue until a byte cannot leave; a pty queue is a few kilobytes.
    while (!stalled && written.size() < 200000) {
        const auto b = static_cast<std::uint8_t>(written.size() * 13);
        written.push_back(b);
        stalled = !port.writeByte(b);
    }
    ASSERT_TRUE(stalled) << "the pseudo-terminal never filled up";
    const qint64 fillMs = clock.elapsed();
    EXPECT_GE(fillMs, SerialPort::kWriteWaitMs - 50);

    clock.restart();
    for (int i = 0; i < 37; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        written.push_back(b);
        port.writeByte(b);
    }
    EXPECT_LT(clock.elapsed(), 500) << "each queued byte waited again";

    // Now the radio's end reads; the port's queue drains as the link keeps polling.
    std::vector<std::uint8_t> received;
    clock.restart();
    while (received.size() < written.size() && clock.elapsed() < 5000) {
        std::uint8_t buffer[4096];
        const std::size_t n = pty->readAvailable(buffer);
        received.insert(received.end(), buffer, buffer + n);
        std::uint8_t in[64];
        port.readAvailable(in);
        if (n == 0)
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(received, written);
}
