#include "app/CSendEngine.h"

#include "app/CChangeLog.h"
#include "app/ConfigurationSteps.h"
#include "app/SafetyNotices.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {
constexpr unsigned kIdProcessValueNotice = 392;
constexpr unsigned kIdSendFailed = 393;
constexpr unsigned kIdSendCancelled = 394;
constexpr unsigned kIdOperationComplete = 405;
constexpr const char* kInitialStatus = "Sending data...";

}  // namespace

CSendEngine::CSendEngine(WorkflowContext& context) : m_context(context) {
    SetStatusText(kInitialStatus);
}

bool CSendEngine::Start() { return Start(std::string()); }

bool CSendEngine::Start(const std::string& preface) {
    if (!app::ConfirmManualMode(preface)) {
        Finish(WorkflowResult::NotStarted);
        return false;
    }
    m_started = true;
    return true;
}

bool CSendEngine::Step() {
    if (Finished()) return false;
    if (!m_started) {
        Finish(WorkflowResult::NotStarted);
        return false;
    }
    if (m_step > app::kStepCeiling) RequestCancel();
    if (CancelRequested()) {
        Finish(WorkflowResult::Cancelled);
        return false;
    }
    const int step = m_step++;
    SetProgress(step * 100 / app::kConfigurationStepCount);
    SetStatusText(app::ConfigurationStepText(step));
    try {
        PerformStep(step);
    } catch (const std::exception& e) {
        ReportException(e);
        Finish(WorkflowResult::Failed);
        return false;
    }
    if (step < app::kConfigurationStepCount) return true;
    SetStatusText(LoadString(kIdOperationComplete));
    Finish(WorkflowResult::Done);
    return false;
}

void CSendEngine::PerformStep(int step) {
    CTransmitter& model = m_context.Model();
    CWaitCursor wait;
    if (!ChangeLog().Keeps()) {
        WriteStep(step);
        return;
    }
    // The change log gets one record per field the step writes: what the
    // transmitter held before, what the document sends, and how it ended.
    const app::ShownValues before = app::SentValues(model, step, transmitter::kAccessTransmitter);
    try {
        WriteStep(step);
    } catch (const std::exception& e) {
        RecordStep(step, before, &e);
        throw;
    }
    RecordStep(step, before, nullptr);
}

void CSendEngine::RecordStep(int step, const app::ShownValues& before,
                             const std::exception* failure) {
    CTransmitter& model = m_context.Model();
    const app::ShownValues sent = app::SentValues(model, step, transmitter::kAccessDocument);
    for (size_t i = 0; i < sent.size(); ++i) {
        ChangeRecord record =
            changelog::RecordFor(model.Comm(), texts::kSendCaption, sent[i].first,
                                 i < before.size() ? before[i].second : "", sent[i].second);
        record.outcome = failure ? ChangeRecord::kRejected : ChangeRecord::kDone;
        if (failure) record.error = MessageText(*failure);
        ChangeLog().Append(record);
    }
}

void CSendEngine::WriteStep(int step) {
    CTransmitter& model = m_context.Model();
    switch (step) {
        case 1:
            model.SendDataFormats();
            break;
        case 2:
            model.SendVariable(transmitter::kVarDp);
            break;
        case 3:
            model.SendVariable(transmitter::kVarSp);
            break;
        case 4:
            model.SendVariable(transmitter::kVarPt);
            break;
        case 5:
            model.SendDeviceInformation();
            model.Comm().ReadTag();
            break;
        case 6:
            model.SendLcd();
            break;
        default:
            break;
    }
}

unsigned CSendEngine::OutcomeTextId(WorkflowResult result) {
    switch (result) {
        case WorkflowResult::Done:
            return kIdProcessValueNotice;
        case WorkflowResult::Cancelled:
            return kIdSendCancelled;
        case WorkflowResult::Failed:
            return kIdSendFailed;
        default:
            return 0;
    }
}

void CSendEngine::ReportOutcome(WorkflowResult result) {
    const unsigned id = OutcomeTextId(result);
    if (id == 0) return;
    Ui().MessageBox(LoadString(id), MsgButtons::Ok,
                    result == WorkflowResult::Done ? MsgIcon::Exclamation : MsgIcon::Stop);
}
