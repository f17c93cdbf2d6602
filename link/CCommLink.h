#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ISerialPort.h"

// How RTS follows transmission: the driver switches it (automatic), or the
// transmit worker raises and drops it around each frame (manual).
enum class TurnaroundMode { AutomaticRts, ManualRts };

// Owns one serial port and moves raw bytes: one request frame per Send, one reply
// frame per Receive, each on a short-lived worker thread while the calling thread
// keeps the user interface alive. Knows nothing of frames or checksums.
class CCommLink {
  public:
    static constexpr std::array<uint32_t, 11> kBitRates = {110,  300,   600,   1200,  2400, 4800,
                                                           9600, 14400, 19200, 38400, 56000};
    // How long Close and the shutdown wait for a worker that is still running.
    static constexpr uint32_t kWorkerWaitMs = 5000;
    // Added to the longest time a worker may take by its settings before the
    // waiting thread gives it up.
    static constexpr uint32_t kWorkerMarginMs = 2000;
    static constexpr uint32_t kReadBufferSize = 1024;
    // Asking for this many bytes reads until the line falls silent instead.
    static constexpr uint32_t kReadUntilGapLength = 123;
    static constexpr uint32_t kCharacterGapMs = 200;
    static constexpr uint32_t kMinReplyTimeoutMs = 100;
    static constexpr uint32_t kWriteConstantMs = 250;

    explicit CCommLink(uint16_t port, SerialPortFactory portFactory = {});
    ~CCommLink();
    CCommLink(const CCommLink&) = delete;
    CCommLink& operator=(const CCommLink&) = delete;

    // The turnaround mode of every link in the process (automatic by default).
    static void SetTurnaroundMode(TurnaroundMode mode);
    static TurnaroundMode GetTurnaroundMode();
    // The mode this link's open port runs in: automatic only when its driver took
    // RS-485 mode, else the link switches RTS itself (manual).
    TurnaroundMode TurnaroundInUse() const { return m_turnaround; }

    // Stores the settings; closes and reopens the port when the port, the bit
    // rate, the CTS delay, the CTS flag or the device path changed. A bit rate
    // outside the table is ignored. Returns 0 or what Open returned.
    int32_t SetPortParms(uint16_t port, double bitRate, uint16_t ctsDelay, int ctsEnabled,
                         const std::string& devicePath = {});
    // 0 (opened, disabled or already open), the system error code, or -1 when
    // the line settings cannot be read or written.
    int32_t Open();
    int32_t Close();

    // Transmits the bytes, then waits postSendDelay ms. 0 once the worker ended,
    // -1 when none could start; failures set the send-failed flag.
    int32_t Send(uint32_t count, const uint8_t* buffer, uint32_t postSendDelay);
    // Reads up to expectedLength bytes (123: up to the capacity, ending on the
    // character gap). Returns the bytes read, 0 when the worker had to be given
    // up, -1 when none could start or the read failed (receive-failed flag set).
    int32_t Receive(uint32_t capacity, uint8_t* buffer, uint32_t expectedLength,
                    uint32_t replyTimeout);
    // Reads up to `count` more bytes of a reply already under way, waiting no
    // longer than the character gap for each. Returns the bytes read or -1 as
    // Receive does.
    int32_t ReceiveMore(uint32_t count, uint8_t* buffer);
    // 1 and both failed flags cleared when either was set, else 0.
    int CheckAndClearErrors();

    // Whole milliseconds per character at the current bit rate.
    uint32_t CharacterTime() const;
    // The device opened for the current settings: the path, or the device of COMn.
    std::string DeviceName() const;
    // "COM1" or the path, as shown to the user.
    std::string PortLabel() const;

    bool IsOpen() const { return m_open; }
    // The last Open failed (and no Close came since): the link is meant to be open.
    bool OpenFailed() const { return m_openFailed; }
    void SetPortEnabled(bool enabled) { m_portEnabled = enabled; }
    uint16_t PortNumber() const { return m_portNumber; }
    const std::string& DevicePath() const { return m_devicePath; }
    uint16_t BitRateIndex() const { return m_bitRateIndex; }
    double BitRate() const { return m_bitRate; }
    uint16_t CtsDelay() const { return m_ctsDelay; }
    bool CtsEnabled() const { return m_ctsEnabled != 0; }
    uint32_t LastSentCount() const { return m_lastSentCount; }
    uint32_t LastSystemError() const { return m_lastSystemError; }
    bool SendFailed() const { return m_sendFailed != 0; }
    bool ReceiveFailed() const { return m_receiveFailed != 0; }
    // A read or write failed because the device itself has gone (unplugged
    // adapter, removed node); the system error says how. Cleared by Open.
    bool PortGone() const { return m_portGone; }
    int PortGoneError() const { return m_portGoneError; }
    static bool IsPortGoneError(int error);

    // True while a transmit or receive worker of any link runs.
    static bool WorkersRunning();
    // Waits up to timeoutMs for each running worker (used when shutting down).
    static void WaitForWorkers(uint32_t timeoutMs);

    struct WorkerState;

  private:
    // Waits for the worker while pumping the user interface, at most boundMs
    // however many events arrive; false when it is still running after that.
    static bool WaitForWorker(WorkerState& state, const char* caller, uint64_t boundMs);
    int32_t RunReceive(uint32_t capacity, uint8_t* buffer, uint32_t toRead, uint32_t readConstant,
                       uint32_t expectedLength);
    void NoteFailure(int error);
    // Starts the worker thread on first use; 0 or the system error.
    int StartWorker();

    class CWorkerThread;
    std::unique_ptr<CWorkerThread> m_worker;

    SerialPortFactory m_portFactory;
    uint16_t m_portNumber;
    uint16_t m_bitRateIndex = 6;
    uint16_t m_dataBits = 8;
    uint16_t m_parity = 0;
    uint16_t m_stopBits = 0;
    uint16_t m_ctsDelay = 10;
    uint16_t m_ctsEnabled = 0;
    uint16_t m_portEnabled = 1;
    uint16_t m_open = 0;
    std::shared_ptr<ISerialPort> m_port;  // shared with a worker that runs late
    SerialTimeouts m_timeouts;
    uint32_t m_lastSentCount = 0;
    double m_bitRate = 0;
    uint32_t m_receiveFailed = 0;
    uint32_t m_sendFailed = 0;
    uint32_t m_lastSystemError = 0;
    std::string m_devicePath;
    TurnaroundMode m_turnaround = TurnaroundMode::AutomaticRts;
    bool m_openFailed = false;
    bool m_portGone = false;
    int m_portGoneError = 0;
};
