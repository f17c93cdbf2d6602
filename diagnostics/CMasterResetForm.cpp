#include "diagnostics/CMasterResetForm.h"

#include "app/CChangeLog.h"
#include "app/CConnectEngine.h"
#include "app/WorkflowContext.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr unsigned kIdBeingReset = 3250;
constexpr unsigned kIdNotResponding = 3251;
constexpr int kMasterResetCoil = 1;

// A transmitter that is still restarting: no device (offline) or no reply.
bool NotBackYet(const std::exception& e) {
    const auto* comm = dynamic_cast<const CCommException*>(&e);
    return comm != nullptr &&
           (comm->Error() == commerr::kOffline || comm->Error() == commerr::kNoResponse);
}

}  // namespace

CMasterResetForm::CMasterResetForm(WorkflowContext& context, Clock clock)
    : CTimedForm(context.doc), m_context(context), m_clock(std::move(clock)) {
    if (!m_clock) m_clock = [] { return std::chrono::steady_clock::now(); };
}

std::string CMasterResetForm::Caption() const { return texts::kMasterResetCaption; }

std::string CMasterResetForm::StatusText() const { return LoadString(kIdBeingReset); }

FormOutcome CMasterResetForm::Step() {
    if (!Running()) return FormOutcome::Close(FormResult::Ok);
    SetDelayMs(kTickMs);
    return m_resetSent ? Poll() : SendReset();
}

FormOutcome CMasterResetForm::SendReset() {
    m_resetAt = m_clock();
    m_lastPollAt = m_resetAt;
    m_resetSent = true;
    try {
        CFormWaitCursor wait(*this);
        changelog::RecordWrite(Model().Comm(), Caption(), "master reset", std::string(), "reset",
                               [&] {
                                   try {
                                       Model().Comm().SetCoil(kMasterResetCoil, 1);
                                   } catch (const std::exception& e) {
                                       // A transmitter may restart before its reply is out: then it
                                       // is waited for.
                                       if (!NotBackYet(e)) throw;
                                   }
                               });
    } catch (const std::exception& e) {
        Finish(FormResult::Abort);
        return WriteFailed(e);
    }
    return FormOutcome::Stay();
}

FormOutcome CMasterResetForm::Poll() {
    if (m_clock() - m_lastPollAt < kPollInterval) return FormOutcome::Stay();
    m_lastPollAt = m_clock();
    ++m_polls;
    try {
        CFormWaitCursor wait(*this);
        Model().Comm().ReadTag();
        m_answered = true;
    } catch (const std::exception& e) {
        if (NotBackYet(e)) {
            if (m_clock() - m_resetAt > kGiveUpAfter) return GiveUp();
            return FormOutcome::Stay();
        }
        ReportException(e);
    }
    NotifyWritten();
    return Finish(FormResult::Ok);
}

FormOutcome CMasterResetForm::GiveUp() {
    m_gaveUp = true;
    Ui().MessageBox(LoadString(kIdNotResponding), MsgButtons::Ok, MsgIcon::Stop);
    try {
        CConnectEngine(m_context).Disconnect();
    } catch (const std::exception& e) {
        ReportException(e);
    }
    return Finish(FormResult::Ok);
}
