#include "diagnostics/CTimedForm.h"

#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

CTimedForm::CTimedForm(CMVDoc& doc) : CConfigForm(doc, config::kTransmitterMode) {}

void CTimedForm::Read() {
    // The tag table and the status bar show what the transmitter holds now.
    Model().Comm().ReadTag();
    FormField field;
    field.key = kStatusKey;
    field.kind = FieldKind::Value;
    field.text = StatusText();
    AddField(std::move(field));
}

FormOutcome CTimedForm::Start() {
    if (!ConfirmWrite()) return FormOutcome::Close(FormResult::Cancel);
    m_running = true;
    m_delayMs = StartDelayMs();
    return FormOutcome::Stay();
}

FormOutcome CTimedForm::Finish(FormResult result) {
    m_running = false;
    return FormOutcome::Close(result);
}

FormOutcome CTimedForm::Ok() { return FormOutcome::Stay(); }

FormOutcome CTimedForm::Cancel() {
    if (m_running) return FormOutcome::Stay();
    return FormOutcome::Close(FormResult::Cancel);
}
