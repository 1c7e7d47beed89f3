#include "link/serial_port.h"

#include <QMetaObject>
#include <algorithm>
#include <array>
#include <chrono>

namespace kq904 {

namespace {

std::int64_t steadyMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

SerialPort::SerialPort()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
        [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { onReadyRead(); });
}

SerialPort::~SerialPort()
{
    close();
}

void SerialPort::setDevice(const QString& device, int baudRate)
{
    device_ = device;
    baudRate_ = baudRate;
}

bool SerialPort::open()
{
    if (settleLostDevice() && port_.isOpen())
        return true;
    lastOpenError_ = QSerialPort::NoError;
    if (device_.isEmpty()) {
        lastError_ = QStringLiteral("no serial device chosen");
        return false;
    }
    port_.setPortName(device_);
    if (baudRate_ <= 0 || !port_.setBaudRate(baudRate_)) {
        lastError_ = QStringLiteral("%1: baud rate %2 not accepted").arg(device_).arg(baudRate_);
        return false;
    }
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        lastOpenError_ = port_.error();
        lastError_ = QStringLiteral("%1: %2").arg(device_, port_.errorString());
        port_.clearError();
        return false;
    }
    // RTS stays asserted while the port is open, as the radio's cable expects. A
    // pseudo-terminal or an adapter without the line refuses it; the bytes flow all the same,
    // so that is no reason to fail the open.
    port_.setRequestToSend(true);
    port_.clearError();
    lastError_.clear();
    closeRequested_ = false;
    deviceLost_ = false;
    return true;
}

bool SerialPort::isOpen() const
{
    return port_.isOpen() && !closeRequested_;
}

void SerialPort::close()
{
    closeRequested_ = false;
    arrived_.clear();
    if (port_.isOpen())
        port_.close();
}

void SerialPort::setArrivalHandler(std::function<void()> handler)
{
    arrivalHandler_ = std::move(handler);
}

void SerialPort::takeFromDevice()
{
    if (!port_.isOpen() || closeRequested_)
        return;
    std::array<char, 512> chunk;
    for (;;) {
        const qint64 got = port_.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got <= 0)
            break;
        const std::int64_t at = steadyMicroseconds();
        for (qint64 i = 0; i < got; ++i)
            arrived_.push_back({static_cast<std::uint8_t>(chunk[static_cast<std::size_t>(i)]), at});
    }
}

void SerialPort::onReadyRead()
{
    takeFromDevice();
    if (!arrived_.empty())
        postArrival();
}

void SerialPort::postArrival()
{
    // readyRead also comes from inside a write that waits for its byte to leave; the handler
    // runs once control is back in the event loop, and once for any number of readyReads.
    if (!arrivalHandler_ || arrivalPosted_)
        return;
    arrivalPosted_ = true;
    QMetaObject::invokeMethod(
        &port_,
        [this] {
            arrivalPosted_ = false;
            if (arrivalHandler_ && !arrived_.empty())
                arrivalHandler_();
        },
        Qt::QueuedConnection);
}

void SerialPort::onError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return; // time-outs of the never-waiting poll, refused RTS and the like
    if (closeRequested_ || !port_.isOpen())
        return;
    // Closing from inside the driver's own error report is not safe, so the close runs as soon
    // as control is back: at the next call into this port or from the event loop, whichever
    // comes first. isOpen() already answers false meanwhile.
    closeRequested_ = true;
    deviceLost_ = true;
    lastError_ = QStringLiteral("%1: %2").arg(device_, port_.errorString());
    QMetaObject::invokeMethod(
        &port_, [this] { settleLostDevice(); }, Qt::QueuedConnection);
}

bool SerialPort::settleLostDevice()
{
    if (!closeRequested_)
        return true;
    close();
    return false;
}

bool SerialPort::writeByte(std::uint8_t byte)
{
    if (!settleLostDevice() || !port_.isOpen())
        return false;
    const bool earlierBytePending = port_.bytesToWrite() > 0;
    const char c = static_cast<char>(byte);
    if (port_.write(&c, 1) != 1)
        return false;
    // Behind a byte that is still waiting, only try to move the queue along; the device has
    // already had its chance to take bytes within the bounded wait.
    port_.waitForBytesWritten(earlierBytePending ? 0 : kWriteWaitMs);
    return settleLostDevice() && port_.bytesToWrite() == 0;
}

std::size_t SerialPort::readAvailable(std::span<std::uint8_t> out)
{
    return readAvailableTimed(out, {});
}

std::size_t SerialPort::readAvailableTimed(
    std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs)
{
    if (out.empty() || !settleLostDevice() || !port_.isOpen())
        return 0;
    if (arrived_.empty()) {
        // Without an event loop nothing moves the driver's bytes into the port's buffer; a
        // poll with a zero timeout does that without waiting.
        if (port_.bytesAvailable() == 0)
            port_.waitForReadyRead(0);
        if (!settleLostDevice())
            return 0;
        takeFromDevice();
    }
    const std::size_t n = std::min(out.size(), arrived_.size());
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = arrived_.front().byte;
        if (i < arrivedUs.size())
            arrivedUs[i] = arrived_.front().atUs;
        arrived_.pop_front();
    }
    if (!arrived_.empty())
        postArrival();
    return n;
}

} // namespace kq904
