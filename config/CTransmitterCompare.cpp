#include "config/CTransmitterCompare.h"

#include "config/TransmitterSummary.h"
#include "link/CProtocol.h"
#include "transmitter/CComm.h"

void CTransmitterCompare::Read(CComm& comm) {
    Clear();
    CConfigSummary summary = config::ReadTransmitterSummary(comm);
    m_protocol = &comm.Protocol();
    // Taken after the reads: they wrote nothing, and a write during them
    // would have failed the compare.
    m_writeCount = m_protocol->WriteRequestCount();
    m_address = comm.CurrentPollingAddress();
    m_summary = std::move(summary);
}

bool CTransmitterCompare::Follow(CComm& comm, bool connected) {
    if (!m_summary) return false;
    if (!connected || !comm.HasProtocol() || &comm.Protocol() != m_protocol ||
        comm.CurrentPollingAddress() != m_address) {
        Clear();
        return true;
    }
    if (!m_stale && m_protocol->WriteRequestCount() != m_writeCount) {
        m_stale = true;
        return true;
    }
    return false;
}

void CTransmitterCompare::Clear() {
    m_summary.reset();
    m_protocol = nullptr;
    m_writeCount = 0;
    m_address = -1;
    m_stale = false;
}
