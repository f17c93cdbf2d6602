#pragma once

#include "app/WorkflowContext.h"

// Connecting to one transmitter: opening the link with the stored settings,
// probing an address, selecting a transmitter and reading what the program
// keeps of it, dropping it again, and the log-in that follows a connection.
// Every failure is raised as the exception of its error number.
class CConnectEngine {
  public:
    // Probe results.
    static constexpr int kNoAnswer = 0;
    static constexpr int kCorvel = 1;
    static constexpr int kOtherDevice = 2;

    static constexpr int kFirstAddress = 1;
    static constexpr int kLastAddress = 247;

    explicit CConnectEngine(WorkflowContext& context) : m_context(context) {}

    // Creates the protocol when there is none, loads link scheduling and port
    // settings and opens the port; any failure there is error 7. An open port
    // marks the document's link available.
    void OpenLink();
    // Probes one address (opening the link first when it is closed).
    int Probe(int address);
    // Selects the transmitter, reads its tag and its security records and
    // stores its polling address in the document. Nobody is logged in to it
    // yet (level Low). When a read after the selection fails, the selection is
    // undone before the failure is raised: nothing is connected then.
    void ConnectTo(int address);
    // Deselects the current transmitter; the link stays open.
    void DropDevice();
    // Stores the current polling address in the document and closes the link.
    void Disconnect();
    // After a connection: asks for the password when security is on. Cancel
    // gives level Low; a password logs in. Returns the access state.
    int LogInAfterConnect();

    bool Connected() { return m_context.Connected(); }
    WorkflowContext& Context() { return m_context; }

  private:
    void EnsureLink();

    WorkflowContext& m_context;
};
