#pragma once

#include <cstdint>
#include <optional>

#include "config/CConfigSummary.h"

class CComm;
class CProtocol;

// The transmitter side of the overview: the summary last read from the
// connected transmitter and whether it still holds. It is read only when asked
// (never polled); it goes when the transmitter is disconnected or another one
// is connected, and is marked stale once any write request has gone to the
// transmitter after it was read.
class CTransmitterCompare {
  public:
    // Reads the connected transmitter (see config::ReadTransmitterSummary).
    // On a failure the previous summary is dropped and the failure is thrown.
    void Read(CComm& comm);
    // Follows the connection: true when the summary was dropped or became stale.
    bool Follow(CComm& comm, bool connected);
    void Clear();

    bool HasSummary() const { return m_summary.has_value(); }
    bool Stale() const { return m_stale; }
    // Only while HasSummary().
    const CConfigSummary& Summary() const { return *m_summary; }

  private:
    std::optional<CConfigSummary> m_summary;
    const CProtocol* m_protocol = nullptr;
    uint64_t m_writeCount = 0;
    int m_address = -1;
    bool m_stale = false;
};
