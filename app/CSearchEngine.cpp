#include "app/CSearchEngine.h"

#include "app/CMVDoc.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {
constexpr unsigned kIdPollingAddress = 700;
constexpr const char* kInitialStatus = "Polling address...";
}  // namespace

CSearchEngine::CSearchEngine(WorkflowContext& context) : m_connect(context) {
    SetProgressMaximum(CConnectEngine::kLastAddress);
    SetStatusText(kInitialStatus);
    if (context.Connected()) m_savedAddress = context.Comm().CurrentPollingAddress();
}

bool CSearchEngine::Step() {
    if (Finished()) return false;
    if (CancelRequested()) {
        End(WorkflowResult::Cancelled);
        return false;
    }
    const int address = m_nextAddress;
    SetStatusText(LoadString(kIdPollingAddress) + FormatText(":  %d", address));
    SetProgress(address);
    try {
        ProbeAddress(address);
    } catch (const std::exception& e) {
        ReportException(e);
        m_foundAddresses.clear();
        m_foundLines.clear();
        m_foundTexts.clear();
        End(WorkflowResult::Cancelled);
        return false;
    }
    if (address < CConnectEngine::kLastAddress && !CancelRequested()) {
        ++m_nextAddress;
        return true;
    }
    End(CancelRequested() ? WorkflowResult::Cancelled : WorkflowResult::Done);
    return false;
}

void CSearchEngine::ProbeAddress(int address) {
    if (m_connect.Probe(address) != CConnectEngine::kCorvel) return;
    CComm& comm = m_connect.Context().Comm();
    m_connect.DropDevice();
    if (comm.SelectDevice(static_cast<uint8_t>(address)) != CConnectEngine::kCorvel) return;
    const DeviceTexts texts = comm.ReadDeviceInformation();
    m_foundAddresses.push_back(address);
    m_foundTexts.emplace_back(texts.tag, texts.descriptor);
    m_foundLines.push_back(
        FormatText("\t%i\t%s\t%s", address, texts.tag.c_str(), texts.descriptor.c_str()));
}

void CSearchEngine::End(WorkflowResult result) {
    Finish(result);
    RestoreSaved();
}

void CSearchEngine::RestoreSaved() {
    try {
        m_connect.DropDevice();
        if (m_savedAddress < 0) return;
        CComm& comm = m_connect.Context().Comm();
        if (comm.SelectDevice(static_cast<uint8_t>(m_savedAddress)) != CConnectEngine::kCorvel) {
            RaiseCommError(commerr::kNoResponse);
        }
        comm.ReadTag();
        m_connect.Context().doc.SetPollingAddress(m_savedAddress);
    } catch (const std::exception& e) {
        ReportException(e);
    }
}
