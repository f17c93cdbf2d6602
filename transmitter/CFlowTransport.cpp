#include "transmitter/CFlowTransport.h"

#include <algorithm>

#include "transmitter/CComm.h"
#include "transmitter/ModelTypes.h"

namespace {
// Bytes of the flow-application reply: response code, status and the
// application flags up to byte 10.
constexpr size_t kFlowApplicationReplySize = 12;
}  // namespace

std::vector<uint8_t> CFlowTransport::ReadFlowApplication() {
    return std::vector<uint8_t>(kFlowApplicationReplySize, 0);
}

CDimValue CFlowTransport::DpUpperRangeLimit() {
    const VariableSettings settings = m_comm.ReadVariableSettings(transmitter::kVarDp);
    return CDimValue(settings.upperRangeLimit, CUnit(settings.unitsCode, transmitter::kVarDp));
}

void CFlowTransport::WriteFlowBlock(const Block& block) {
    // The request holds 25 bytes; a flow block fills the first 24.
    std::array<uint8_t, 25> request{};
    std::copy(block.begin(), block.end(), request.begin());
    m_comm.WriteFlowBlock(request);
}

IFlowTransport::Block CFlowTransport::ReadFlowBlock(uint8_t selector) {
    const std::array<uint8_t, 25> reply = m_comm.ReadFlowBlock(selector);
    Block block{};
    std::copy_n(reply.begin(), block.size(), block.begin());
    return block;
}
