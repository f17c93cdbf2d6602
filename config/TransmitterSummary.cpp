#include "config/TransmitterSummary.h"

#include "link/CProtocol.h"
#include "platform/UiServices.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace config {

CConfigSummary ReadTransmitterSummary(CComm& comm) {
    CProtocol& protocol = comm.Protocol();
    for (int group = 0; group < static_cast<int>(CacheGroup::Count); ++group)
        protocol.SetCacheValid(static_cast<CacheGroup>(group), false);

    CWaitCursor wait;
    CTransmitter scratch(comm);
    CConfigSummary::RangeLimits ranges;
    scratch.ReceiveDataFormats();
    for (int v = kVarDp; v <= kVarPt; ++v) {
        scratch.ReceiveVariable(v);
        // Served from the register group the receive has just read.
        const VariableSettings settings = scratch.Variable(v).ReadSettings(kAccessTransmitter);
        ranges[static_cast<size_t>(v)] =
            std::make_pair(settings.lowerRangeLimit, settings.upperRangeLimit);
    }
    scratch.ReceiveDeviceInformation();
    scratch.ReceiveLcd();
    CConfigSummary summary = CConfigSummary::FromModel(scratch, ranges);
    // Send and Receive leave the flow configuration alone: the transmitter's
    // is not read, so the summary says nothing of it.
    summary.RemoveGroup("flow");
    return summary;
}

}  // namespace config
