#include "config/CConfigForm.h"

#include <stdexcept>

#include "app/CChangeLog.h"
#include "app/CMVDoc.h"
#include "app/SafetyNotices.h"
#include "link/ErrorReport.h"
#include "platform/DebugTrace.h"
#include "platform/Numbers.h"
#include "platform/UiServices.h"

CConfigForm::CConfigForm(CMVDoc& doc, int mode) : m_doc(doc), m_mode(mode) {}

CConfigForm::~CConfigForm() = default;

CTransmitter& CConfigForm::Model() { return m_doc.Transmitter(); }

const CTransmitter& CConfigForm::Model() const { return m_doc.Transmitter(); }

bool CConfigForm::Open() {
    m_fields.clear();
    try {
        CFormWaitCursor wait(*this);
        Read();
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
    return true;
}

const FormField* CConfigForm::Field(const std::string& key) const {
    for (const FormField& field : m_fields) {
        if (field.key == key) return &field;
    }
    return nullptr;
}

FormField& CConfigForm::AddField(FormField field) {
    m_fields.push_back(std::move(field));
    return m_fields.back();
}

FormField& CConfigForm::MutableField(const std::string& key) {
    for (FormField& field : m_fields) {
        if (field.key == key) return field;
    }
    throw std::logic_error("no field " + key);
}

void CConfigForm::SetText(const std::string& key, const std::string& text) {
    for (FormField& field : m_fields) {
        if (field.key == key && field.IsEdit()) field.text = text;
    }
}

void CConfigForm::SetChoice(const std::string& key, int index) {
    for (FormField& field : m_fields) {
        if (field.key != key || field.kind != FieldKind::Choice) continue;
        if (index >= -1 && index < static_cast<int>(field.choices.size())) field.selected = index;
    }
}

std::vector<int> CConfigForm::ChoiceCodes(const std::string&) const { return {}; }

std::vector<FormField> CConfigForm::TerminalFields() const { return m_fields; }

std::vector<std::string> CConfigForm::TerminalKeys() const {
    std::vector<std::string> keys;
    for (const FormField& field : TerminalFields()) keys.push_back(field.key);
    return keys;
}

std::string CConfigForm::SetValue(const std::string& key, const std::string& value) {
    const FormField* field = Field(key);
    if (field == nullptr) return "there is no field \"" + key + "\"";
    if (field->IsEdit()) {
        SetText(key, value);
        return std::string();
    }
    if (field->kind != FieldKind::Choice) return key + " is shown only and cannot be set";
    for (size_t i = 0; i < field->choices.size(); ++i) {
        if (field->choices[i] == value) {
            SetChoice(key, static_cast<int>(i));
            return std::string();
        }
    }
    long code = 0;
    const std::vector<int> codes = ChoiceCodes(key);
    if (platform::ParseLong(value, code)) {
        for (size_t i = 0; i < codes.size() && i < field->choices.size(); ++i) {
            if (codes[i] == code) {
                SetChoice(key, static_cast<int>(i));
                return std::string();
            }
        }
    }
    std::string reason = key + ": \"" + value + "\" is not in the list (";
    for (size_t i = 0; i < field->choices.size(); ++i) {
        if (i > 0) reason += ", ";
        reason += field->choices[i];
        if (i < codes.size()) reason += " = " + std::to_string(codes[i]);
    }
    return reason + ")";
}

FormOutcome CConfigForm::Cancel() { return FormOutcome::Close(FormResult::Cancel); }

bool CConfigForm::ConfirmWrite() const { return InSetupMode() || app::ConfirmManualMode(); }

void CConfigForm::NotifyWritten() const {
    if (!InSetupMode()) app::ShowProcessValueNotice();
}

FormOutcome CConfigForm::WriteFailed(const std::exception& failure) const {
    ReportException(failure);
    if (!InSetupMode()) app::ShowConfigurationFailed();
    return FormOutcome::Close(FormResult::Abort);
}

void CConfigForm::MarkModified() {
    if (InSetupMode()) m_doc.SetModified(true);
}

void CConfigForm::Write(const std::string& field, const std::string& before,
                        const std::string& after, const std::function<void()>& write) {
    trace::Write("%s %s: %s -> %s", Caption().c_str(), field.c_str(), before.c_str(),
                 after.c_str());
    if (InSetupMode()) {
        write();
        return;
    }
    changelog::RecordWrite(Model().Comm(), Caption(), field, before, after, write,
                           KeptValue(field));
}

std::function<std::string()> CConfigForm::KeptValue(const std::string&) { return {}; }

CFormWaitCursor::CFormWaitCursor(const CConfigForm& form) : m_shown(!form.InSetupMode()) {
    if (m_shown) Ui().BeginWaitCursor();
}

CFormWaitCursor::~CFormWaitCursor() {
    if (m_shown) Ui().EndWaitCursor();
}
