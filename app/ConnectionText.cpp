#include "app/ConnectionText.h"

#include "app/WorkflowContext.h"
#include "link/CCommLink.h"
#include "link/CProtocol.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {

constexpr const char* kUntagged = "a transmitter without a tag";

// The tag table holds eight characters padded with blanks or zeros.
std::string TrimmedTag(const CComm& comm) {
    std::string tag = comm.CurrentTag();
    const size_t end = tag.find_last_not_of(std::string(" \0", 2));
    tag.erase(end == std::string::npos ? 0 : end + 1);
    return tag.empty() ? std::string(kUntagged) : tag;
}

// "on /dev/ttyUSB0, 9600 bit/s", or empty when no link is open.
std::string LinkText(CComm& comm) {
    if (!comm.HasProtocol() || !comm.Protocol().HasLink()) return {};
    const CCommLink& link = *comm.Protocol().Link();
    std::string port = link.PortLabel();
    const std::string device = link.DeviceName();
    if (device != port) port += " (" + device + ")";
    return FormatText(" on %s, %g bit/s", port.c_str(), link.BitRate());
}

}  // namespace

namespace app {

std::string ConnectedText(WorkflowContext& context) {
    if (!context.Connected()) return {};
    CComm& comm = context.Comm();
    return FormatText("Connected to %s at address %d", TrimmedTag(comm).c_str(),
                      comm.CurrentPollingAddress()) +
           LinkText(comm);
}

std::string AddressMovedText(WorkflowContext& context, int oldAddress) {
    if (!context.Connected()) return {};
    CComm& comm = context.Comm();
    return FormatText("Moved %s from address %d to address %d", TrimmedTag(comm).c_str(),
                      oldAddress, comm.CurrentPollingAddress()) +
           LinkText(comm);
}

}  // namespace app
