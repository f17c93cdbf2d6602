#include "app/CStartupConnect.h"

#include "app/CMVDoc.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {
constexpr unsigned kIdNotCorvel = 2100;
constexpr unsigned kIdNotInCommunication = 2101;
}  // namespace

CStartupConnect::CStartupConnect(WorkflowContext& context, Callbacks callbacks)
    : m_context(context), m_callbacks(std::move(callbacks)), m_connect(context) {}

void CStartupConnect::CloseStartupWindow() {
    if (m_callbacks.closeStartupWindow) m_callbacks.closeStartupWindow();
}

bool CStartupConnect::Run() {
    try {
        CWaitCursor wait;
        m_connect.OpenLink();
        m_context.doc.SetLinkAvailable(true);
    } catch (const std::exception& e) {
        // Every failure to open the link leaves the program offline.
        m_context.doc.SetLinkAvailable(false);
        ReportException(e);
        CloseStartupWindow();
        return false;
    }
    for (;;) {
        std::optional<std::string> message;
        {
            CWaitCursor wait;
            message = Attempt();
        }
        if (!message) return true;
        CloseStartupWindow();
        if (message->empty()) *message = LoadString(kIdNotInCommunication);
        RetryAnswer answer = RetryAnswer::Cancel;
        if (m_callbacks.retryPrompt) {
            // The prompt waits for the user under the start-up's wait cursor.
            CPromptCursor arrow;
            answer = m_callbacks.retryPrompt(*message);
        }
        switch (answer) {
            case RetryAnswer::Cancel:
                m_context.doc.SetPollingAddress(-1);
                return false;
            case RetryAnswer::RetryAddress1:
                break;
            case RetryAnswer::ConnectDialog: {
                bool ok = false;
                if (m_callbacks.connectDialog) {
                    CPromptCursor arrow;
                    ok = m_callbacks.connectDialog();
                }
                if (!ok) return m_context.Connected();
                if (m_context.Connected()) return true;
                break;
            }
        }
    }
}

std::optional<std::string> CStartupConnect::Attempt() {
    try {
        const int probe = m_connect.Probe(kStartAddress);
        if (probe == CConnectEngine::kOtherDevice) return LoadString(kIdNotCorvel);
        if (probe != CConnectEngine::kCorvel) return std::string();
        try {
            m_connect.ConnectTo(kStartAddress);
        } catch (const CCommException& e) {
            if (e.Error() != commerr::kNotCorvel) throw;
            m_connect.DropDevice();
            return LoadString(kIdNotCorvel);
        }
    } catch (const std::exception& e) {
        ReportException(e);
        return std::string();
    }
    CloseStartupWindow();
    m_connect.LogInAfterConnect();
    return std::nullopt;
}
