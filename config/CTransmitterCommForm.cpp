#include "config/CTransmitterCommForm.h"

#include "config/UnsignedEntry.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"

namespace {
constexpr const char* kTurnaround = "turnaround";
}  // namespace

std::string CTransmitterCommForm::Caption() const {
    const std::string caption = texts::kTransmitterCommCaption;
    return InSetupMode() ? texts::kSetupCaptionPrefix + caption : caption;
}

void CTransmitterCommForm::Read() {
    m_firstRead = Model().ReadTurnaroundDelay(Access());
    FormField field;
    field.key = kTurnaround;
    field.label = texts::kTurnaroundDelayLabel;
    field.kind = FieldKind::Number;
    field.text = std::to_string(m_firstRead);
    field.suffix = texts::kMilliseconds;
    AddField(std::move(field));
}

FormOutcome CTransmitterCommForm::Ok() {
    unsigned long delay = 0;
    const std::string refused =
        config::ReadUnsigned(Field(kTurnaround)->text, 0, kMaximumDelay, delay);
    if (!refused.empty()) return FormOutcome::Refuse(refused, kTurnaround);
    if (delay < kWarnBelow && Ui().MessageBox(texts::kTurnaroundDelayWarning, MsgButtons::OkCancel,
                                              MsgIcon::Exclamation) != MsgAnswer::Ok) {
        return FormOutcome::Stay(kTurnaround);
    }
    const auto ms = static_cast<uint16_t>(delay);
    if (ms != m_firstRead) {
        try {
            CFormWaitCursor wait(*this);
            const std::string unit = std::string(" ") + texts::kMilliseconds;
            Write(kTurnaround, std::to_string(m_firstRead) + unit, std::to_string(ms) + unit,
                  [&] { Model().WriteTurnaroundDelay(ms, Access()); });
        } catch (const std::exception& e) {
            // The delay does not touch the process: its text only, no
            // "Configuration failed".
            ReportException(e);
            return FormOutcome::Close(FormResult::Abort);
        }
        MarkModified();
    }
    return FormOutcome::Close(FormResult::Ok);
}
