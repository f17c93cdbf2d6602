#pragma once

#include <vector>

#include "flow/IFlowTransport.h"

class CComm;

// Carries the flow configuration's blocks over the command layer: the blocks
// travel as legacy requests 165 (write) and 166 (read), so with the inert legacy
// transport nothing reaches the device and reads give zeros.
class CFlowTransport : public IFlowTransport {
  public:
    explicit CFlowTransport(CComm& comm) : m_comm(comm) {}

    // The flow-application reply. The Modbus transmitters report no flow
    // application: every byte is 0, so the EMS type derived from it is 0.
    std::vector<uint8_t> ReadFlowApplication() override;
    // The DP upper range limit as the transmitter reports it, in its DP units.
    CDimValue DpUpperRangeLimit() override;
    void WriteFlowBlock(const Block& block) override;
    Block ReadFlowBlock(uint8_t selector) override;

  private:
    CComm& m_comm;
};
