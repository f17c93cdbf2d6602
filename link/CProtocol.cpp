#include "link/CProtocol.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "link/ModbusFrame.h"
#include "platform/UiServices.h"

namespace {

constexpr uint16_t kFirstFloatRegister = 400;
constexpr uint16_t kLastFloatRegister = 480;
constexpr uint16_t kIdentityStart = 0;
constexpr uint16_t kIdentityCount = 2;
constexpr uint16_t kFormatBlockStart = 128;
constexpr uint16_t kFormatBlockCount = 4;
constexpr uint16_t kFloatFormatRegister = 131;
constexpr uint8_t kReadInputRegisters = 4;

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Marks the link busy (and shows the wait cursor) for one transaction.
class CBusyScope {
  public:
    CBusyScope() { Ui().SetLinkBusy(true); }
    ~CBusyScope() { Ui().SetLinkBusy(false); }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;

  private:
    CWaitCursor m_waitCursor;
};

// Wire position of each byte A (most significant) .. D of an IEEE single.
constexpr uint8_t kWireOrder[4][4] = {
    {0, 1, 2, 3},  // A B C D
    {2, 3, 0, 1},  // C D A B
    {3, 2, 1, 0},  // D C B A
    {1, 0, 3, 2},  // B A D C
};

}  // namespace

CProtocol::CProtocol(SerialPortFactory portFactory)
    : m_portFactory(std::move(portFactory)),
      m_link(std::make_unique<CCommLink>(1, m_portFactory)) {}

CProtocol::~CProtocol() = default;

CCommLink& CProtocol::EnsureLink() {
    if (!m_link) m_link = std::make_unique<CCommLink>(1, m_portFactory);
    return *m_link;
}

void CProtocol::SetLinkScheduling(const LinkScheduling& scheduling) { m_scheduling = scheduling; }

int32_t CProtocol::SetPortSettings(const PortSettings& settings) {
    m_bitRate = settings.bitRate;
    return EnsureLink().SetPortParms(settings.port, settings.bitRate, settings.ctsDelay,
                                     settings.ctsEnabled ? 1 : 0, settings.devicePath);
}

int32_t CProtocol::Open() { return EnsureLink().Open(); }

bool CProtocol::PortGone() const { return m_link && m_link->PortGone(); }

void CProtocol::ResetDevice() {
    m_deviceAddress = kNoDevice;
    m_cacheValid.fill(false);
    m_floatFormat = 0;
}

void CProtocol::Close() {
    ResetDevice();
    if (m_link) {
        m_link->Close();
        m_link.reset();
    }
}

int32_t CProtocol::SendPoll(uint8_t address, uint8_t function, uint16_t start,
                            uint16_t quantityOrValue, const uint8_t* data, bool allowRetries) {
    const uint32_t retries = allowRetries ? m_scheduling.retries : 0;
    m_functionCode = function;
    m_startAddress = start;
    m_bitQuantity = (function == 1 || function == 2) ? quantityOrValue : 0;
    m_registerQuantity = (function == 3 || function == 4) ? quantityOrValue : 0;

    const modbus::RequestCheck check =
        modbus::CheckRequest(function, start, quantityOrValue, m_scheduling.extraCommandTime);
    m_expectedReplyLength = check.expectedLength;
    m_postSendDelay = check.postSendDelay;
    if (check.error != 0) return m_lastError = check.error;
    if (function == 16 && quantityOrValue > 0 && data == nullptr) {
        m_expectedReplyLength = 0;
        return m_lastError = commerr::kIllegalValue;
    }
    if (!m_link) return m_lastError = commerr::kLinkFailure;

    CBusyScope busy;
    if (m_scheduling.interpollDelay > 0) SleepMs(m_scheduling.interpollDelay);
    m_requestLength = static_cast<uint32_t>(
        modbus::BuildRequest(m_request.data(), address, function, start, quantityOrValue, data));
    m_replyTimeout = m_scheduling.replyTimeout + 1;
    if (function == 5 || function == 6 || function == 15 || function == 16) ++m_writeRequestCount;

    int32_t error = 0;
    size_t offset = 0;
    for (uint32_t attempt = 0; attempt <= retries; ++attempt) {
        ++m_exchangeCount;
        m_link->Send(m_requestLength, m_request.data(), m_postSendDelay);
        if (m_link->CheckAndClearErrors()) {
            error = commerr::kLinkFailure;
        } else {
            m_receivedLength =
                m_link->Receive(static_cast<uint32_t>(m_reply.size()), m_reply.data(),
                                m_expectedReplyLength, m_replyTimeout);
            bool failed = m_link->CheckAndClearErrors() != 0 || m_receivedLength < 0;
            if (!failed) {
                TakeMissingByte(address);
                failed = m_link->CheckAndClearErrors() != 0;
            }
            if (failed) {
                error = commerr::kLinkFailure;
            } else {
                error = modbus::CheckReply(m_reply.data(), static_cast<size_t>(m_receivedLength),
                                           address, m_expectedReplyLength, offset);
            }
        }
        if (error == 0) break;
        if (error >= commerr::kIllegalFunction && error <= commerr::kIllegalValue) break;
        if (m_link->PortGone()) break;  // no try can reach the device now
        if (attempt < retries) SleepMs(kRetryPauseMs);
    }
    if (error == 0) {
        m_replyOffset = offset != 0;
        StoreReply(offset);
    }
    return m_lastError = error;
}

void CProtocol::TakeMissingByte(uint8_t address) {
    // A reply that began one byte late filled the expected length one byte
    // short of its end; the read for up to the character gap stopped there.
    const auto got = static_cast<uint32_t>(m_receivedLength);
    if (got < 3 || got != m_expectedReplyLength || got >= m_reply.size()) return;
    if (m_expectedReplyLength == CCommLink::kReadUntilGapLength) return;
    if (m_reply[0] == address || m_reply[1] != address) return;
    if (m_reply[2] & 0x80) return;  // an exception reply is five bytes: it is all there
    const int32_t more = m_link->ReceiveMore(1, m_reply.data() + got);
    if (more > 0) m_receivedLength += more;
}

bool CProtocol::IsByteStringRegister(uint16_t address) const {
    return (address >= 31 && address <= 58) || (address >= 118 && address <= 123);
}

void CProtocol::StoreReply(size_t offset) {
    const uint8_t* data = m_reply.data() + offset + 3;
    switch (m_functionCode) {
        case 1:
        case 2:
            if (m_bitQuantity > 0 && m_startAddress < m_bits.size())
                m_bits[m_startAddress] = data[0] & 1;
            break;
        case 3:
        case 4: {
            const uint32_t end = uint32_t{m_startAddress} + m_registerQuantity;
            uint32_t address = m_startAddress;
            while (address < end) {
                if (address >= kFirstFloatRegister && address <= kLastFloatRegister) {
                    // A float needs both registers of its pair in this reply.
                    if (address + 1 >= end) break;
                    m_floats[(address - kFirstFloatRegister) / 2] =
                        DecodeFloat(data, m_floatFormat);
                    address += 2;
                    data += 4;
                } else {
                    if (IsByteStringRegister(static_cast<uint16_t>(address))) {
                        std::memcpy(&m_registers[address], data, 2);
                    } else {
                        m_registers[address] = static_cast<uint16_t>((data[0] << 8) | data[1]);
                    }
                    address += 1;
                    data += 2;
                }
            }
            break;
        }
        default:
            break;
    }
}

bool CProtocol::IsExpectedIdentity() const {
    // The identity pair is the low byte of input registers 0 and 1.
    return (Register(0) & 0xFF) == m_scheduling.manufacturerId &&
           (Register(1) & 0xFF) == m_scheduling.transmitterId;
}

int CProtocol::Identify(uint8_t address) {
    if (SendPoll(address, kReadInputRegisters, kIdentityStart, kIdentityCount, nullptr, false) != 0)
        return 0;
    return IsExpectedIdentity() ? 1 : 2;
}

int CProtocol::SelectDevice(uint8_t address) {
    if (address == m_deviceAddress) return 1;
    if (SendPoll(address, kReadInputRegisters, kIdentityStart, kIdentityCount, nullptr, true) != 0)
        return 0;
    if (!IsExpectedIdentity()) {
        ResetDevice();
        return 2;
    }
    // Another device's cached groups must not be served for this one.
    ResetDevice();
    m_deviceAddress = address;
    if (SendPoll(address, kReadInputRegisters, kFormatBlockStart, kFormatBlockCount, nullptr,
                 true) == 0) {
        m_floatFormat = Register(kFloatFormatRegister);
    } else {
        m_floatFormat = 0;
    }
    return 1;
}

uint16_t CProtocol::Register(uint16_t address) const {
    return address < m_registers.size() ? m_registers[address] : 0;
}

std::array<uint8_t, 2> CProtocol::RegisterBytes(uint16_t address) const {
    std::array<uint8_t, 2> bytes{};
    if (address >= m_registers.size()) return bytes;
    if (IsByteStringRegister(address)) {
        std::memcpy(bytes.data(), &m_registers[address], 2);
    } else {
        bytes[0] = static_cast<uint8_t>(m_registers[address] >> 8);
        bytes[1] = static_cast<uint8_t>(m_registers[address] & 0xFF);
    }
    return bytes;
}

float CProtocol::Float(uint16_t address) const {
    if (address < kFirstFloatRegister || address > kLastFloatRegister + 1) return 0.0f;
    return m_floats[(address - kFirstFloatRegister) / 2];
}

uint32_t CProtocol::Bit(uint16_t address) const {
    return address < m_bits.size() ? m_bits[address] : 0;
}

void CProtocol::EncodeFloat(float value, uint16_t format, uint8_t out[4]) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const uint8_t abcd[4] = {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                             static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)};
    const auto& order = kWireOrder[format <= 3 ? format : 0];
    for (int i = 0; i < 4; ++i) out[i] = abcd[order[i]];
}

float CProtocol::DecodeFloat(const uint8_t in[4], uint16_t format) {
    const auto& order = kWireOrder[format <= 3 ? format : 0];
    uint8_t abcd[4] = {};
    for (int i = 0; i < 4; ++i) abcd[order[i]] = in[i];
    const uint32_t bits =
        (uint32_t{abcd[0]} << 24) | (uint32_t{abcd[1]} << 16) | (uint32_t{abcd[2]} << 8) | abcd[3];
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
