#include "config/CDampingForm.h"

#include "config/ConfigKeys.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/Numbers.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdSetupCaption = 770;
constexpr unsigned kIdTransmitterCaption = 771;
constexpr unsigned kIdSetValues = 2307;
constexpr unsigned kIdApproximatedNote = 776;
constexpr unsigned kIdEditedNote = 777;
constexpr unsigned kIdRestoreApproximated = 778;
constexpr unsigned kIdDampingNearest = 922;
constexpr const char* kLabels[] = {texts::kDpLabel, texts::kSpLabel, texts::kPtLabel};

std::string RangeMessage() {
    std::string text = texts::kEnterNumberBetween;
    text.replace(text.find("%1"), 2, FormatText("%g", CDampingForm::kMinimum));
    text.replace(text.find("%2"), 2, FormatText("%g", CDampingForm::kMaximum));
    return text;
}

bool IsNearestWarning(const std::exception& e) {
    const auto* comm = dynamic_cast<const CCommException*>(&e);
    return comm != nullptr && comm->Error() == commerr::kDampingNearest;
}
}  // namespace

std::string CDampingForm::Caption() const {
    return LoadString(InSetupMode() ? kIdSetupCaption : kIdTransmitterCaption);
}

std::string CDampingForm::OkCaption() const {
    return InSetupMode() ? LoadString(kIdSetValues) : texts::kSendValuesButton;
}

std::string CDampingForm::Shown(double seconds) {
    return FormatText("%g", seconds) + " " + texts::kSeconds;
}

std::function<std::string()> CDampingForm::KeptValue(const std::string& field) {
    for (int v = kVarDp; v <= kVarPt; ++v) {
        if (config::VariableKey(v) == field)
            return [this, v] { return Shown(static_cast<float>(ReadDamping(v))); };
    }
    return {};
}

void CDampingForm::WriteDamping(int variable, double seconds) {
    Model().Variable(variable).WriteDamping(seconds, Access());
}

double CDampingForm::ReadDamping(int variable) {
    return Model().Variable(variable).ReadDamping(Access());
}

void CDampingForm::Show(int variable, float seconds) {
    MutableField(config::VariableKey(variable)).text = FormatText("%g", seconds);
}

void CDampingForm::Read() {
    m_note = texts::kDampingNote;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const auto seconds = static_cast<float>(ReadDamping(v));
        m_firstRead[static_cast<size_t>(v)] = seconds;
        m_held[static_cast<size_t>(v)] = seconds;
        FormField field;
        field.key = config::VariableKey(v);
        field.label = kLabels[v];
        field.kind = FieldKind::Number;
        field.suffix = texts::kSeconds;
        AddField(std::move(field));
        Show(v, seconds);
    }
}

void CDampingForm::SetText(const std::string& key, const std::string& text) {
    CConfigForm::SetText(key, text);
    m_okEnabled = true;
    m_note = LoadString(kIdEditedNote);
}

FormOutcome CDampingForm::Ok() {
    std::array<float, 3> entered{};
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const FormField& field = *Field(config::VariableKey(v));
        double seconds = 0.0;
        if (!platform::ParseDouble(field.text, seconds))
            return FormOutcome::Refuse(texts::kEnterNumber, field.key);
        if (seconds < kMinimum || seconds > kMaximum)
            return FormOutcome::Refuse(RangeMessage(), field.key);
        entered[static_cast<size_t>(v)] = static_cast<float>(seconds);
    }
    bool anyChanged = false;
    for (size_t i = 0; i < entered.size(); ++i)
        anyChanged = anyChanged || entered[i] != m_firstRead[i];
    if (!anyChanged) return FormOutcome::Close(FormResult::Ok);
    if (!ConfirmWrite()) return FormOutcome::Stay();

    bool nearest = false;
    try {
        CFormWaitCursor wait(*this);
        for (int v = kVarDp; v <= kVarPt; ++v) {
            const auto i = static_cast<size_t>(v);
            if (entered[i] == m_firstRead[i]) continue;
            MarkModified();
            m_writeAttempted = true;
            const std::string key = config::VariableKey(v);
            try {
                Write(key, Shown(m_held[i]), Shown(entered[i]),
                      [&] { WriteDamping(v, entered[i]); });
                m_held[i] = entered[i];
            } catch (const std::exception& e) {
                if (!IsNearestWarning(e)) throw;
                nearest = true;
            }
        }
        if (nearest) {
            ReportException(CCommException(commerr::kDampingNearest));
            for (int v = kVarDp; v <= kVarPt; ++v) {
                const auto seconds = static_cast<float>(ReadDamping(v));
                m_held[static_cast<size_t>(v)] = seconds;
                Show(v, seconds);
            }
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    if (!nearest) {
        NotifyWritten();
        return FormOutcome::Close(FormResult::Ok);
    }
    m_okEnabled = false;
    m_closeEnabled = true;
    m_note = LoadString(kIdApproximatedNote);
    FormOutcome outcome = FormOutcome::Stay(config::VariableKey(kVarDp));
    outcome.settled = true;
    return outcome;
}

FormOutcome CDampingForm::Close() { return FormOutcome::Close(FormResult::Ok); }

FormOutcome CDampingForm::Cancel() {
    if (!m_writeAttempted) return FormOutcome::Close(FormResult::Cancel);
    bool nearest = false;
    try {
        CFormWaitCursor wait(*this);
        for (int v = kVarDp; v <= kVarPt; ++v) {
            const auto i = static_cast<size_t>(v);
            if (m_held[i] == m_firstRead[i]) continue;
            MarkModified();
            try {
                Write(config::VariableKey(v), Shown(m_held[i]), Shown(m_firstRead[i]),
                      [&] { WriteDamping(v, m_firstRead[i]); });
                m_held[i] = m_firstRead[i];
            } catch (const std::exception& e) {
                if (!IsNearestWarning(e)) throw;
                nearest = true;
            }
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    if (nearest)
        Ui().MessageBox(LoadString(kIdRestoreApproximated), MsgButtons::Ok, MsgIcon::Exclamation);
    return FormOutcome::Close(FormResult::Cancel);
}
