#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "link/CProtocol.h"
#include "platform/ISettingsStore.h"

// The terminal commands that talk to a transmitter through the link alone.
namespace cli {

// Options every command takes. The stored settings give the rest.
struct LinkOptions {
    std::string port;   // "COMn" or a device path; empty: the stored port
    uint32_t baud = 0;  // 0: the stored bit rate
    uint8_t address = 1;
    bool simulate = false;  // a simulated transmitter on a pseudo-terminal
};

// Takes the common options out of `args`; false with a reason on a bad one.
bool ParseLinkOptions(std::vector<std::string>& args, LinkOptions& options, std::string& error);

// The stored port settings with the command line's port and bit rate in place.
PortSettings PortSettingsFor(const LinkOptions& options, const ISettingsStore& store);

// Creates the protocol, loads the settings and opens the port; throws the
// communication error 7 when the port cannot be configured or opened.
std::unique_ptr<CProtocol> OpenProtocol(const PortSettings& port, const ISettingsStore& store);

// What was tried and what to check, when nothing sensible answered on the line.
std::string NoAnswerHint(const PortSettings& port, uint8_t address);

// probe: identifies and selects the transmitter, prints it and its float format.
// Throws the communication error of a failed exchange.
int ProbeCommand(CProtocol& protocol, uint8_t address, std::ostream& out);
// read REG COUNT [--times N]: function 3 reads, one line per register.
int ReadCommand(CProtocol& protocol, uint8_t address, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err);

// The whole program: common options, then a command and its words. Failures print
// their numbered texts on `err`; returns the exit status.
int RunCli(const std::vector<std::string>& args, const ISettingsStore& store, std::ostream& out,
           std::ostream& err);

// The usage text listing every command.
std::string Usage();

}  // namespace cli
