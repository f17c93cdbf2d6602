#include "cli/LinkCommands.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>

#include "link/CCommException.h"
#include "link/CCommLink.h"
#include "link/CPortGoneException.h"
#include "link/ErrorReport.h"
#include "link/LinkSettings.h"
#include "platform/CPosixSerialPort.h"
#include "resources/Strings.h"

#ifdef CORVEL_CLI_SIMULATOR
#include "sim/CSimLine.h"
#endif

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr uint16_t kFirstFloat = 400;
constexpr uint16_t kLastFloat = 480;
constexpr const char* kFloatOrders[] = {"A B C D", "C D A B", "D C B A", "B A D C"};

// A whole decimal number within [low, high].
bool ParseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

bool IsByteString(uint16_t address) {
    return (address >= 31 && address <= 58) || (address >= 118 && address <= 123);
}

// Raises the error of a failed exchange; a port that has gone says so.
void ThrowIfFailed(CProtocol& protocol, int32_t error) {
    if (error == 0) return;
    if (protocol.PortGone()) throw PortGoneFailure(*protocol.Link());
    RaiseCommError(error);
}

// The errors of a line on which nothing sensible answered: silence, a short or
// garbled reply, or a reply from another address (often a wrong bit rate).
bool NothingAnswered(const std::exception& e) {
    const auto* comm = dynamic_cast<const CCommException*>(&e);
    if (comm == nullptr || dynamic_cast<const CPortGoneException*>(&e) != nullptr) return false;
    switch (comm->Error()) {
        case commerr::kChecksum:
        case commerr::kWrongDevice:
        case commerr::kNoResponse:
        case commerr::kShortResponse:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string NoAnswerHint(const PortSettings& port, uint8_t address) {
    const std::string device =
        port.devicePath.empty()
            ? "COM" + std::to_string(port.port) + " (" + platform::ComPortDevice(port.port) + ")"
            : port.devicePath;
    return FormatText("Tried %s at %g bit/s, polling address %d.\n", device.c_str(), port.bitRate,
                      static_cast<int>(address)) +
           "Check the wiring, the transmitter's polling address and bit rate, and the host "
           "communication settings (port, bit rate, CTS).\n";
}

namespace {}  // namespace

std::string Usage() {
    return "usage: corvel-cli [--port COMn|PATH] [--baud N] [--address N] [--simulate] COMMAND\n"
           "commands:\n"
           "  probe                       identify and select the transmitter; show its float "
           "format\n"
           "  read REG COUNT [--times N]  read COUNT holding registers from REG (N times)\n"
           "options:\n"
           "  --port COMn|PATH   the serial port (default: the stored settings)\n"
           "  --baud N           the bit rate\n"
           "  --address N        the polling address, 1 to 247 (default 1)\n"
           "  --simulate         talk to a simulated transmitter instead of a port (not with "
           "--port)\n";
}

bool ParseLinkOptions(std::vector<std::string>& args, LinkOptions& options, std::string& error) {
    std::vector<std::string> rest;
    bool portGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        long value = 0;
        if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg == "--port" || arg == "--baud" || arg == "--address") {
            if (!hasValue) {
                error = arg + " needs a value";
                return false;
            }
            const std::string& text = args[++i];
            if (arg == "--port") {
                options.port = text;
                portGiven = true;
            } else if (arg == "--baud") {
                if (!ParseNumber(text, 1, 4000000, value)) {
                    error = "--baud needs a bit rate, not \"" + text + "\"";
                    return false;
                }
                options.baud = static_cast<uint32_t>(value);
            } else {
                if (!ParseNumber(text, 1, 247, value)) {
                    error = "--address needs a polling address from 1 to 247, not \"" + text + "\"";
                    return false;
                }
                options.address = static_cast<uint8_t>(value);
            }
        } else {
            rest.push_back(arg);
        }
    }
    // The simulated transmitter brings its own line; a port beside it would be
    // silently ignored.
    if (options.simulate && portGiven) {
        error = "--simulate and --port cannot be used together";
        return false;
    }
    args = std::move(rest);
    return true;
}

PortSettings PortSettingsFor(const LinkOptions& options, const ISettingsStore& store) {
    PortSettings port = ReadPortSettings(store);
    if (!options.port.empty()) {
        long number = 0;
        if (options.port.rfind("COM", 0) == 0 &&
            ParseNumber(options.port.substr(3), 1, 255, number)) {
            port.port = static_cast<uint16_t>(number);
            port.devicePath.clear();
        } else {
            port.devicePath = options.port;
        }
    }
    if (options.baud != 0) port.bitRate = options.baud;
    return port;
}

std::unique_ptr<CProtocol> OpenProtocol(const PortSettings& port, const ISettingsStore& store) {
    auto protocol = std::make_unique<CProtocol>();
    LoadLinkScheduling(store, *protocol);
    if (protocol->SetPortSettings(port) != 0 || protocol->Open() != 0)
        RaiseCommError(commerr::kDriverInit);
    return protocol;
}

int ProbeCommand(CProtocol& protocol, uint8_t address, std::ostream& out) {
    switch (protocol.Identify(address)) {
        case 0:
            ThrowIfFailed(protocol, protocol.LastError());
            RaiseCommError(commerr::kNoResponse);
        case 2:
            RaiseCommError(commerr::kNotCorvel);
        default:
            break;
    }
    switch (protocol.SelectDevice(address)) {
        case 0:
            ThrowIfFailed(protocol, protocol.LastError());
            RaiseCommError(commerr::kNoResponse);
        case 2:
            RaiseCommError(commerr::kNotCorvel);
        default:
            break;
    }
    const uint16_t format = protocol.FloatFormat();
    out << "Corvel transmitter at address " << int(address) << " (identity " << protocol.Register(0)
        << ", " << protocol.Register(1) << ")\n"
        << "float format " << format << " (" << kFloatOrders[format <= 3 ? format : 0] << ")\n";
    return 0;
}

int ReadCommand(CProtocol& protocol, uint8_t address, const std::vector<std::string>& args,
                std::ostream& out, std::ostream& err) {
    long start = 0;
    long count = 0;
    long times = 1;
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--times") {
            if (i + 1 >= args.size() || !ParseNumber(args[i + 1], 1, 1000000, times)) {
                err << "read: --times needs a count of at least 1\n" << Usage();
                return kExitUsage;
            }
            ++i;
        } else {
            words.push_back(args[i]);
        }
    }
    if (words.size() != 2 || !ParseNumber(words[0], 0, 499, start) ||
        !ParseNumber(words[1], 1, 127, count)) {
        err << "read: give the first register (0 to 499) and a count (1 to 127)\n" << Usage();
        return kExitUsage;
    }
    ProbeCommand(protocol, address, out);
    for (long t = 0; t < times; ++t) {
        ThrowIfFailed(protocol, protocol.SendPoll(address, 3, static_cast<uint16_t>(start),
                                                  static_cast<uint16_t>(count), nullptr, true));
        const long end = start + count;
        for (long a = start; a < end;) {
            const auto reg = static_cast<uint16_t>(a);
            std::string line;
            if (reg >= kFirstFloat && reg <= kLastFloat && a + 1 < end) {
                line = FormatText("%u: %g\n", reg, static_cast<double>(protocol.Float(reg)));
                a += 2;
            } else if (IsByteString(reg)) {
                const auto bytes = protocol.RegisterBytes(reg);
                line = FormatText("%u: %02X %02X\n", reg, bytes[0], bytes[1]);
                ++a;
            } else {
                line = FormatText("%u: %u\n", reg, protocol.Register(reg));
                ++a;
            }
            out << line;
        }
    }
    return 0;
}

int RunCli(const std::vector<std::string>& arguments, const ISettingsStore& store,
           std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = arguments;
    LinkOptions options;
    std::string error;
    if (!ParseLinkOptions(args, options, error)) {
        err << "corvel-cli: " << error << '\n' << Usage();
        return kExitUsage;
    }
    if (args.empty()) {
        out << Usage();
        return 0;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command != "probe" && command != "read") {
        err << "corvel-cli: unknown command \"" << command << "\"\n" << Usage();
        return kExitUsage;
    }
    PortSettings port = PortSettingsFor(options, store);
    try {
#ifdef CORVEL_CLI_SIMULATOR
        CSimLine line;
        if (options.simulate) {
            std::string reason;
            if (!line.Start(&reason)) {
                err << "corvel-cli: the simulated transmitter did not start: " << reason << '\n';
                return kExitFailure;
            }
            line.AddTransmitter(options.address);
            port.devicePath = line.SlavePath();
        }
#else
        if (options.simulate) {
            err << "corvel-cli: this build has no simulated transmitter\n";
            return kExitFailure;
        }
#endif
        auto protocol = OpenProtocol(port, store);
        const int status = command == "probe"
                               ? ProbeCommand(*protocol, options.address, out)
                               : ReadCommand(*protocol, options.address, args, out, err);
        protocol->Close();
        return status;
    } catch (const std::exception& e) {
        const std::string text = MessageText(e);
        if (!text.empty()) err << text << '\n';
        if (NothingAnswered(e)) err << NoAnswerHint(port, options.address);
        return kExitFailure;
    }
}

}  // namespace cli
