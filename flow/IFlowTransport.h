#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "units/CDimValue.h"

// What the flow configuration needs from the transmitter command layer to move
// its flow blocks. Failures are raised as the command layer's exceptions.
class IFlowTransport {
  public:
    using Block = std::array<uint8_t, 24>;

    virtual ~IFlowTransport() = default;

    // The flow-application reply: byte 8 == 1 means EMS type 1, else byte 10 == 1
    // means EMS type 2.
    virtual std::vector<uint8_t> ReadFlowApplication() = 0;
    // The DP sensor's upper range limit, with its unit.
    virtual CDimValue DpUpperRangeLimit() = 0;
    virtual void WriteFlowBlock(const Block& block) = 0;
    // The block chosen by `selector` (the step of the receive).
    virtual Block ReadFlowBlock(uint8_t selector) = 0;
};
