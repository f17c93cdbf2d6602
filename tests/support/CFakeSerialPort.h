#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ISerialPort.h"

// A serial port in memory for link and protocol tests. Every frame written is
// recorded and handed to a responder whose answer becomes readable at once; reads
// honour the read time-outs in real time (total and character gap), so a missing
// reply costs the time-out a test configured. Failures can be injected.
class CFakeSerialPort : public ISerialPort {
  public:
    using Bytes = std::vector<uint8_t>;
    using Responder = std::function<Bytes(const Bytes& request)>;

    // What a test inspects after the port is gone (the link owns the port).
    struct Record {
        std::vector<std::string> openedPaths;
        std::vector<Bytes> writes;
        std::vector<SerialTimeouts> timeouts;
        std::vector<bool> rtsChanges;
        std::vector<size_t> readRequests;  // bytes asked for by each Read
        SerialLineSettings line;
        int opens = 0;
        int closes = 0;
        int purges = 0;
        int drains = 0;
    };

    explicit CFakeSerialPort(std::shared_ptr<Record> record = std::make_shared<Record>());

    // A factory that creates fakes sharing `record` and `responder`; `configure`
    // (optional) sets each new fake up.
    static SerialPortFactory Factory(std::shared_ptr<Record> record, Responder responder,
                                     std::function<void(CFakeSerialPort&)> configure = {});

    void SetResponder(Responder responder) { m_responder = std::move(responder); }
    void SetOpenError(int error) { m_openError = error; }
    void SetLineError(int error) { m_lineError = error; }
    void SetWriteError(int error) { m_writeError = error; }
    void SetReadError(int error) { m_readError = error; }
    void SetCts(bool on) { m_cts = on; }
    // A driver that takes RS-485 mode when automatic RTS is asked for (most
    // refuse: ordinary UARTs, USB adapters, pseudo-terminals).
    void SetDriverRts(bool accepts) { m_driverAcceptsRts = accepts; }
    // A read that ignores its time-outs and ends only on Purge or Close.
    void SetReadStall(bool on);
    // A read that hangs in the driver: it ignores Purge and Close and ends only
    // when the hang is switched off again.
    void SetReadHang(bool on);
    // Bytes that arrive later, `delayMs` after the reply (to test the character gap).
    void SetLateBytes(Bytes bytes, unsigned delayMs);

    int Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    int GetLine(SerialLineSettings& settings) override;
    int SetLine(const SerialLineSettings& settings) override;
    int SetTimeouts(const SerialTimeouts& timeouts) override;
    bool DriverSwitchesRts() const override { return m_driverRts; }
    int Purge() override;
    int ClearErrors() override { return 0; }
    int SetRts(bool on) override;
    int GetCts(bool& on) override;
    int Drain(uint32_t timeoutMs) override;
    int Write(const uint8_t* buffer, size_t count, size_t* written) override;
    int Read(uint8_t* buffer, size_t count, size_t* read) override;

  private:
    std::shared_ptr<Record> m_record;
    Responder m_responder;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<uint8_t> m_input;
    Bytes m_lateBytes;
    unsigned m_lateDelayMs = 0;
    SerialTimeouts m_timeouts;
    uint64_t m_purgeGeneration = 0;
    int m_openError = 0;
    int m_lineError = 0;
    int m_writeError = 0;
    int m_readError = 0;
    bool m_cts = true;
    bool m_driverAcceptsRts = false;
    bool m_driverRts = false;
    bool m_readStall = false;
    bool m_readHang = false;
    bool m_open = false;
};
