#include "diagnostics/CErrorInfoForm.h"

#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

CErrorInfoForm::CErrorInfoForm(CMVDoc& doc) : CConfigForm(doc, config::kTransmitterMode) {}

std::string CErrorInfoForm::Caption() const { return texts::kErrorInfoCaption; }

void CErrorInfoForm::Read() {
    m_lines.clear();
    m_status = Model().Comm().ReadStatusBytes();
    m_lines = diagnostics::StatusLines(m_status);
}

FormOutcome CErrorInfoForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
