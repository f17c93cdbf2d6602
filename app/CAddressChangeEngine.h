#pragma once

#include "app/CConnectEngine.h"
#include "app/CWorkflowEngine.h"
#include "platform/IUserInterface.h"

// Moves the transmitter at one polling address to another: checks that the
// addresses differ, that a Corvel answers at the old one and that nothing
// answers at the new one, orders the change and connects at the new address.
// A refusal or failure is shown and ends the workflow as failed.
class CAddressChangeEngine : public CWorkflowEngine {
  public:
    CAddressChangeEngine(WorkflowContext& context, int oldAddress, int newAddress);

    bool Step() override;

  private:
    enum class Stage { Validate, ProbeOld, ProbeNew, Change, Reconnect };

    bool Refuse(unsigned textId, MsgIcon icon);
    void ShowAddress(int address);

    CConnectEngine m_connect;
    int m_oldAddress;
    int m_newAddress;
    Stage m_stage = Stage::Validate;
};
