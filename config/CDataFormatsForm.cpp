#include "config/CDataFormatsForm.h"

#include "config/CCalculatedFactorsForm.h"
#include "config/CEndpointsForm.h"
#include "config/CEnteredFactorsForm.h"
#include "config/ConfigKeys.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdFirstFormat = 3358;   // "Format 0 - default" to "Format 3"
constexpr unsigned kIdFirstMethod = 32775;  // "Disabled" to "Calculated Scale Factor & Offset"
constexpr int kFormatCount = 4;
constexpr int kMethodCount = 4;
constexpr const char* kFloatFormat = "float-format";
constexpr const char* kScaling = "scaling";
constexpr const char* kCounts = "counts";
constexpr const char* kRounding = "rounding";
constexpr const char* kRoundingNames[] = {"nearest", "down", "up"};

bool IsFactorMethod(int method) {
    return method == kScalingEnteredFactors || method == kScalingCalculatedFactors;
}

bool IsParameterKey(const std::string& key) {
    return key == kCounts || key == kRounding || config::VariableIndex(key) >= 0;
}
}  // namespace

std::string CDataFormatsForm::Caption() const {
    return InSetupMode() ? std::string(texts::kSetupCaptionPrefix) + texts::kDataFormatsCaption
                         : texts::kDataFormatsCaption;
}

std::string CDataFormatsForm::ByteOrder(int format) {
    switch (format) {
        case 0:
            return "ABCD";
        case 1:
            return "CDAB";
        case 2:
            return "DCBA";
        case 3:
            return "BADC";
        default:
            return std::string();
    }
}

std::string CDataFormatsForm::SelectedByteOrder() const {
    return ByteOrder(Field(kFloatFormat)->selected);
}

std::string CDataFormatsForm::FormatName(int format) const {
    return format >= 0 && format < kFormatCount
               ? LoadString(kIdFirstFormat + static_cast<unsigned>(format))
               : std::to_string(format);
}

std::string CDataFormatsForm::MethodName(int method) const {
    return method >= 0 && method < kMethodCount
               ? LoadString(kIdFirstMethod + static_cast<unsigned>(method))
               : std::to_string(method);
}

size_t CDataFormatsForm::SetOf(int method) {
    return IsFactorMethod(method) ? 2 : method == kScalingEndpoints ? 1 : 0;
}

void CDataFormatsForm::ReadSet(int method) {
    const size_t set = SetOf(method);
    if (m_setRead[set]) return;
    ScalingRecords records;
    for (int v = kVarDp; v <= kVarPt; ++v)
        records[static_cast<size_t>(v)] =
            Model().Variable(v).ReadIntegerScaling(static_cast<uint16_t>(method), Access());
    m_sets[set] = records;
    m_setsRead[set] = records;
    m_setRead[set] = true;
}

void CDataFormatsForm::Read() {
    m_formatRead = Model().ReadFloatFormat(Access());
    FormField format;
    format.key = kFloatFormat;
    format.label = texts::kByteOrderLabel;
    format.kind = FieldKind::Choice;
    for (int i = 0; i < kFormatCount; ++i) format.choices.push_back(FormatName(i));
    format.selected = m_formatRead < kFormatCount ? m_formatRead : -1;
    AddField(std::move(format));

    try {
        m_methodRead = Model().ReadIntegerScalingMethod(Access());
    } catch (const CCommException& e) {
        if (e.Error() == commerr::kIntegerScalingUnsupported)
            throw CCommException(commerr::kDataFormatsUnsupported);
        throw;
    }
    FormField scaling;
    scaling.key = kScaling;
    scaling.label = texts::kScalingMethodLabel;
    scaling.kind = FieldKind::Choice;
    for (int i = 0; i < kMethodCount; ++i) scaling.choices.push_back(MethodName(i));
    scaling.selected = m_methodRead < kMethodCount ? m_methodRead : -1;
    m_current = m_accepted = scaling.selected;
    AddField(std::move(scaling));

    if (m_current >= 0) ReadSet(m_current);
    for (int v = kVarDp; v <= kVarPt; ++v)
        m_units[static_cast<size_t>(v)] = Model().Variable(v).ReadUnits(Access()).Name();
}

std::vector<int> CDataFormatsForm::ChoiceCodes(const std::string& key) const {
    if (key == kFloatFormat || key == kScaling) return {0, 1, 2, 3};
    return {};
}

void CDataFormatsForm::SetChoice(const std::string& key, int index) {
    CConfigForm::SetChoice(key, index);
    if (key != kScaling || index < 0 || index >= kMethodCount) return;
    m_current = index;
    try {
        CFormWaitCursor wait(*this);
        ReadSet(index);
    } catch (const std::exception& e) {
        ReportException(e);
        m_selection = Selection::Failed;
        return;
    }
    if (index == m_accepted) return;
    // Disabled has no parameters to enter: it is accepted as chosen.
    if (index == kScalingDisabled)
        m_accepted = index;
    else
        m_selection = Selection::OpenParameters;
}

CDataFormatsForm::Selection CDataFormatsForm::TakeSelection() {
    const Selection selection = m_selection;
    if (selection != Selection::Failed) m_selection = Selection::None;
    return selection;
}

std::unique_ptr<CScalingParametersForm> CDataFormatsForm::ParameterForm() {
    const ScalingRecords& records = m_sets[SetOf(m_current)];
    switch (m_current) {
        case kScalingEndpoints:
            return std::make_unique<CEndpointsForm>(Doc(), Mode(), records, m_units);
        case kScalingEnteredFactors:
            return std::make_unique<CEnteredFactorsForm>(Doc(), Mode(), records, m_units);
        case kScalingCalculatedFactors:
            return std::make_unique<CCalculatedFactorsForm>(Doc(), Mode(), records, m_units);
        default:
            return nullptr;
    }
}

void CDataFormatsForm::AcceptParameters(const CScalingParametersForm& parameters) {
    const int method = parameters.Method();
    m_sets[SetOf(method)] = parameters.Records();
    m_current = m_accepted = method;
    FormField& scaling = MutableField(kScaling);
    scaling.selected = method;
    scaling.choices[static_cast<size_t>(method)] =
        MethodName(method) + (RecordsDiffer(method) ? texts::kChangedMark : "");
    m_selection = Selection::None;
}

void CDataFormatsForm::RejectParameters() {
    m_current = m_accepted;
    MutableField(kScaling).selected = m_accepted;
    m_selection = Selection::None;
}

bool CDataFormatsForm::RecordsDiffer(int method) const {
    const size_t set = SetOf(method);
    for (size_t i = 0; i < 3; ++i) {
        const IntegerScalingRecord& now = m_sets[set][i];
        const IntegerScalingRecord& read = m_setsRead[set][i];
        if (method == kScalingEndpoints &&
            (now.minInteger != read.minInteger || now.maxInteger != read.maxInteger ||
             now.minPv != read.minPv || now.maxPv != read.maxPv))
            return true;
        if (IsFactorMethod(method) &&
            (now.counts != read.counts || now.scaleFactor != read.scaleFactor ||
             now.offset != read.offset))
            return true;
    }
    return false;
}

bool CDataFormatsForm::ScalingChanged() const {
    if (m_current < 0) return false;
    if (m_current != m_methodRead) {
        // The transmitter keeps methods 2 and 3 as one: they differ only in
        // how the factors were found.
        if (InSetupMode() || !IsFactorMethod(m_current) || !IsFactorMethod(m_methodRead))
            return true;
    }
    return RecordsDiffer(m_current);
}

bool CDataFormatsForm::ApplyTerminalParameters(FormOutcome& refusal) {
    std::unique_ptr<CScalingParametersForm> parameters = ParameterForm();
    if (!parameters) {
        refusal = FormOutcome::Refuse(
            ::FormatText(texts::kTerminalNotAParameter, m_terminalParameters.front().first.c_str(),
                         MethodName(m_current).c_str()),
            kScaling);
        return false;
    }
    if (!parameters->Open()) {
        refusal = FormOutcome::Close(FormResult::Abort);
        return false;
    }
    for (const auto& [key, value] : m_terminalParameters) {
        std::string reason;
        const int v = config::VariableIndex(key);
        if (v >= 0)
            reason = parameters->SetVariableValue(v, value);
        else if (parameters->Field(key) == nullptr)
            reason = ::FormatText(texts::kTerminalNotAParameter, key.c_str(),
                                  MethodName(m_current).c_str());
        else
            reason = parameters->SetValue(key, value);
        if (!reason.empty()) {
            refusal = FormOutcome::Refuse(reason, key);
            return false;
        }
    }
    const FormOutcome outcome = parameters->Ok();
    if (outcome.result != FormResult::Ok) {
        refusal = outcome;
        return false;
    }
    AcceptParameters(*parameters);
    m_terminalParameters.clear();
    return true;
}

FormOutcome CDataFormatsForm::Ok() {
    if (m_selection == Selection::Failed) return FormOutcome::Close(FormResult::Abort);
    if (m_selection == Selection::OpenParameters || !m_terminalParameters.empty()) {
        FormOutcome refusal;
        if (!ApplyTerminalParameters(refusal)) return refusal;
    }
    const int format = Field(kFloatFormat)->selected;
    const bool formatChanged = format >= 0 && format != m_formatRead;
    const bool scalingChanged = ScalingChanged();
    if (!formatChanged && !scalingChanged) return FormOutcome::Close(FormResult::Ok);
    if (!ConfirmWrite()) return FormOutcome::Stay();

    MarkModified();
    try {
        CFormWaitCursor wait(*this);
        if (formatChanged) {
            Write(kFloatFormat, FormatName(m_formatRead), FormatName(format),
                  [&] { Model().WriteFloatFormat(static_cast<uint16_t>(format), Access()); });
        }
        if (scalingChanged) {
            const auto method = static_cast<uint16_t>(m_current);
            Write(kScaling, MethodName(m_methodRead), MethodName(method),
                  [&] { Model().WriteIntegerScalingMethod(method, Access()); });
            const size_t set = SetOf(method);
            for (int v = kVarDp; v <= kVarPt; ++v) {
                const auto i = static_cast<size_t>(v);
                IntegerScalingRecord record = m_sets[set][i];
                record.method = method;
                Write(config::VariableKey(v),
                      CScalingParametersForm::JoinedValue(method, m_setsRead[set][i]),
                      CScalingParametersForm::JoinedValue(method, record),
                      [&] { Model().Variable(v).StageIntegerScaling(record, Access()); });
            }
            Write("parameter set", std::string(), MethodName(method),
                  [&] { Model().SendIntegerScalingSet(method, Access()); });
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    NotifyWritten();
    return FormOutcome::Close(FormResult::Ok);
}

std::string CDataFormatsForm::SetValue(const std::string& key, const std::string& value) {
    if (IsParameterKey(key)) {
        m_terminalParameters.emplace_back(key, value);
        return std::string();
    }
    return CConfigForm::SetValue(key, value);
}

std::vector<std::string> CDataFormatsForm::TerminalKeys() const {
    return {kFloatFormat, kScaling, kCounts, kRounding, "DP", "SP", "PT"};
}

std::vector<FormField> CDataFormatsForm::TerminalFields() const {
    std::vector<FormField> fields = {*Field(kFloatFormat)};
    FormField order;
    order.key = "byte-order";
    order.kind = FieldKind::Value;
    for (char byte : SelectedByteOrder())
        order.text += std::string(order.text.empty() ? "" : " ") + byte;
    fields.push_back(std::move(order));
    fields.push_back(*Field(kScaling));
    if (m_current <= kScalingDisabled) return fields;

    const ScalingRecords& records = m_sets[SetOf(m_current)];
    if (IsFactorMethod(m_current)) {
        FormField counts;
        counts.key = kCounts;
        counts.kind = FieldKind::Number;
        counts.text = std::to_string(records[0].counts);
        fields.push_back(std::move(counts));
    }
    if (m_current == kScalingCalculatedFactors) {
        FormField rounding;
        rounding.key = kRounding;
        rounding.kind = FieldKind::Value;
        rounding.text = records[0].rounding <= 2 ? kRoundingNames[records[0].rounding] : "";
        fields.push_back(std::move(rounding));
    }
    for (int v = kVarDp; v <= kVarPt; ++v) {
        FormField field;
        field.key = config::VariableKey(v);
        field.text = CScalingParametersForm::JoinedValue(static_cast<uint16_t>(m_current),
                                                         records[static_cast<size_t>(v)]);
        field.suffix = m_units[static_cast<size_t>(v)];
        fields.push_back(std::move(field));
    }
    return fields;
}
