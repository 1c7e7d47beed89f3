#pragma once
// The serial line to the radio on QtSerialPort: the chosen baud rate, 8 data bits, no parity,
// one stop bit, RTS asserted where the device has the line. Opened by the first transfer and
// kept open; nothing in it waits for bytes that have not arrived, and a write waits at most
// 1000 ms for its byte to leave.
//
// A device that goes away (USB adapter pulled, the far end of a pseudo-terminal closed) makes
// the driver report errors on every poll; the port is then closed, so the program neither
// spins nor hangs, and the next transfer opens it afresh.
//
// Received bytes are taken from the device as they arrive (readyRead, from the event loop) and
// kept with the moment they came in until the link asks for them; without an event loop a read
// polls the device itself. An arrival handler (fast transfer) is told about new bytes from the
// event loop, never from inside a call into the port, so the link is not re-entered while it
// writes.

#include <QSerialPort>
#include <QString>
#include <deque>
#include <functional>

#include "link/byte_transport.h"

namespace kq904 {

class SerialPort final : public ByteTransport {
public:
    static constexpr int kDefaultBaudRate = 19200;
    static constexpr int kWriteWaitMs = 1000;

    SerialPort();
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The device (a path, or a name QSerialPort knows such as "COM3") and baud rate for the next
    // open. A port that is already open keeps the ones it was opened with.
    void setDevice(const QString& device, int baudRate = kDefaultBaudRate);
    QString device() const { return device_; }
    int baudRate() const { return baudRate_; }

    // Opens and configures the device; true at once when the port is already open.
    bool open() override;
    bool isOpen() const override;
    void close();

    // Writes one byte and waits at most 1000 ms for it to leave. While an earlier byte is still
    // waiting for a stalled device, later bytes queue behind it without another wait, so a
    // stalled device costs one wait, not one per byte of a frame.
    bool writeByte(std::uint8_t byte) override;
    // Copies what has already been received, at most out.size() bytes; never waits.
    std::size_t readAvailable(std::span<std::uint8_t> out) override;
    std::size_t readAvailableTimed(
        std::span<std::uint8_t> out, std::span<std::int64_t> arrivedUs) override;

    void setArrivalHandler(std::function<void()> handler) override;

    // Why the last open failed, or why the port was closed by a device error; empty otherwise.
    QString lastError() const { return lastError_; }
    // True when the port was closed because its device went away.
    bool deviceLost() const { return deviceLost_; }
    // What the driver reported when the last open failed; NoError after a good open.
    QSerialPort::SerialPortError lastOpenError() const { return lastOpenError_; }

private:
    void onError(QSerialPort::SerialPortError error);
    // Moves what the device has received into arrived_, stamped with the time now.
    void takeFromDevice();
    void onReadyRead();
    void postArrival();
    // Closes the port if a device error asked for it; true when the port is (still) usable.
    bool settleLostDevice();

    QSerialPort port_;
    QString device_;
    int baudRate_ = kDefaultBaudRate;
    QString lastError_;
    QSerialPort::SerialPortError lastOpenError_ = QSerialPort::NoError;
    bool closeRequested_ = false;
    bool deviceLost_ = false;

    struct ArrivedByte {
        std::uint8_t byte;
        std::int64_t atUs;
    };
    std::deque<ArrivedByte> arrived_;
    std::function<void()> arrivalHandler_;
    bool arrivalPosted_ = false;
};

} // namespace kq904
