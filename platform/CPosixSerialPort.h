#pragma once

#include <linux/serial.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "platform/ISerialPort.h"

// A serial device through termios: exclusive, raw, any bit rate (custom rates
// through the kernel's arbitrary-rate interface), time-outs emulated with poll.
class CPosixSerialPort : public ISerialPort {
  public:
    // Appended to the open failure text when the device refuses access.
    static const char* const kAccessRemedy;

    CPosixSerialPort();
    ~CPosixSerialPort() override;
    CPosixSerialPort(const CPosixSerialPort&) = delete;
    CPosixSerialPort& operator=(const CPosixSerialPort&) = delete;

    int Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override;

    int GetLine(SerialLineSettings& settings) override;
    int SetLine(const SerialLineSettings& settings) override;
    int SetTimeouts(const SerialTimeouts& timeouts) override;

    int Purge() override;
    int ClearErrors() override;
    int SetRts(bool on) override;
    int GetCts(bool& on) override;
    int Drain(uint32_t timeoutMs) override;

    int Write(const uint8_t* buffer, size_t count, size_t* written) override;
    int Read(uint8_t* buffer, size_t count, size_t* read) override;

    // True when the driver switches RTS itself (automatic RTS accepted).
    bool DriverSwitchesRts() const override { return m_driverRts; }

  private:
    // Waits for the port to become readable or writable, or for Purge/Close.
    // Returns 1 ready, 0 timed out, or -errno (-ECANCELED when aborted).
    int WaitFor(short events, int timeoutMs, uint64_t generation);
    bool Aborted(uint64_t generation) const;
    int ModemBits(unsigned long request, int bits);
    // A failed (or empty) read or write on a device whose node has gone is ENODEV.
    int Gone(int error) const;

    mutable std::shared_mutex m_closeMutex;  // held shared by every operation, unique by Close
    std::atomic<int> m_fd{-1};
    int m_wakeFd = -1;  // eventfd that wakes a waiting read or write
    std::atomic<uint64_t> m_generation{0};
    std::atomic<bool> m_closing{false};
    std::atomic<int> m_waiters{0};  // reads and writes waiting in poll
    std::atomic<bool> m_driverRts{false};
    std::string m_path;  // of the open device
    std::mutex m_timeoutMutex;
    SerialTimeouts m_timeouts;
};

namespace platform {
// The device of a classic port number: COM1 is /dev/ttyS0.
std::string ComPortDevice(unsigned portNumber);
// Sets a bit rate that may have no Bnnn constant; 0 or errno.
int SetCustomBitRate(int fd, uint32_t bitRate);

// One RS-485 configuration call on the device: TIOCGRS485 or TIOCSRS485 with the
// record (the driver writes back what it set). 0 or errno.
using Rs485Call = std::function<int(unsigned long request, serial_rs485& config)>;
// Asks the driver to switch RTS around each transmission: first with RTS on while
// sending, then with the other polarity. Returns the flags the driver took, or 0
// when it has no RS-485 mode or refused both (RS-485 mode is then left off).
uint32_t RequestDriverRts(const Rs485Call& call);
}  // namespace platform
