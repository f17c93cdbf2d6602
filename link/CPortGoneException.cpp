#include "link/CPortGoneException.h"

#include "link/CCommLink.h"
#include "platform/SystemError.h"
#include "resources/Strings.h"

namespace {
constexpr const char* kPortGone = "The serial port %s is no longer there:\n\n";
constexpr const char* kDisconnected =
    "\n\nThe transmitter has been disconnected. Check the adapter and its cable, then connect "
    "again.";
}  // namespace

std::string CPortGoneException::Text() const {
    return FormatText(kPortGone, m_port.c_str()) +
           SystemErrorText(static_cast<unsigned long>(m_systemError)) + kDisconnected;
}

CPortGoneException PortGoneFailure(const CCommLink& link) {
    std::string port = link.PortLabel();
    if (link.DevicePath().empty()) port += " (" + link.DeviceName() + ")";
    return CPortGoneException(std::move(port), link.PortGoneError());
}
