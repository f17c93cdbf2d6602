#include "transmitter/CComm.h"

#include <algorithm>
#include <cstring>

#include "link/CPortGoneException.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/UnitsTranslation.h"

namespace {

constexpr uint8_t kReadCoils = 1;
constexpr uint8_t kReadHolding = 3;
constexpr uint8_t kReadInput = 4;
constexpr uint8_t kWriteCoil = 5;
constexpr uint8_t kWriteMultiple = 16;

// Register map.
constexpr uint16_t kRegIdentityBlock = 0;
constexpr uint16_t kIdentityBlockCount = 59;
constexpr uint16_t kRegRevision = 2;
constexpr uint16_t kRegSensorRevision = 3;
constexpr uint16_t kRegSensorSerial = 4;
constexpr uint16_t kRegTransmitterSerial = 6;
constexpr uint16_t kRegPreambles = 8;
constexpr uint16_t kRegHardwareRevision = 9;
constexpr uint16_t kReg10 = 10;
constexpr uint16_t kRegPollingAddress = 15;
constexpr uint16_t kRegSensorIdentity = 16;
constexpr uint16_t kRegCodes = 21;
constexpr uint16_t kRegDay = 29;
constexpr uint16_t kRegMonthYear = 30;
constexpr uint16_t kRegTag = 31;
constexpr uint16_t kRegDescriptor = 35;
constexpr uint16_t kRegMessage = 43;
constexpr uint16_t kRegUnits = 59;
constexpr uint16_t kRegStatus = 118;
constexpr uint16_t kRegCounts = 124;
constexpr uint16_t kRegLcd = 125;
constexpr uint16_t kRegCommunication = 128;
constexpr uint16_t kReg130 = 130;
constexpr uint16_t kRegFloatFormat = 131;
constexpr uint16_t kRegEndpointIntegers = 187;
constexpr uint16_t kRegScaleFactors = 197;
constexpr uint16_t kRegScalingMethod = 203;
constexpr uint16_t kRegPresentValues = 400;
constexpr uint16_t kRegRanges = 412;
constexpr uint16_t kRangesCount = 42;
constexpr uint16_t kRegFixedTemperature = 454;
constexpr uint16_t kRegEndpointPvs = 468;

uint16_t UpperRangeLimitReg(int v) { return static_cast<uint16_t>(412 + 8 * v); }
uint16_t LowerRangeLimitReg(int v) { return static_cast<uint16_t>(414 + 8 * v); }
uint16_t LowerOperatingLimitReg(int v) { return static_cast<uint16_t>(416 + 8 * v); }
uint16_t UpperOperatingLimitReg(int v) { return static_cast<uint16_t>(418 + 8 * v); }
uint16_t OffsetTrimReg(int v) { return static_cast<uint16_t>(436 + 6 * v); }
uint16_t SlopeTrimReg(int v) { return static_cast<uint16_t>(438 + 6 * v); }
uint16_t DampingReg(int v) { return static_cast<uint16_t>(440 + 6 * v); }

// Error numbers raised here that the link layer does not name.
constexpr int32_t kWrongByteCount = 12;
constexpr int32_t kInvalidEmsWriteSize = 49;
constexpr int32_t kCommandNotSupported = 53;
// Transport result of a legacy request that found the device offline.
constexpr int32_t kLegacyOffline = 23;

constexpr size_t kTagLength = 8;
constexpr size_t kDescriptorLength = 16;
constexpr size_t kMessageLength = 32;
constexpr size_t kStatusLength = 6;

// Builds the data of a function 16 request in wire order.
class CWireData {
  public:
    explicit CWireData(uint16_t floatFormat) : m_floatFormat(floatFormat) {}

    CWireData& Word(uint16_t value) {
        m_bytes.push_back(static_cast<uint8_t>(value >> 8));
        m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        return *this;
    }
    CWireData& Float(double value) {
        uint8_t out[4];
        CProtocol::EncodeFloat(static_cast<float>(value), m_floatFormat, out);
        m_bytes.insert(m_bytes.end(), out, out + 4);
        return *this;
    }
    // The text cut or padded with zeros to `length` bytes (an even number).
    CWireData& Text(const std::string& text, size_t length) {
        for (size_t i = 0; i < length; ++i)
            m_bytes.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

  private:
    uint16_t m_floatFormat;
    std::vector<uint8_t> m_bytes;
};

struct LegacyCommand {
    size_t requestSize;
    size_t replySize;
    std::map<int, int32_t> subCodes;
};

const std::map<int, LegacyCommand>& LegacyCommands() {
    static const std::map<int, LegacyCommand> kCommands = {
        {2, {0, 10, {}}},
        {15, {0, 19, {}}},
        {35,
         {9,
          11,
          {{2, 16}, {5, 12}, {7, 13}, {9, 26}, {10, 25}, {11, 28}, {12, 27}, {13, 29}, {14, 30}}}},
        {36, {0, 2, {{7, 13}, {9, 20}, {10, 21}, {14, 30}}}},
        {37, {0, 2, {{7, 13}, {9, 20}, {10, 21}, {14, 31}}}},
        {40, {4, 6, {{3, 32}, {4, 33}, {5, 12}, {7, 13}, {11, 14}}}},
        {45, {4, 6, {{3, 32}, {4, 33}, {5, 12}, {7, 13}, {9, 15}, {11, 14}}}},
        {46, {4, 6, {{3, 32}, {4, 33}, {5, 12}, {7, 13}, {9, 15}, {11, 14}}}},
        {47, {1, 3, {{2, 19}, {5, 12}, {7, 13}}}},
        {51, {4, 6, {{2, 17}, {5, 12}, {7, 13}}}},
        {59, {1, 3, {{3, 34}, {4, 35}, {5, 12}, {7, 13}}}},
        {109, {1, 3, {{2, 37}, {5, 12}, {7, 13}}}},
        {163, {1, 11, {{2, 51}, {3, 51}, {5, 12}}}},
        {164, {9, 11, {{2, 51}, {3, 51}, {5, 12}, {7, 13}}}},
        {165, {25, 27, {{5, 12}, {7, 13}}}},
        {166, {1, 27, {{5, 12}}}},
    };
    return kCommands;
}

// Legacy data carries floats high byte first.
void PutFloatBigEndian(std::vector<uint8_t>& out, float value) {
    uint8_t bytes[4];
    CProtocol::EncodeFloat(value, 0, bytes);
    out.insert(out.end(), bytes, bytes + 4);
}

// Transmitter status texts, in the order the status dialog lists them.
struct StatusBit {
    uint8_t bit;
    unsigned textId;
};
constexpr StatusBit kStatusBits[] = {
    {0x80, 370}, {0x01, 377}, {0x02, 376}, {0x04, 375},
    {0x08, 374}, {0x10, 373}, {0x20, 372}, {0x40, 371},
};
constexpr uint8_t kStatusConfigChanged = 0x40;
constexpr uint8_t kStatusMoreInfo = 0x10;
constexpr unsigned kNoStatusInfoText = 378;

}  // namespace

// Marks the link busy (and shows the wait cursor) for one exchange.
class CComm::CBusy {
  public:
    CBusy() { Ui().SetLinkBusy(true); }
    ~CBusy() { Ui().SetLinkBusy(false); }
    CBusy(const CBusy&) = delete;
    CBusy& operator=(const CBusy&) = delete;

  private:
    CWaitCursor m_wait;
};

CComm::CComm() { m_pollingAddresses.fill(kUnsetPollingAddress); }

CComm::~CComm() = default;

// ---------------------------------------------------------------------------
// Protocol lifetime and device selection

CProtocol& CComm::CreateProtocol(SerialPortFactory portFactory) {
    DestroyProtocol();
    m_protocol = std::make_unique<CProtocol>(std::move(portFactory));
    return *m_protocol;
}

CProtocol& CComm::Protocol() {
    if (!m_protocol) RaiseCommError(commerr::kOffline);
    return *m_protocol;
}

void CComm::Disconnect() {
    m_slot = kNoSlot;
    if (m_protocol) m_protocol->Close();
}

void CComm::DestroyProtocol() {
    m_slot = kNoSlot;
    if (m_protocol) m_protocol->Close();
    m_protocol.reset();
}

int CComm::IdentifyDevice(uint8_t address) {
    CProtocol& protocol = Protocol();
    int result;
    {
        CBusy busy;
        result = protocol.Identify(address);
    }
    ThrowIfPortGone();
    // A probe while another transmitter is connected leaves that connection's
    // slot alone, so its polling address stays right.
    const bool otherConnected = m_slot != kNoSlot && protocol.DeviceAddress() != address;
    if (result == 1 && !otherConnected) {
        m_pollingAddresses[1] = address;
        m_slotIdentity[1] = {protocol.Scheduling().manufacturerId,
                             protocol.Scheduling().transmitterId};
    } else if (result == 2) {
        ResetDevice();
    }
    return result;
}

int CComm::SelectDevice(uint8_t address) {
    CProtocol& protocol = Protocol();
    int result;
    {
        CBusy busy;
        result = protocol.SelectDevice(address);
    }
    ThrowIfPortGone();
    if (result == 1) {
        // A different transmitter has not had its tag read yet.
        if (m_slot == kNoSlot || m_pollingAddresses[1] != address) m_tags[1].fill('\0');
        m_slot = 1;
        m_pollingAddresses[1] = address;
        m_slotIdentity[1] = {protocol.Scheduling().manufacturerId,
                             protocol.Scheduling().transmitterId};
        m_slotFlags[1] = kSelectedFlag;
    } else if (result == 2) {
        ResetDevice();
        RaiseCommError(commerr::kNotCorvel);
    }
    return result;
}

void CComm::ResetDevice() {
    m_slot = kNoSlot;
    m_integerScalingMethod = 0;
    if (m_protocol) m_protocol->ResetDevice();
}

bool CComm::IsDeviceSelected() const {
    return m_protocol && m_protocol->DeviceAddress() != CProtocol::kNoDevice;
}

int CComm::CurrentPollingAddress() const {
    if (m_slot == kNoSlot) return -1;
    return m_pollingAddresses[m_slot];
}

std::string CComm::CurrentTag() const {
    if (m_slot == kNoSlot) return texts::kNoTag;
    return std::string(m_tags[m_slot].data());
}

// ---------------------------------------------------------------------------
// Exchange helpers

void CComm::RequireDevice() const {
    if (!IsDeviceSelected()) RaiseCommError(commerr::kOffline);
}

CProtocol& CComm::Selected() {
    RequireDevice();
    return *m_protocol;
}

void CComm::CheckVariable(int variable) {
    if (variable < transmitter::kVarDp || variable > transmitter::kVarPt)
        RaiseCommError(commerr::kInvalidVariable);
}

int32_t CComm::Exchange(uint8_t function, uint16_t start, uint16_t quantity, const uint8_t* data) {
    CProtocol& protocol = Selected();
    int32_t result;
    {
        CBusy busy;
        result = protocol.SendPoll(protocol.DeviceAddress(), function, start, quantity, data, true);
    }
    if (result != 0) ThrowIfPortGone();
    return result;
}

void CComm::ThrowIfPortGone() {
    if (!m_protocol || !m_protocol->PortGone()) return;
    CPortGoneException gone = PortGoneFailure(*m_protocol->Link());
    // The transmitter cannot be reached any more; what the model holds stays.
    Disconnect();
    throw gone;
}

int32_t CComm::CachedRead(CacheGroup group, uint8_t function, uint16_t start, uint16_t quantity) {
    CProtocol& protocol = Selected();
    if (protocol.CacheValid(group)) return 0;
    const int32_t result = Exchange(function, start, quantity, nullptr);
    if (result == 0) protocol.SetCacheValid(group, true);
    return result;
}

void CComm::ReadIdentityGroup() {
    if (const int32_t r = CachedRead(CacheGroup::IdentityBlock, kReadHolding, kRegIdentityBlock,
                                     kIdentityBlockCount))
        RaiseCommError(r);
    m_protocol->SetCacheValid(CacheGroup::Register10, true);
}

void CComm::ReadUnitsGroup() {
    if (const int32_t r = CachedRead(CacheGroup::UnitsCodes, kReadHolding, kRegUnits, 3))
        RaiseCommError(r);
}

void CComm::ReadRangesGroup() {
    if (const int32_t r =
            CachedRead(CacheGroup::RangesBlock, kReadHolding, kRegRanges, kRangesCount))
        RaiseCommError(r);
}

void CComm::WriteHolding(uint16_t start, const std::vector<uint8_t>& wireData) {
    WriteHoldingOrRaise(start, wireData, 0, 0);
}

void CComm::WriteHoldingOrRaise(uint16_t start, const std::vector<uint8_t>& wireData, int32_t from,
                                int32_t to) {
    const auto quantity = static_cast<uint16_t>(wireData.size() / 2);
    int32_t result = Exchange(kWriteMultiple, start, quantity, wireData.data());
    if (from != 0 && result == from) result = to;
    if (result) RaiseCommError(result);
}

std::string CComm::TextFromRegisters(uint16_t first, size_t length) const {
    std::string text;
    for (size_t i = 0; i < length / 2; ++i) {
        const auto bytes = m_protocol->RegisterBytes(static_cast<uint16_t>(first + i));
        text.push_back(static_cast<char>(bytes[0]));
        text.push_back(static_cast<char>(bytes[1]));
    }
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.erase(end);
    return text;
}

// ---------------------------------------------------------------------------
// Identity and device information

std::string CComm::ReadTag() {
    if (const int32_t r = Exchange(kReadHolding, kRegTag, kTagLength / 2, nullptr))
        RaiseCommError(r);
    const std::string tag = TextFromRegisters(kRegTag, kTagLength);
    if (m_slot != kNoSlot) {
        auto& entry = m_tags[m_slot];
        entry.fill('\0');
        std::copy_n(tag.begin(), std::min(tag.size(), kTagLength), entry.begin());
    }
    return tag;
}

IdentityBlock CComm::ReadIdentityBlock() {
    ReadIdentityGroup();
    const CProtocol& p = *m_protocol;
    auto low = [&p](uint16_t reg) { return static_cast<uint8_t>(p.Register(reg) & 0xFF); };
    IdentityBlock block;
    block.sensor.dpRangeCode = low(kRegSensorIdentity);
    block.sensor.spRangeCode = low(kRegSensorIdentity + 1);
    block.sensor.ptRangeCode = low(kRegSensorIdentity + 2);
    block.sensor.isolatorMaterial = low(kRegSensorIdentity + 3);
    block.sensor.fillFluid = low(kRegSensorIdentity + 4);
    std::array<uint16_t, 8> codes{};
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = low(static_cast<uint16_t>(kRegCodes + i));
    block.codes = ConstructionCodes::FromRegisterOrder(codes);
    return block;
}

IdentityRecord CComm::ReadIdentityRecord() {
    ReadIdentityGroup();
    const CProtocol& p = *m_protocol;
    IdentityRecord record;
    record.manufacturerId = static_cast<uint8_t>(p.Register(0) & 0xFF);
    record.deviceType = static_cast<uint8_t>(p.Register(1) & 0xFF);
    record.hardwareRevision = static_cast<uint8_t>(p.Register(kRegHardwareRevision) & 0xFF);
    record.softwareRevision = p.Register(kRegRevision);
    record.responsePreambles = static_cast<uint8_t>(p.Register(kRegPreambles) & 0xFF);
    record.serialNumber = ReadTransmitterSerialNumber();
    return record;
}

DeviceTexts CComm::ReadDeviceInformation() {
    ReadIdentityGroup();
    const CProtocol& p = *m_protocol;
    DeviceTexts texts;
    texts.tag = TextFromRegisters(kRegTag, kTagLength);
    texts.descriptor = TextFromRegisters(kRegDescriptor, kDescriptorLength);
    texts.date.day = p.Register(kRegDay);
    texts.date.month = static_cast<uint8_t>(p.Register(kRegMonthYear) >> 8);
    texts.date.yearSince1900 = static_cast<uint8_t>(p.Register(kRegMonthYear) & 0xFF);
    return texts;
}

void CComm::WriteDeviceInformationCodes(const ConstructionCodes& codes) {
    CWireData data(Selected().FloatFormat());
    for (uint16_t code : codes.InRegisterOrder()) data.Word(code & 0xFF);
    m_protocol->SetCacheValid(CacheGroup::IdentityBlock, false);
    m_protocol->SetCacheValid(CacheGroup::Register10, false);
    WriteHolding(kRegCodes, data.Bytes());
}

void CComm::WriteTagDescriptorDate(const DeviceTexts& texts) {
    CWireData data(Selected().FloatFormat());
    data.Word(texts.date.day)
        .Word(static_cast<uint16_t>((texts.date.month << 8) | texts.date.yearSince1900))
        .Text(texts.tag, kTagLength)
        .Text(texts.descriptor, kDescriptorLength);
    m_protocol->SetCacheValid(CacheGroup::IdentityBlock, false);
    m_protocol->SetCacheValid(CacheGroup::Register10, false);
    WriteHolding(kRegDay, data.Bytes());
}

void CComm::WriteMessage(const std::string& message) {
    CWireData data(Selected().FloatFormat());
    data.Text(message, kMessageLength);
    m_protocol->SetCacheValid(CacheGroup::IdentityBlock, false);
    m_protocol->SetCacheValid(CacheGroup::Register10, false);
    WriteHolding(kRegMessage, data.Bytes());
}

std::string CComm::ReadMessage() {
    ReadIdentityGroup();
    return TextFromRegisters(kRegMessage, kMessageLength);
}

uint16_t CComm::ReadRegister10() {
    if (const int32_t r = CachedRead(CacheGroup::Register10, kReadHolding, kReg10, 1))
        RaiseCommError(r);
    return m_protocol->Register(kReg10);
}

void CComm::WritePollingAddress(uint8_t newAddress) {
    CWireData data(Selected().FloatFormat());
    data.Word(newAddress);
    WriteHolding(kRegPollingAddress, data.Bytes());
}

uint32_t CComm::ReadSensorSerialNumber() {
    ReadIdentityGroup();
    return (static_cast<uint32_t>(m_protocol->Register(kRegSensorSerial)) << 16) |
           m_protocol->Register(kRegSensorSerial + 1);
}

uint32_t CComm::ReadTransmitterSerialNumber() {
    ReadIdentityGroup();
    return (static_cast<uint32_t>(m_protocol->Register(kRegTransmitterSerial)) << 16) |
           m_protocol->Register(kRegTransmitterSerial + 1);
}

uint8_t CComm::ReadSensorRevision() {
    ReadIdentityGroup();
    return static_cast<uint8_t>(m_protocol->Register(kRegSensorRevision) & 0xFF);
}

// ---------------------------------------------------------------------------
// Variables

VariableSettings CComm::ReadVariableSettings(int variable) {
    CheckVariable(variable);
    ReadUnitsGroup();
    ReadRangesGroup();
    const CProtocol& p = *m_protocol;
    VariableSettings s;
    s.unitsCode = transmitter::DeviceToProgramUnits(
        variable, p.Register(static_cast<uint16_t>(kRegUnits + variable)));
    s.upperRangeLimit = p.Float(UpperRangeLimitReg(variable));
    s.lowerRangeLimit = p.Float(LowerRangeLimitReg(variable));
    s.lowerOperatingLimit = p.Float(LowerOperatingLimitReg(variable));
    s.upperOperatingLimit = p.Float(UpperOperatingLimitReg(variable));
    s.damping = p.Float(DampingReg(variable));
    s.minimumSpan = s.upperRangeLimit / 100.0;
    return s;
}

PresentValue CComm::ReadPresentValue(int variable) {
    CheckVariable(variable);
    ReadUnitsGroup();
    m_protocol->SetCacheValid(CacheGroup::PresentValues, false);
    if (const int32_t r = CachedRead(CacheGroup::PresentValues, kReadHolding, kRegPresentValues, 6))
        RaiseCommError(r);
    PresentValue value;
    value.value = m_protocol->Float(static_cast<uint16_t>(kRegPresentValues + 2 * variable));
    value.unitsCode = transmitter::DeviceToProgramUnits(
        variable, m_protocol->Register(static_cast<uint16_t>(kRegUnits + variable)));
    return value;
}

std::array<PresentValue, 3> CComm::ReadPresentValues() {
    RequireDevice();
    ReadUnitsGroup();
    m_protocol->SetCacheValid(CacheGroup::PresentValues, false);
    if (const int32_t r = CachedRead(CacheGroup::PresentValues, kReadHolding, kRegPresentValues, 6))
        RaiseCommError(r);
    std::array<PresentValue, 3> values{};
    for (int variable = 0; variable < 3; ++variable) {
        PresentValue& value = values[static_cast<size_t>(variable)];
        value.value = m_protocol->Float(static_cast<uint16_t>(kRegPresentValues + 2 * variable));
        value.unitsCode = transmitter::DeviceToProgramUnits(
            variable, m_protocol->Register(static_cast<uint16_t>(kRegUnits + variable)));
    }
    return values;
}

int CComm::ReadUnits(int variable) {
    CheckVariable(variable);
    ReadUnitsGroup();
    return transmitter::DeviceToProgramUnits(
        variable, m_protocol->Register(static_cast<uint16_t>(kRegUnits + variable)));
}

void CComm::WriteUnits(int variable, int unitsCode) {
    CheckVariable(variable);
    CWireData data(Selected().FloatFormat());
    data.Word(static_cast<uint16_t>(transmitter::ProgramToDeviceUnits(variable, unitsCode)));
    // Whatever the outcome, the device may have converted its values, the
    // minimum and maximum PV of the endpoints set among them.
    m_protocol->SetCacheValid(CacheGroup::UnitsCodes, false);
    m_protocol->SetCacheValid(CacheGroup::PresentValues, false);
    m_protocol->SetCacheValid(CacheGroup::RangesBlock, false);
    m_protocol->SetCacheValid(CacheGroup::EndpointsSet, false);
    WriteHolding(static_cast<uint16_t>(kRegUnits + variable), data.Bytes());
}

std::array<int, 4> CComm::ReadVariableAssignment() {
    RequireDevice();
    return {transmitter::kVarDp, transmitter::kVarSp, transmitter::kVarPt, transmitter::kVarFlow};
}

TrimPoints CComm::ReadTrimPoints(int variable) {
    CheckVariable(variable);
    ReadUnitsGroup();
    ReadRangesGroup();
    TrimPoints points;
    points.unitsCode = transmitter::DeviceToProgramUnits(
        variable, m_protocol->Register(static_cast<uint16_t>(kRegUnits + variable)));
    points.offsetPoint = m_protocol->Float(OffsetTrimReg(variable));
    points.slopePoint = m_protocol->Float(SlopeTrimReg(variable));
    return points;
}

void CComm::OffsetTrim(int variable, double value) {
    CheckVariable(variable);
    CWireData data(Selected().FloatFormat());
    data.Float(value);
    m_protocol->SetCacheValid(CacheGroup::UnitsCodes, false);
    m_protocol->SetCacheValid(CacheGroup::PresentValues, false);
    m_protocol->SetCacheValid(CacheGroup::RangesBlock, false);
    WriteHolding(OffsetTrimReg(variable), data.Bytes());
}

void CComm::SlopeTrim(int variable, double value) {
    CheckVariable(variable);
    CWireData data(Selected().FloatFormat());
    data.Float(value);
    m_protocol->SetCacheValid(CacheGroup::RangesBlock, false);
    WriteHolding(SlopeTrimReg(variable), data.Bytes());
}

void CComm::WriteDamping(int variable, double seconds) {
    CheckVariable(variable);
    CWireData data(Selected().FloatFormat());
    data.Float(seconds);
    m_protocol->SetCacheValid(CacheGroup::RangesBlock, false);
    WriteHolding(DampingReg(variable), data.Bytes());
}

void CComm::WriteOperatingLimits(int variable, double lower, double upper) {
    CheckVariable(variable);
    CWireData data(Selected().FloatFormat());
    data.Float(lower).Float(upper);
    m_protocol->SetCacheValid(CacheGroup::RangesBlock, false);
    WriteHoldingOrRaise(LowerOperatingLimitReg(variable), data.Bytes(), commerr::kIllegalValue,
                        commerr::kDpLimitsRejected + variable);
}

std::pair<double, double> CComm::ReadOperatingLimits(int variable) {
    CheckVariable(variable);
    ReadRangesGroup();
    return {m_protocol->Float(LowerOperatingLimitReg(variable)),
            m_protocol->Float(UpperOperatingLimitReg(variable))};
}

float CComm::ReadRegister454() {
    if (const int32_t r = Exchange(kReadHolding, kRegFixedTemperature, 2, nullptr))
        RaiseCommError(r);
    return m_protocol->Float(kRegFixedTemperature);
}

void CComm::WriteRegister454(float value) {
    CWireData data(Selected().FloatFormat());
    data.Float(value);
    WriteHolding(kRegFixedTemperature, data.Bytes());
}

std::array<uint8_t, 6> CComm::ReadStatusBytes() {
    if (const int32_t r = Exchange(kReadInput, kRegStatus, 4, nullptr)) RaiseCommError(r);
    std::array<uint8_t, kStatusLength> status{};
    for (size_t i = 0; i < kStatusLength; ++i)
        status[i] = m_protocol->RegisterBytes(static_cast<uint16_t>(kRegStatus + i / 2))[i % 2];
    return status;
}

LcdRegisters CComm::ReadLcdRegisters() {
    if (const int32_t r = Exchange(kReadHolding, kRegLcd, 3, nullptr)) RaiseCommError(r);
    return {m_protocol->Register(kRegLcd), m_protocol->Register(kRegLcd + 1),
            m_protocol->Register(kRegLcd + 2)};
}

void CComm::WriteLcdRegisters(uint16_t interval, uint16_t mask) {
    CWireData data(Selected().FloatFormat());
    data.Word(interval).Word(0).Word(mask);
    WriteHolding(kRegLcd, data.Bytes());
}

CommunicationRegisters CComm::ReadCommunicationRegisters() {
    if (const int32_t r = Exchange(kReadInput, kRegCommunication, 3, nullptr)) RaiseCommError(r);
    CommunicationRegisters regs;
    regs.register128 = m_protocol->Register(kRegCommunication);
    regs.register129 = m_protocol->Register(kRegCommunication + 1);
    regs.turnaroundDelay = m_protocol->Register(kReg130);
    return regs;
}

uint16_t CComm::ReadFloatFormat() {
    int32_t r = Exchange(kReadInput, kRegFloatFormat, 1, nullptr);
    if (r == commerr::kIllegalAddress) r = commerr::kFloatFormatUnsupported;
    if (r) RaiseCommError(r);
    const uint16_t format = m_protocol->Register(kRegFloatFormat);
    m_protocol->SetFloatFormat(format);
    return format;
}

void CComm::WriteFloatFormat(uint16_t format) {
    CWireData data(Selected().FloatFormat());
    data.Word(format);
    WriteHoldingOrRaise(kRegFloatFormat, data.Bytes(), commerr::kIllegalAddress,
                        commerr::kFloatFormatUnsupported);
    // The device answers in the new byte order from the next request on.
    m_protocol->SetFloatFormat(format);
}

void CComm::WriteRegister130(uint16_t value) {
    CWireData data(Selected().FloatFormat());
    data.Word(value);
    WriteHolding(kReg130, data.Bytes());
}

// ---------------------------------------------------------------------------
// Integer scaling

uint16_t CComm::ReadIntegerScalingMethod() {
    const int32_t r = Exchange(kReadHolding, kRegScalingMethod, 1, nullptr);
    if (r == commerr::kIllegalAddress) {
        m_integerScalingMethod = 0;
        RaiseCommError(commerr::kIntegerScalingUnsupported);
    }
    if (r) RaiseCommError(r);
    m_integerScalingMethod = m_protocol->Register(kRegScalingMethod);
    return m_integerScalingMethod;
}

void CComm::WriteIntegerScalingMethod(uint16_t method) {
    const uint16_t written = std::min<uint16_t>(method, transmitter::kScalingEnteredFactors);
    CWireData data(Selected().FloatFormat());
    data.Word(written);
    WriteHoldingOrRaise(kRegScalingMethod, data.Bytes(), commerr::kIllegalAddress,
                        commerr::kIntegerScalingUnsupported);
    m_integerScalingMethod = written;
}

EndpointsSet CComm::ReadEndpointsSet() {
    CProtocol& p = Selected();
    if (!p.CacheValid(CacheGroup::EndpointsSet)) {
        int32_t r = Exchange(kReadHolding, kRegEndpointIntegers, 6, nullptr);
        if (r == 0) r = Exchange(kReadHolding, kRegEndpointPvs, 12, nullptr);
        if (r == commerr::kIllegalAddress) r = commerr::kIntegerScalingUnsupported;
        if (r) RaiseCommError(r);
        p.SetCacheValid(CacheGroup::EndpointsSet, true);
    }
    EndpointsSet set;
    for (int i = 0; i < 3; ++i) {
        set.minInteger[i] = p.Register(static_cast<uint16_t>(kRegEndpointIntegers + 2 * i));
        set.maxInteger[i] = p.Register(static_cast<uint16_t>(kRegEndpointIntegers + 2 * i + 1));
        set.minPv[i] = p.Float(static_cast<uint16_t>(kRegEndpointPvs + 4 * i));
        set.maxPv[i] = p.Float(static_cast<uint16_t>(kRegEndpointPvs + 4 * i + 2));
    }
    return set;
}

ScaleFactorSet CComm::ReadScaleFactorSet() {
    CProtocol& p = Selected();
    if (!p.CacheValid(CacheGroup::ScaleFactorSet)) {
        int32_t r = Exchange(kReadHolding, kRegCounts, 1, nullptr);
        if (r == 0) r = Exchange(kReadHolding, kRegScaleFactors, 6, nullptr);
        if (r == commerr::kIllegalAddress) r = commerr::kIntegerScalingUnsupported;
        if (r) RaiseCommError(r);
        p.SetCacheValid(CacheGroup::ScaleFactorSet, true);
    }
    ScaleFactorSet set;
    set.counts = p.Register(kRegCounts);
    for (int i = 0; i < 3; ++i) {
        set.scaleFactor[i] = p.Register(static_cast<uint16_t>(kRegScaleFactors + 2 * i));
        set.offset[i] = p.Register(static_cast<uint16_t>(kRegScaleFactors + 2 * i + 1));
    }
    return set;
}

void CComm::StageEndpoints(int variable, uint16_t minInteger, uint16_t maxInteger, float minPv,
                           float maxPv) {
    CheckVariable(variable);
    m_stagedEndpoints.minInteger[variable] = minInteger;
    m_stagedEndpoints.maxInteger[variable] = maxInteger;
    m_stagedEndpoints.minPv[variable] = minPv;
    m_stagedEndpoints.maxPv[variable] = maxPv;
}

void CComm::StageScaleFactors(int variable, uint16_t counts, uint16_t scaleFactor,
                              uint16_t offset) {
    CheckVariable(variable);
    m_stagedScaleFactors.counts = counts;
    m_stagedScaleFactors.scaleFactor[variable] = scaleFactor;
    m_stagedScaleFactors.offset[variable] = offset;
}

void CComm::WriteEndpointsSet() {
    CWireData integers(Selected().FloatFormat());
    CWireData pvs(m_protocol->FloatFormat());
    for (int i = 0; i < 3; ++i) {
        integers.Word(m_stagedEndpoints.minInteger[i]).Word(m_stagedEndpoints.maxInteger[i]);
        pvs.Float(m_stagedEndpoints.minPv[i]).Float(m_stagedEndpoints.maxPv[i]);
    }
    m_protocol->SetCacheValid(CacheGroup::EndpointsSet, false);
    WriteHoldingOrRaise(kRegEndpointIntegers, integers.Bytes(), commerr::kIllegalAddress,
                        commerr::kIntegerScalingUnsupported);
    WriteHoldingOrRaise(kRegEndpointPvs, pvs.Bytes(), commerr::kIllegalAddress,
                        commerr::kIntegerScalingUnsupported);
}

void CComm::WriteScaleFactorSet() {
    CWireData counts(Selected().FloatFormat());
    counts.Word(m_stagedScaleFactors.counts);
    CWireData factors(m_protocol->FloatFormat());
    for (int i = 0; i < 3; ++i)
        factors.Word(m_stagedScaleFactors.scaleFactor[i]).Word(m_stagedScaleFactors.offset[i]);
    m_protocol->SetCacheValid(CacheGroup::ScaleFactorSet, false);
    WriteHoldingOrRaise(kRegCounts, counts.Bytes(), commerr::kIllegalAddress,
                        commerr::kIntegerScalingUnsupported);
    WriteHoldingOrRaise(kRegScaleFactors, factors.Bytes(), commerr::kIllegalAddress,
                        commerr::kIntegerScalingUnsupported);
}

// ---------------------------------------------------------------------------
// Coils and EMS arrays

bool CComm::ReadCoil(int coil) {
    if (coil < 0 || coil > 3) RaiseCommError(commerr::kIllegalAddress);
    const auto address = static_cast<uint16_t>(coil);
    if (const int32_t r = Exchange(kReadCoils, address, 1, nullptr)) RaiseCommError(r);
    const bool on = m_protocol->Bit(address) != 0;
    return coil == 3 ? !on : on;
}

void CComm::SetCoil0() { SetCoil(0, 1); }

void CComm::SetCoil(int coil, int value) {
    if (coil < 0 || coil > 3) RaiseCommError(commerr::kIllegalAddress);
    if ((coil == 1 || coil == 3) && value != 0 && value != 1)
        RaiseCommError(commerr::kIllegalValue);
    const bool on = value != 0;
    const uint8_t data[2] = {static_cast<uint8_t>(on ? 0xFF : 0x00), 0x00};
    const uint16_t wireValue = on ? 0xFF00 : 0x0000;
    if (const int32_t r = Exchange(kWriteCoil, static_cast<uint16_t>(coil), wireValue, data))
        RaiseCommError(r);
}

namespace {
bool Is(const EmsArrayId& id, uint8_t slot, uint8_t type, uint8_t index, uint8_t count) {
    return id.slot == slot && id.type == type && id.index == index && id.count == count;
}
}  // namespace

std::vector<uint8_t> CComm::ReadEmsArray(const EmsArrayId& id) {
    if (Is(id, 0, 0, 0, 2)) return {static_cast<uint8_t>(ReadCoil(3) ? 1 : 0)};
    if (Is(id, 0, 3, 0, 1)) {
        const float value = ReadRegister454();
        std::vector<uint8_t> bytes(sizeof value);
        std::memcpy(bytes.data(), &value, sizeof value);
        return bytes;
    }
    RaiseCommError(commerr::kInvalidEmsSlot);
}

void CComm::WriteEmsArray(const EmsArrayId& id, const std::vector<uint8_t>& data) {
    if (Is(id, 0, 0, 0, 2)) {
        if (data.empty()) RaiseCommError(kInvalidEmsWriteSize);
        SetCoil(3, data[0] != 0 ? 0 : 1);
        return;
    }
    if (Is(id, 0, 3, 0, 1)) {
        float value;
        if (data.size() != sizeof value) RaiseCommError(kInvalidEmsWriteSize);
        std::memcpy(&value, data.data(), sizeof value);
        WriteRegister454(value);
        return;
    }
    if (Is(id, 0, 255, 0, 0)) return;
    RaiseCommError(commerr::kInvalidEmsSlot);
}

// ---------------------------------------------------------------------------
// Legacy command requests

void CComm::SetLegacyTransport(LegacyTransport transport) {
    m_legacyTransport = std::move(transport);
}

std::vector<uint8_t> CComm::LegacyRequest(int command, const std::vector<uint8_t>& request) {
    const auto& commands = LegacyCommands();
    const auto it = commands.find(command);
    if (it == commands.end()) RaiseCommError(kCommandNotSupported);
    const LegacyCommand& layout = it->second;
    if (request.size() != layout.requestSize) RaiseCommError(kWrongByteCount);

    std::vector<uint8_t> reply(layout.replySize, 0);
    int32_t result = 0;
    if (m_legacyTransport) {
        result = m_legacyTransport(command, request, reply);
        reply.resize(layout.replySize, 0);
    }
    if (result == kLegacyOffline) ResetDevice();
    CheckLegacyReply(result, reply[0], layout.subCodes);
    ShowStatusIfNeeded(reply[1]);
    return reply;
}

void CComm::ShowStatusIfNeeded(uint8_t status) {
    if ((status & ~kStatusConfigChanged) == 0) return;
    if (m_ignoreStatus > 0) {
        --m_ignoreStatus;
        return;
    }
    TransmitterStatusRequest request;
    request.statusByte = status;
    if (status == 0) request.lines.push_back(LoadString(kNoStatusInfoText));
    for (const StatusBit& bit : kStatusBits)
        if (status & bit.bit) request.lines.push_back(LoadString(bit.textId));
    request.errorInfoEnabled = (status & kStatusMoreInfo) != 0;
    const TransmitterStatusAnswer answer = Ui().ShowTransmitterStatus(request);
    if (answer.ignoreNext50) m_ignoreStatus = kIgnoreStatusCount;
}

std::vector<uint8_t> CComm::ReadLoopCurrent() { return LegacyRequest(2, {}); }

std::vector<uint8_t> CComm::ReadOutputInformation() { return LegacyRequest(15, {}); }

void CComm::WriteRangeValues(uint8_t unitsCode, float upper, float lower) {
    std::vector<uint8_t> request;
    request.push_back(unitsCode);
    PutFloatBigEndian(request, upper);
    PutFloatBigEndian(request, lower);
    LegacyRequest(35, request);
}

void CComm::SetFixedCurrent(float milliamps) {
    std::vector<uint8_t> request;
    PutFloatBigEndian(request, milliamps);
    LegacyRequest(40, request);
}

void CComm::TrimLoopZero(float milliamps) {
    std::vector<uint8_t> request;
    PutFloatBigEndian(request, milliamps);
    LegacyRequest(45, request);
}

void CComm::TrimLoopGain(float milliamps) {
    std::vector<uint8_t> request;
    PutFloatBigEndian(request, milliamps);
    LegacyRequest(46, request);
}

void CComm::WriteTransferFunction(uint8_t code) { LegacyRequest(47, {code}); }

void CComm::WriteVariableAssignment(const std::array<int, 4>& codes) {
    std::vector<uint8_t> request;
    for (int code : codes) request.push_back(static_cast<uint8_t>(code));
    LegacyRequest(51, request);
}

void CComm::WriteResponsePreambles(uint8_t count) { LegacyRequest(59, {count}); }

void CComm::WriteBurstMode(uint8_t mode) { LegacyRequest(109, {mode}); }

std::array<uint8_t, 8> CComm::ReadPasswordEntry(uint8_t index) {
    const std::vector<uint8_t> reply = LegacyRequest(163, {index});
    std::array<uint8_t, 8> entry{};
    std::copy(reply.begin() + 3, reply.begin() + 11, entry.begin());
    return entry;
}

void CComm::WritePasswordEntry(uint8_t index, const std::array<uint8_t, 8>& entry) {
    std::vector<uint8_t> request(1 + entry.size());
    request[0] = index;
    std::copy(entry.begin(), entry.end(), request.begin() + 1);
    LegacyRequest(164, request);
}

void CComm::WriteFlowBlock(const std::array<uint8_t, 25>& block) {
    LegacyRequest(165, std::vector<uint8_t>(block.begin(), block.end()));
}

std::array<uint8_t, 25> CComm::ReadFlowBlock(uint8_t selector) {
    const std::vector<uint8_t> reply = LegacyRequest(166, {selector});
    std::array<uint8_t, 25> block{};
    std::copy(reply.begin() + 2, reply.begin() + 27, block.begin());
    return block;
}
