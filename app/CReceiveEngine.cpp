#include "app/CReceiveEngine.h"

#include "app/CMVDoc.h"
#include "app/ConfigurationSteps.h"
#include "app/DocumentName.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {
constexpr unsigned kIdReceiveFailed = 395;
constexpr unsigned kIdReceiveCancelled = 396;
constexpr unsigned kIdOperationComplete = 405;
constexpr const char* kInitialStatus = "Receiving data...";
}  // namespace

CReceiveEngine::CReceiveEngine(WorkflowContext& context) : m_context(context) {
    SetStatusText(kInitialStatus);
}

bool CReceiveEngine::Start(const SaveModifiedQuestion& saveModified) {
    if (m_context.doc.IsModified() && saveModified && !saveModified()) {
        Finish(WorkflowResult::NotStarted);
        return false;
    }
    // From here on the document no longer holds the configuration of its file:
    // until the receive completes it is untitled and modified, so that neither
    // a half-filled configuration nor its defaults can replace that file
    // without a question.
    m_context.Model().Reset();
    m_context.doc.SetPathName({}, false);
    m_context.doc.SetModified(true);
    m_step = 1;
    m_started = true;
    return true;
}

bool CReceiveEngine::Step() {
    if (Finished()) return false;
    if (!m_started) {
        Finish(WorkflowResult::NotStarted);
        return false;
    }
    if (m_step > app::kStepCeiling) RequestCancel();
    if (CancelRequested()) {
        Ui().MessageBox(LoadString(kIdReceiveCancelled), MsgButtons::Ok, MsgIcon::Exclamation);
        Finish(WorkflowResult::Cancelled);
        return false;
    }
    const int step = m_step;
    SetProgress((step - 1) * 100 / (app::kConfigurationStepCount - 1));
    SetStatusText(app::ConfigurationStepText(step));
    try {
        PerformStep(step);
    } catch (const std::exception& e) {
        ReportException(e);
        Ui().MessageBox(LoadString(kIdReceiveFailed), MsgButtons::Ok, MsgIcon::Stop);
        Finish(WorkflowResult::Failed);
        return false;
    }
    ++m_step;
    if (step < app::kConfigurationStepCount) return true;
    Complete();
    return false;
}

void CReceiveEngine::PerformStep(int step) {
    CTransmitter& model = m_context.Model();
    CWaitCursor wait;
    switch (step) {
        case 1:
            model.ReceiveDataFormats();
            break;
        case 2:
            model.ReceiveVariable(transmitter::kVarDp);
            break;
        case 3:
            model.ReceiveVariable(transmitter::kVarSp);
            break;
        case 4:
            model.ReceiveVariable(transmitter::kVarPt);
            break;
        case 5:
            model.ReceiveDeviceInformation();
            break;
        case 6:
            model.ReceiveLcd();
            break;
        default:
            break;
    }
}

void CReceiveEngine::Complete() {
    m_documentName = app::DocumentNameFromTag(m_context.Comm().CurrentTag());
    m_context.doc.SetModified(true);
    SetStatusText(LoadString(kIdOperationComplete));
    Ui().Beep();
    Finish(WorkflowResult::Done);
}
