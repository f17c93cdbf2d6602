#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Line settings handed to a serial port when it is opened.
struct SerialLineSettings {
    uint32_t bitRate = 9600;
    uint8_t dataBits = 8;
    uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool ctsFlowControl = false;
    bool dtrOn = true;
    // Ask the driver to raise RTS while it transmits and drop it after the last
    // character; a driver that cannot do so leaves RTS to SetRts (see
    // ISerialPort::DriverSwitchesRts).
    bool automaticRts = false;
};

// Time-outs in milliseconds, with the meaning of the classic serial time-out record:
// a read ends when `readInterval` passes between two bytes (counted from the first
// byte) or when readMultiplier * bytes + readConstant has passed; readInterval =
// kSerialMaxTimeout with both read values 0 returns at once with what has arrived.
// A write ends after writeMultiplier * bytes + writeConstant. Zero totals wait
// without limit.
constexpr uint32_t kSerialMaxTimeout = 0xFFFFFFFFu;

struct SerialTimeouts {
    uint32_t readInterval = kSerialMaxTimeout;
    uint32_t readMultiplier = 0;
    uint32_t readConstant = 0;
    uint32_t writeMultiplier = 0;
    uint32_t writeConstant = 0;
};

// One serial port. Results are 0 or an errno value. After Open, every member may be
// called from a worker thread while another thread calls Purge or Close: Purge
// aborts a read or write in progress (it returns ECANCELED) and Close waits for it.
// A port whose device has gone (unplugged, node removed) fails with EIO, ENXIO
// or ENODEV.
class ISerialPort {
  public:
    virtual ~ISerialPort() = default;

    // Opens an existing device exclusively.
    virtual int Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual int GetLine(SerialLineSettings& settings) = 0;
    virtual int SetLine(const SerialLineSettings& settings) = 0;
    virtual int SetTimeouts(const SerialTimeouts& timeouts) = 0;
    // True when the last SetLine asked for automatic RTS and the driver took it:
    // the driver then owns RTS and SetRts changes nothing.
    virtual bool DriverSwitchesRts() const { return false; }

    // Discards both buffers and aborts any read or write in progress.
    virtual int Purge() = 0;
    virtual int ClearErrors() = 0;
    virtual int SetRts(bool on) = 0;
    virtual int GetCts(bool& on) = 0;
    // Waits until the last character has left the transmitter, at most timeoutMs.
    virtual int Drain(uint32_t timeoutMs) = 0;

    virtual int Write(const uint8_t* buffer, size_t count, size_t* written) = 0;
    virtual int Read(uint8_t* buffer, size_t count, size_t* read) = 0;
};

// Creates the serial port a link opens; tests hand in their own.
using SerialPortFactory = std::function<std::unique_ptr<ISerialPort>()>;
