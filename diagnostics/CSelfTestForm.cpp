#include "diagnostics/CSelfTestForm.h"

#include "app/CChangeLog.h"
#include "diagnostics/CErrorInfoForm.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {
constexpr unsigned kIdInProgress = 3252;
constexpr unsigned kIdNotCompleted = 3253;
constexpr int kSelfTestCoil = 0;
}  // namespace

CSelfTestForm::CSelfTestForm(CMVDoc& doc) : CTimedForm(doc) {}

std::string CSelfTestForm::Caption() const { return texts::kSelfTestCaption; }

std::string CSelfTestForm::StatusText() const { return LoadString(kIdInProgress); }

FormOutcome CSelfTestForm::Step() {
    if (!Running()) return FormOutcome::Close(FormResult::Ok);
    return m_started ? CheckResult() : StartSelfTest();
}

FormOutcome CSelfTestForm::StartSelfTest() {
    m_started = true;
    try {
        CFormWaitCursor wait(*this);
        changelog::RecordWrite(Model().Comm(), Caption(), "self test", std::string(), "started",
                               [&] { Model().Comm().SetCoil0(); });
    } catch (const std::exception& e) {
        ReportException(e);
        NotifyWritten();
        return Finish(FormResult::Ok);
    }
    SetDelayMs(kCheckDelayMs);
    return FormOutcome::Stay();
}

FormOutcome CSelfTestForm::CheckResult() {
    bool running = false;
    bool read = false;
    try {
        CFormWaitCursor wait(*this);
        running = Model().Comm().ReadCoil(kSelfTestCoil);
        read = true;
    } catch (const std::exception& e) {
        ReportException(e);
    }
    if (read && running) {
        Ui().MessageBox(LoadString(kIdNotCompleted), MsgButtons::Ok, MsgIcon::Stop);
    } else if (read) {
        CErrorInfoForm errorInformation(Doc());
        m_completed = errorInformation.Open();
        if (m_completed && m_viewErrorInformation) m_viewErrorInformation(errorInformation);
    }
    NotifyWritten();
    return Finish(FormResult::Ok);
}
