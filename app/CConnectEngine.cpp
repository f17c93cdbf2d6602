#include "app/CConnectEngine.h"

#include "app/CMVDoc.h"
#include "link/CProtocol.h"
#include "link/ErrorReport.h"
#include "link/LinkSettings.h"
#include "platform/UiServices.h"
#include "transmitter/CComm.h"

void CConnectEngine::OpenLink() {
    CComm& comm = m_context.Comm();
    if (!comm.HasProtocol()) comm.CreateProtocol(m_context.portFactory);
    CProtocol& protocol = comm.Protocol();
    LoadLinkScheduling(m_context.settings, protocol);
    if (LoadPortSettings(m_context.settings, protocol) != 0 || protocol.Open() != 0) {
        RaiseCommError(commerr::kDriverInit);
    }
    m_context.doc.SetLinkAvailable(true);
}

void CConnectEngine::EnsureLink() {
    CComm& comm = m_context.Comm();
    if (!comm.HasProtocol() || !comm.Protocol().HasLink()) OpenLink();
}

int CConnectEngine::Probe(int address) {
    if (address < kFirstAddress || address > kLastAddress) RaiseCommError(commerr::kIllegalValue);
    EnsureLink();
    CWaitCursor wait;
    return m_context.Comm().IdentifyDevice(static_cast<uint8_t>(address));
}

void CConnectEngine::ConnectTo(int address) {
    if (address < kFirstAddress || address > kLastAddress) RaiseCommError(commerr::kIllegalValue);
    OpenLink();
    CWaitCursor wait;
    CComm& comm = m_context.Comm();
    // A foreign device raises error 9 inside; silence leaves nothing selected.
    if (comm.SelectDevice(static_cast<uint8_t>(address)) != kCorvel) {
        RaiseCommError(commerr::kNoResponse);
    }
    try {
        comm.ReadTag();
        m_context.security.ReadAll(comm);
    } catch (...) {
        // A transmitter whose tag or security could not be read is not
        // connected: it must not stay reachable under the security state of
        // the transmitter before it.
        DropDevice();
        throw;
    }
    m_context.security.ForgetLogIn();
    m_context.doc.SetPollingAddress(comm.CurrentPollingAddress());
}

void CConnectEngine::DropDevice() {
    CComm& comm = m_context.Comm();
    if (comm.HasProtocol()) comm.ResetDevice();
}

void CConnectEngine::Disconnect() {
    CComm& comm = m_context.Comm();
    if (comm.IsDeviceSelected()) m_context.doc.SetPollingAddress(comm.CurrentPollingAddress());
    if (comm.HasProtocol()) comm.Disconnect();
}

int CConnectEngine::LogInAfterConnect() {
    CSecurity& security = m_context.security;
    const AccessContext access = m_context.Access();
    if (!access.connected || !security.Enabled()) return security.CurrentAccessState(access);
    std::optional<std::string> password;
    {
        // The prompt may come up under a wait cursor (the start-up's).
        CPromptCursor arrow;
        password = Ui().PromptPassword();
    }
    if (!password) {
        security.SetStoredLevel(app::kAccessLow);
        return security.CurrentAccessState(access);
    }
    return security.LogIn(access, *password);
}
