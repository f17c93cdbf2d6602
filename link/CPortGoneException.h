#pragma once

#include <string>

#include "link/CCommException.h"
#include "link/ErrorReport.h"

class CCommLink;

// The serial port itself has gone during an exchange (an unplugged adapter, a
// removed device node): a link failure that names the port and the system's
// reason, after which the transmitter is disconnected.
class CPortGoneException : public CCommException {
  public:
    CPortGoneException(std::string port, int systemError)
        : CCommException(commerr::kLinkFailure),
          m_port(std::move(port)),
          m_systemError(systemError) {}

    // "COM2 (/dev/ttyS1)" or the device path.
    const std::string& Port() const { return m_port; }
    int SystemError() const { return m_systemError; }
    // What the user is told.
    std::string Text() const;
    const char* what() const noexcept override { return "serial port gone"; }

  private:
    std::string m_port;
    int m_systemError;
};

// The failure of a link whose PortGone() is set.
CPortGoneException PortGoneFailure(const CCommLink& link);
