#include "link/serial_port.h"

#include <QMetaObject>

namespace kq904 {

SerialPort::SerialPort()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
        [this](QSerialPort::SerialPortError error) { onError(error); });
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
    if (port_.isOpen())
        port_.close();
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
    if (out.empty() || !settleLostDevice() || !port_.isOpen())
        return 0;
    // Without an event loop nothing moves the driver's bytes into the port's buffer; a poll
    // with a zero timeout does that without waiting.
    if (port_.bytesAvailable() == 0)
        port_.waitForReadyRead(0);
    if (!settleLostDevice())
        return 0;
    const qint64 got =
        port_.read(reinterpret_cast<char*>(out.data()), static_cast<qint64>(out.size()));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

} // namespace kq904
