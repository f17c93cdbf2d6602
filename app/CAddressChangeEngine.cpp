#include "app/CAddressChangeEngine.h"

#include "app/CChangeLog.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"

namespace {
constexpr unsigned kIdPollingAddress = 700;
constexpr unsigned kIdSameAddresses = 720;
constexpr unsigned kIdNoOldTransmitter = 723;
constexpr unsigned kIdNewAddressInUse = 724;
constexpr const char* kAddressRange = "Please enter an integer between %d and %d.";
constexpr int kStageCount = 5;
}  // namespace

CAddressChangeEngine::CAddressChangeEngine(WorkflowContext& context, int oldAddress, int newAddress)
    : m_connect(context), m_oldAddress(oldAddress), m_newAddress(newAddress) {
    SetProgressMaximum(kStageCount);
}

void CAddressChangeEngine::ShowAddress(int address) {
    SetStatusText(LoadString(kIdPollingAddress) + FormatText(":  %d", address));
}

bool CAddressChangeEngine::Refuse(unsigned textId, MsgIcon icon) {
    Ui().MessageBox(LoadString(textId), MsgButtons::Ok, icon);
    Finish(WorkflowResult::Failed);
    return false;
}

bool CAddressChangeEngine::Cancelling() {
    if (m_cancelSource && m_cancelSource()) RequestCancel();
    return CancelRequested();
}

bool CAddressChangeEngine::Step() {
    if (Finished()) return false;
    // Once the address write has gone out the transmitter may have moved, so
    // the workflow then connects at the new address whatever is asked.
    if (!m_addressWritten && Cancelling()) {
        Finish(WorkflowResult::Cancelled);
        return false;
    }
    try {
        switch (m_stage) {
            case Stage::Validate:
                for (int address : {m_oldAddress, m_newAddress}) {
                    if (address < CConnectEngine::kFirstAddress ||
                        address > CConnectEngine::kLastAddress) {
                        Ui().MessageBox(FormatText(kAddressRange, CConnectEngine::kFirstAddress,
                                                   CConnectEngine::kLastAddress),
                                        MsgButtons::Ok, MsgIcon::None);
                        Finish(WorkflowResult::Failed);
                        return false;
                    }
                }
                if (m_oldAddress == m_newAddress) {
                    return Refuse(kIdSameAddresses, MsgIcon::Exclamation);
                }
                m_stage = Stage::ProbeOld;
                break;
            case Stage::ProbeOld:
                ShowAddress(m_oldAddress);
                if (m_connect.Probe(m_oldAddress) != CConnectEngine::kCorvel) {
                    return Refuse(kIdNoOldTransmitter, MsgIcon::None);
                }
                m_stage = Stage::ProbeNew;
                break;
            case Stage::ProbeNew:
                ShowAddress(m_newAddress);
                if (m_connect.Probe(m_newAddress) != CConnectEngine::kNoAnswer) {
                    return Refuse(kIdNewAddressInUse, MsgIcon::None);
                }
                m_stage = Stage::Change;
                break;
            case Stage::Change: {
                CComm& comm = m_connect.Context().Comm();
                m_connect.DropDevice();
                if (comm.SelectDevice(static_cast<uint8_t>(m_oldAddress)) !=
                    CConnectEngine::kCorvel) {
                    RaiseCommError(commerr::kNoResponse);
                }
                // A cancel that arrived during the selection still keeps the
                // transmitter where it is.
                if (Cancelling()) {
                    m_connect.DropDevice();
                    Finish(WorkflowResult::Cancelled);
                    return false;
                }
                m_addressWritten = true;
                changelog::RecordWrite(
                    comm, texts::kConnectCaption, "polling address", std::to_string(m_oldAddress),
                    std::to_string(m_newAddress),
                    [&] { comm.WritePollingAddress(static_cast<uint8_t>(m_newAddress)); });
                m_connect.DropDevice();
                m_stage = Stage::Reconnect;
                break;
            }
            case Stage::Reconnect:
                ShowAddress(m_newAddress);
                m_connect.ConnectTo(m_newAddress);
                SetProgress(kStageCount);
                Finish(WorkflowResult::Done);
                return false;
        }
    } catch (const std::exception& e) {
        ReportException(e);
        Finish(WorkflowResult::Failed);
        return false;
    }
    SetProgress(static_cast<int>(m_stage));
    return true;
}
