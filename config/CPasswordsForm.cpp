#include "config/CPasswordsForm.h"

#include <array>
#include <iterator>

#include "app/CSecurity.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr unsigned kIdUpdateQuestion = 3106;
constexpr int kHigh = CSecurity::kAdministrativeNumber;
constexpr int kFirstMedium = kHigh + 1;
constexpr int kLastMedium = CSecurity::kLastPasswordNumber;
// Medium passwords 1 to 6, then the high one: the order of single writes.
constexpr int kWriteOrder[] = {2, 3, 4, 5, 6, 7, kHigh};
constexpr int kPasswordCount = static_cast<int>(std::size(kWriteOrder));
// The change log names the passwords written by their numbers, never their texts.
constexpr const char* kPasswordsChanged = "passwords changed";

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

bool KeyboardCharacters(const std::string& text) {
    for (unsigned char c : text) {
        if (c < 32 || c > 126) return false;
    }
    return true;
}

}  // namespace

CPasswordsForm::CPasswordsForm(CMVDoc& doc, CSecurity& security)
    : CConfigForm(doc, config::kTransmitterMode), m_security(security) {}

std::string CPasswordsForm::Caption() const { return texts::kPasswordsCaption; }

std::string CPasswordsForm::KeyOf(int number) {
    if (number == kHigh) return "high";
    return "medium-" + std::to_string(number - kHigh);
}

void CPasswordsForm::Read() {
    for (int number = kFirstMedium; number <= kLastMedium; ++number) {
        FormField field;
        field.key = KeyOf(number);
        if (number == kFirstMedium) field.label = texts::kMediumPasswordsLabel;
        field.text = m_security.Password(number);
        field.maxLength = kMaximumLength;
        AddField(std::move(field));
    }
    FormField high;
    high.key = KeyOf(kHigh);
    high.label = texts::kHighPasswordLabel;
    high.text = m_security.Password(kHigh);
    high.maxLength = kMaximumLength;
    AddField(std::move(high));
}

void CPasswordsForm::SetText(const std::string& key, const std::string& text) {
    CConfigForm::SetText(key, Upper(text));
}

FormOutcome CPasswordsForm::Ok() {
    std::array<bool, CSecurity::kLastPasswordNumber + 1> changed{};
    int changedCount = 0;
    for (int n : kWriteOrder) {
        const FormField& field = *Field(KeyOf(n));
        if (field.text.size() > kMaximumLength) {
            std::string message = texts::kEnterNoMoreThanCharacters;
            message.replace(message.find("%1"), 2, std::to_string(kMaximumLength));
            return FormOutcome::Refuse(message, field.key);
        }
        if (!KeyboardCharacters(field.text))
            return FormOutcome::Refuse(texts::kPasswordCharacters, field.key);
        changed[static_cast<size_t>(n)] = field.text != m_security.Password(n);
        changedCount += changed[static_cast<size_t>(n)] ? 1 : 0;
    }
    if (changedCount == 0) return FormOutcome::Close(FormResult::Ok);
    if (Ui().MessageBox(LoadString(kIdUpdateQuestion), MsgButtons::OkCancel,
                        MsgIcon::Exclamation) != MsgAnswer::Ok) {
        return FormOutcome::Stay();
    }

    CComm& comm = Model().Comm();
    try {
        if (changedCount == kPasswordCount) {
            std::array<std::string, CSecurity::kMediumCount> medium;
            for (int number = kFirstMedium; number <= kLastMedium; ++number)
                medium[static_cast<size_t>(number - kFirstMedium)] = Field(KeyOf(number))->text;
            const std::string& high = Field(KeyOf(kHigh))->text;
            CFormWaitCursor wait(*this);
            std::string numbers = std::to_string(kHigh);
            for (int number = kFirstMedium; number <= kLastMedium; ++number)
                numbers += ", " + std::to_string(number);
            Write(kPasswordsChanged, std::string(), numbers,
                  [&] { m_security.WriteAll(comm, high, medium); });
        } else {
            for (int n : kWriteOrder) {
                if (!changed[static_cast<size_t>(n)]) continue;
                const std::string& text = Field(KeyOf(n))->text;
                CFormWaitCursor wait(*this);
                Write(kPasswordsChanged, std::string(), std::to_string(n),
                      [&] { m_security.WriteOne(comm, n, text); });
            }
        }
    } catch (const std::exception& e) {
        // What was written is held; OK again writes the rest.
        ReportException(e);
        return FormOutcome::Stay();
    }
    return FormOutcome::Close(FormResult::Ok);
}
