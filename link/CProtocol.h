#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ISerialPort.h"

class CCommLink;

// Port settings handed from the settings store to the link.
struct PortSettings {
    uint16_t port = 1;       // COMn
    double bitRate = 9600;   // bit/s
    uint16_t ctsDelay = 25;  // ms
    bool ctsEnabled = true;  // hardware CTS handshake
    std::string devicePath;  // when set, opened instead of the device of COMn
};

// Request timing and device identity, set in one call.
struct LinkScheduling {
    uint8_t manufacturerId = 38;
    uint8_t transmitterId = 31;
    uint32_t retries = 3;
    uint32_t extraCommandTime = 0;  // "BusyDelay", ms
    uint32_t interpollDelay = 0;    // ms
    uint32_t pollInterval = 2000;   // ms, stored only
    uint32_t replyTimeout = 0;      // ms
};

// Register groups that the command layer reads once and then serves from the image.
enum class CacheGroup {
    IdentityBlock,  // registers 0..58
    Register10,
    UnitsCodes,      // 59..61
    PresentValues,   // 400..405
    RangesBlock,     // 412..453
    EndpointsSet,    // 187..192, 468..479
    ScaleFactorSet,  // 124, 197..202
    Count
};

// Modbus RTU master for one selected slave: frames requests, runs each exchange
// with retries over its link, checks replies and keeps the register image.
class CProtocol {
  public:
    static constexpr uint8_t kNoDevice = 255;
    static constexpr size_t kBufferSize = 1024;

    explicit CProtocol(SerialPortFactory portFactory = {});
    ~CProtocol();
    CProtocol(const CProtocol&) = delete;
    CProtocol& operator=(const CProtocol&) = delete;

    // Stores the values; no I/O.
    void SetLinkScheduling(const LinkScheduling& scheduling);
    const LinkScheduling& Scheduling() const { return m_scheduling; }
    // Stores the bit rate and hands the settings to the link (which reopens the
    // port when one of them changed). Returns 0 or what the link's Open returned.
    int32_t SetPortSettings(const PortSettings& settings);
    int32_t Open();
    // Device address 255, every cache flag cleared, float format 0.
    void ResetDevice();
    // ResetDevice, then closes and destroys the link.
    void Close();
    bool HasLink() const { return m_link != nullptr; }
    // The port itself has gone (see CCommLink::PortGone).
    bool PortGone() const;
    CCommLink* Link() { return m_link.get(); }

    // One request/response exchange; returns 0 or an error number.
    int32_t SendPoll(uint8_t address, uint8_t function, uint16_t start, uint16_t quantityOrValue,
                     const uint8_t* data, bool allowRetries);

    // 1: a Corvel with Modbus protocol answered, 2: another device, 0: no exchange.
    int Identify(uint8_t address);
    int SelectDevice(uint8_t address);
    uint8_t DeviceAddress() const { return m_deviceAddress; }

    // Register image. Registers below 400 and above 480 in host order; the
    // byte-string registers 31..58 and 118..123 hold their two wire bytes, first
    // byte first, in RegisterBytes.
    uint16_t Register(uint16_t address) const;
    std::array<uint8_t, 2> RegisterBytes(uint16_t address) const;
    float Float(uint16_t address) const;   // the pair address, address+1 (400..480)
    uint32_t Bit(uint16_t address) const;  // coils 0..74

    uint16_t FloatFormat() const { return m_floatFormat; }
    void SetFloatFormat(uint16_t format) { m_floatFormat = format; }

    bool CacheValid(CacheGroup group) const { return m_cacheValid[static_cast<size_t>(group)]; }
    void SetCacheValid(CacheGroup group, bool valid) {
        m_cacheValid[static_cast<size_t>(group)] = valid;
    }

    // Byte order of an IEEE single on the wire for float formats 0..3 (above 3 as 0).
    static void EncodeFloat(float value, uint16_t format, uint8_t out[4]);
    static float DecodeFloat(const uint8_t in[4], uint16_t format);

    // Exchanges started by SendPoll since construction (each try counts once);
    // lets tests count the traffic that an operation causes.
    uint64_t ExchangeCount() const { return m_exchangeCount; }
    // Write requests (functions 5, 6, 15 and 16) put on the line since
    // construction, whatever their outcome: a view of the transmitter's
    // configuration read before the last of them may no longer hold.
    uint64_t WriteRequestCount() const { return m_writeRequestCount; }

    // The last request frame built and the last reply received (for tests and the trace).
    const uint8_t* RequestBuffer() const { return m_request.data(); }
    uint32_t RequestLength() const { return m_requestLength; }
    const uint8_t* ReplyBuffer() const { return m_reply.data(); }
    int32_t ReceivedLength() const { return m_receivedLength; }
    bool ReplyOffset() const { return m_replyOffset; }
    uint16_t ExpectedReplyLength() const { return m_expectedReplyLength; }
    // The result of the last SendPoll (Identify and SelectDevice report only 0/1/2).
    int32_t LastError() const { return m_lastError; }
    // The pause between two tries of a failed request.
    static constexpr uint32_t kRetryPauseMs = 500;

  private:
    bool IsByteStringRegister(uint16_t address) const;
    // Completes a reply that began one byte late by reading its last byte.
    void TakeMissingByte(uint8_t address);
    // Input registers 0 and 1 of the last reply hold the configured identity pair.
    bool IsExpectedIdentity() const;
    void StoreReply(size_t offset);
    CCommLink& EnsureLink();

    // Fields as the design lists them; the implementation may add private helpers.
    SerialPortFactory m_portFactory;
    std::unique_ptr<CCommLink> m_link;
    uint8_t m_deviceAddress = kNoDevice;
    bool m_replyOffset = false;
    uint16_t m_expectedReplyLength = 0;
    uint32_t m_replyTimeout = 1;
    uint32_t m_postSendDelay = 0;
    uint8_t m_functionCode = 0;
    uint16_t m_startAddress = 0;
    uint16_t m_bitQuantity = 0;
    uint16_t m_registerQuantity = 0;
    uint32_t m_requestLength = 0;
    std::array<uint8_t, kBufferSize> m_request{};
    int32_t m_receivedLength = 0;
    std::array<uint8_t, kBufferSize> m_reply{};
    std::array<uint32_t, 75> m_bits{};
    std::array<uint16_t, 500> m_registers{};
    std::array<float, 41> m_floats{};
    double m_bitRate = 0;
    LinkScheduling m_scheduling;
    uint16_t m_floatFormat = 0;
    std::array<bool, static_cast<size_t>(CacheGroup::Count)> m_cacheValid{};
    uint64_t m_exchangeCount = 0;
    uint64_t m_writeRequestCount = 0;
    int32_t m_lastError = 0;
};
