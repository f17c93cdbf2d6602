#include "transmitter/CTransmitter.h"

#include "flow/CGasFlow.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/VariableNames.h"

using namespace transmitter;

namespace {

constexpr unsigned kInvalidVariableCodePrompt = 363;
constexpr unsigned kDifferentialPressureName = 450;

// Runs `step`; a device that lacks the registers it touches (error `tolerated`)
// ends it without failing it.
template <typename Step>
bool RunTolerating(int32_t tolerated, Step step) {
    try {
        step();
        return true;
    } catch (const CCommException& e) {
        if (e.Error() != tolerated) throw;
        return false;
    }
}

}  // namespace

CTransmitter::CTransmitter()
    : m_ownedComm(std::make_unique<CComm>()),
      m_comm(m_ownedComm.get()),
      m_analogOutput(std::make_unique<CAnalogOutput>(*m_comm)),
      m_lcd(std::make_unique<CLCDDisplay>(*m_comm)),
      m_deviceInfo(std::make_unique<CDeviceInfo>(*m_comm)),
      m_pt(std::make_unique<CMeasuredVariable>(*m_comm, kVarPt)),
      m_dp(std::make_unique<CMeasuredVariable>(*m_comm, kVarDp)),
      m_sp(std::make_unique<CSPVariable>(*m_comm)),
      // A new model holds a gas flow configuration, which initialises itself
      // with its defaults.
      m_flow(std::make_unique<CGasFlow>()) {}

CTransmitter::CTransmitter(CComm& comm)
    : m_comm(&comm),
      m_analogOutput(std::make_unique<CAnalogOutput>(*m_comm)),
      m_lcd(std::make_unique<CLCDDisplay>(*m_comm)),
      m_deviceInfo(std::make_unique<CDeviceInfo>(*m_comm)),
      m_pt(std::make_unique<CMeasuredVariable>(*m_comm, kVarPt)),
      m_dp(std::make_unique<CMeasuredVariable>(*m_comm, kVarDp)),
      m_sp(std::make_unique<CSPVariable>(*m_comm)),
      m_flow(std::make_unique<CGasFlow>()) {}

CTransmitter::~CTransmitter() = default;

void CTransmitter::Reset() {
    SetCommunicationWords({0, 0, kDefaultTurnaroundDelay, 0, 0});
    m_analogOutput->Reset();
    m_lcd->Reset();
    m_deviceInfo->Reset();
    m_pt->Reset();
    m_dp->Reset();
    m_sp->Reset();
    if (m_flow) m_flow->InitialiseWithDefaults();
    m_assignment = {kVarFlow, kVarDp, kVarSp, kVarPt};
}

std::array<uint16_t, 5> CTransmitter::CommunicationWords() const {
    return {m_register128, m_register129, m_turnaroundDelay, m_floatFormat, m_scalingMethod};
}

void CTransmitter::SetCommunicationWords(const std::array<uint16_t, 5>& words) {
    m_register128 = words[0];
    m_register129 = words[1];
    m_turnaroundDelay = words[2];
    m_floatFormat = words[3];
    m_scalingMethod = words[4];
}

CMeasuredVariable& CTransmitter::Variable(int index) {
    switch (index) {
        case kVarDp:
            return *m_dp;
        case kVarSp:
            return *m_sp;
        case kVarPt:
            return *m_pt;
        default:
            RaiseCommError(commerr::kInvalidVariable);
    }
}

void CTransmitter::SetFlow(std::unique_ptr<CFlow> flow) { m_flow = std::move(flow); }

// ---------------------------------------------------------------------------
// Variable assignment

std::array<int, 4> CTransmitter::ReadVariableAssignment(int access) {
    std::array<int, 4> codes = IsDocument(access) ? m_assignment : m_comm->ReadVariableAssignment();
    bool allValid = true;
    for (int code : codes) allValid = allValid && IsValidVariableCode(code);
    if (allValid) return codes;

    const std::string prompt = LoadString(kInvalidVariableCodePrompt) +
                               LoadString(kDifferentialPressureName) + texts::kQuestionEnd;
    if (Ui().MessageBox(prompt, MsgButtons::OkCancel, MsgIcon::Stop) != MsgAnswer::Ok)
        AbandonSilently();
    for (int& code : codes)
        if (!IsValidVariableCode(code)) code = kVarDp;
    WriteVariableAssignment(codes, access);
    return codes;
}

void CTransmitter::WriteVariableAssignment(const std::array<int, 4>& codes, int access) {
    if (IsDocument(access))
        m_assignment = codes;
    else
        m_comm->WriteVariableAssignment(codes);
}

// ---------------------------------------------------------------------------
// Data formats and communication parameters

uint16_t CTransmitter::ReadFloatFormat(int access) {
    if (IsDocument(access)) return m_floatFormat;
    return m_comm->ReadFloatFormat();
}

void CTransmitter::WriteFloatFormat(uint16_t format, int access) {
    if (IsDocument(access))
        m_floatFormat = format;
    else
        m_comm->WriteFloatFormat(format);
}

uint16_t CTransmitter::ReadIntegerScalingMethod(int access) {
    if (IsDocument(access)) return m_scalingMethod;
    return m_comm->ReadIntegerScalingMethod();
}

void CTransmitter::WriteIntegerScalingMethod(uint16_t method, int access) {
    if (IsDocument(access))
        m_scalingMethod = method;
    else
        m_comm->WriteIntegerScalingMethod(method);
}

void CTransmitter::SendIntegerScalingSet(uint16_t method, int access) {
    if (IsDocument(access) || method == kScalingDisabled) return;
    if (method == kScalingEndpoints)
        m_comm->WriteEndpointsSet();
    else
        m_comm->WriteScaleFactorSet();
}

uint16_t CTransmitter::ReadTurnaroundDelay(int access) {
    if (IsDocument(access)) return m_turnaroundDelay;
    return m_comm->ReadCommunicationRegisters().turnaroundDelay;
}

void CTransmitter::WriteTurnaroundDelay(uint16_t ms, int access) {
    if (IsDocument(access))
        m_turnaroundDelay = ms;
    else
        m_comm->WriteRegister130(ms);
}

// ---------------------------------------------------------------------------
// Whole-configuration steps

void CTransmitter::SendDataFormats() {
    m_comm->WriteRegister130(m_turnaroundDelay);
    // Each format word is written on its own, as Receive reads them: a device
    // may have one register without the other.
    RunTolerating(commerr::kFloatFormatUnsupported,
                  [this] { m_comm->WriteFloatFormat(m_floatFormat); });
    RunTolerating(commerr::kIntegerScalingUnsupported,
                  [this] { m_comm->WriteIntegerScalingMethod(m_scalingMethod); });
}

void CTransmitter::ReceiveDataFormats() {
    const CommunicationRegisters regs = m_comm->ReadCommunicationRegisters();
    m_register128 = regs.register128;
    m_register129 = regs.register129;
    m_turnaroundDelay = regs.turnaroundDelay;
    // Each format register is read on its own: a device may have one without
    // the other, and a missing one is taken as 0.
    m_floatFormat = 0;
    RunTolerating(commerr::kFloatFormatUnsupported,
                  [this] { m_floatFormat = m_comm->ReadFloatFormat(); });
    m_scalingMethod = 0;
    RunTolerating(commerr::kIntegerScalingUnsupported,
                  [this] { m_scalingMethod = m_comm->ReadIntegerScalingMethod(); });
}

void CTransmitter::SendVariable(int index) {
    CMeasuredVariable& variable = Variable(index);
    variable.WriteUnits(variable.Units(), kAccessTransmitter);
    variable.WriteDamping(variable.Damping().Get(), kAccessTransmitter);
    const auto limits = variable.ReadOperatingLimits(kAccessDocument);
    variable.WriteOperatingLimits(limits.first, limits.second, kAccessTransmitter);

    // The parameter sets hold all three variables, so the set is sent whole
    // from the document's three records.
    const uint16_t method = m_scalingMethod;
    if (method == kScalingDisabled) return;
    RunTolerating(commerr::kIntegerScalingUnsupported, [this, method] {
        for (int v = kVarDp; v <= kVarPt; ++v) {
            IntegerScalingRecord record = Variable(v).IntegerScaling();
            record.method = method;
            Variable(v).StageIntegerScaling(record, kAccessTransmitter);
        }
        SendIntegerScalingSet(method, kAccessTransmitter);
    });
}

void CTransmitter::ReceiveVariable(int index) {
    CMeasuredVariable& variable = Variable(index);
    const VariableSettings settings = variable.ReadSettings(kAccessTransmitter);
    const CUnit units(settings.unitsCode, index);
    IntegerScalingRecord record = variable.IntegerScaling();
    record.method = m_scalingMethod;
    if (m_scalingMethod != kScalingDisabled)
        RunTolerating(commerr::kIntegerScalingUnsupported, [&] {
            record = variable.ReadIntegerScaling(m_scalingMethod, kAccessTransmitter);
        });

    variable.SetUnits(units);
    variable.SetDamping(CDimlessValue(settings.damping));
    variable.SetLowerOperatingLimit(CDimValue(settings.lowerOperatingLimit, units));
    variable.SetUpperOperatingLimit(CDimValue(settings.upperOperatingLimit, units));
    variable.SetIntegerScaling(record);
}

void CTransmitter::SendDeviceInformation() {
    CDeviceInfo& info = *m_deviceInfo;
    info.WriteTagDescriptorDate({info.Tag(), info.Descriptor(), info.Date()}, kAccessTransmitter);
    info.WriteMessage(info.Message(), kAccessTransmitter);
    info.WriteCodes(info.Construction(), kAccessTransmitter);
}

void CTransmitter::ReceiveDeviceInformation() {
    CDeviceInfo& info = *m_deviceInfo;
    const CDeviceInfo::TagDescriptorDate texts = info.ReadTagDescriptorDate(kAccessTransmitter);
    const std::string message = info.ReadMessage(kAccessTransmitter);
    const CDeviceInfo::Codes codes = info.ReadCodes(kAccessTransmitter);
    info.WriteTagDescriptorDate(texts, kAccessDocument);
    info.WriteMessage(message, kAccessDocument);
    info.WriteCodes(codes.construction, kAccessDocument);
}

void CTransmitter::SendLcd() {
    m_lcd->Write(m_lcd->Items(), m_lcd->Interval(), kAccessTransmitter);
}

void CTransmitter::ReceiveLcd() {
    const CLCDDisplay::Settings settings = m_lcd->Read(kAccessTransmitter);
    m_lcd->Write(settings.items, settings.interval, kAccessDocument);
}
