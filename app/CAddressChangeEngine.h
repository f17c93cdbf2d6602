#pragma once

#include <functional>

#include "app/CConnectEngine.h"
#include "app/CWorkflowEngine.h"
#include "platform/IUserInterface.h"

// Moves the transmitter at one polling address to another: checks that the
// addresses differ, that a Corvel answers at the old one and that nothing
// answers at the new one, orders the change and connects at the new address.
// A refusal or failure is shown and ends the workflow as failed. A cancel is
// honoured until the address write is sent; after it the workflow completes.
class CAddressChangeEngine : public CWorkflowEngine {
  public:
    CAddressChangeEngine(WorkflowContext& context, int oldAddress, int newAddress);

    bool Step() override;
    // True once the write of the new polling address has been sent.
    bool AddressWritten() const { return m_addressWritten; }
    // Asked between the transactions of a step, so that a cancel that arrives
    // while one of them waits is acted on before the address write.
    void SetCancelSource(std::function<bool()> cancelled) { m_cancelSource = std::move(cancelled); }

  private:
    enum class Stage { Validate, ProbeOld, ProbeNew, Change, Reconnect };

    bool Refuse(unsigned textId, MsgIcon icon);
    // A cancel requested here or by the cancel source.
    bool Cancelling();
    void ShowAddress(int address);

    CConnectEngine m_connect;
    int m_oldAddress;
    int m_newAddress;
    Stage m_stage = Stage::Validate;
    bool m_addressWritten = false;
    std::function<bool()> m_cancelSource;
};
