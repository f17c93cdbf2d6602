#include "sim/SimProfile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <locale>
#include <sstream>

#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimConvert.h"

namespace sim {

namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ParseUnsigned(const std::string& text, unsigned long max, unsigned long& value) {
    if (text.empty() || !std::all_of(text.begin(), text.end(),
                                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return false;
    }
    try {
        value = std::stoul(text);
    } catch (const std::exception&) {
        return false;
    }
    return value <= max;
}

bool ParseAddress(const std::string& text, uint8_t& address) {
    unsigned long value = 0;
    if (!ParseUnsigned(text, 247, value) || value < 1) {
        return false;
    }
    address = static_cast<uint8_t>(value);
    return true;
}

bool ParseDoubles(const std::string& text, std::vector<double>& values) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());  // a decimal point whatever the global locale
    double value = 0.0;
    values.clear();
    while (in >> value) {
        values.push_back(value);
    }
    return in.eof() && !values.empty();
}

bool ParseBool(const std::string& text, bool& value) {
    if (text == "yes" || text == "on" || text == "true" || text == "1") {
        value = true;
        return true;
    }
    if (text == "no" || text == "off" || text == "false" || text == "0") {
        value = false;
        return true;
    }
    return false;
}

int VariableIndex(const std::string& name) {
    if (name == "dp") return kDp;
    if (name == "sp") return kSp;
    if (name == "pt") return kPt;
    return -1;
}

// One key of a [transmitter] section.
bool SetTransmitterKey(TransmitterConfig& t, const std::string& key, const std::string& value) {
    SimTransmitterOptions& o = t.options;
    unsigned long n = 0;
    std::vector<double> numbers;
    const auto dash = key.find('-');
    const int variable = dash == std::string::npos ? -1 : VariableIndex(key.substr(0, dash));
    if (variable >= 0) {
        const std::string what = key.substr(dash + 1);
        if (what == "units") {
            if (!ParseUnsigned(value, 0xFFFF, n)) return false;
            o.unitsCodes[variable] = static_cast<uint16_t>(n);
            return true;
        }
        if (!ParseDoubles(value, numbers)) return false;
        if (what == "range" && numbers.size() == 2) {
            o.lowerRangeLimits[variable] = numbers[0];
            o.upperRangeLimits[variable] = numbers[1];
        } else if (what == "operating" && numbers.size() == 2) {
            o.lowerOperatingLimits[variable] = numbers[0];
            o.upperOperatingLimits[variable] = numbers[1];
        } else if (what == "value" && numbers.size() == 1) {
            o.presentValueSetPoints[variable] = numbers[0];
        } else if (what == "damping" && numbers.size() == 1 && numbers[0] >= 0.0) {
            o.damping[variable] = numbers[0];
        } else {
            return false;
        }
        return true;
    }
    if (key == "address") return ParseAddress(value, t.address);
    // Texts longer than their registers are cut.
    if (key == "tag" || key == "descriptor" || key == "message") {
        std::string& text = key == "tag" ? o.tag : key == "descriptor" ? o.descriptor : o.message;
        text = value.substr(0, key == "tag" ? 8 : key == "descriptor" ? 16 : 32);
        return true;
    }
    if (key == "float-format-support") return ParseBool(value, o.floatFormatSupported);
    if (key == "integer-scaling-support") return ParseBool(value, o.integerScalingSupported);
    if (key == "rtd") return ParseBool(value, o.rtdMode);
    if (key == "fixed-temperature" || key == "noise") {
        if (!ParseDoubles(value, numbers) || numbers.size() != 1) return false;
        (key == "noise" ? o.presentValueNoise : o.fixedProcessTemperature) = numbers[0];
        return true;
    }
    struct Limited {
        const char* name;
        unsigned long max;
    };
    static const Limited kNumbers[] = {
        {"manufacturer-id", 255},
        {"device-id", 255},
        {"turnaround-ms", 65535},
        {"float-format", 3},
        {"scaling-method", 2},
        {"reset-ms", 3600000},
        {"self-test-ms", 3600000},
        {"serial-number", 0xFFFFFFFF},
        {"sensor-serial-number", 0xFFFFFFFF},
    };
    const auto it = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                 [&key](const Limited& l) { return key == l.name; });
    if (it == std::end(kNumbers) || !ParseUnsigned(value, it->max, n)) {
        return false;
    }
    if (key == "manufacturer-id") o.manufacturerId = static_cast<uint8_t>(n);
    if (key == "device-id") o.deviceId = static_cast<uint8_t>(n);
    if (key == "turnaround-ms") o.turnaroundDelayMs = static_cast<uint16_t>(n);
    if (key == "float-format") o.floatFormat = static_cast<uint16_t>(n);
    if (key == "scaling-method") o.integerScalingMethod = static_cast<uint16_t>(n);
    if (key == "reset-ms") o.masterResetDurationMs = static_cast<unsigned>(n);
    if (key == "self-test-ms") o.selfTestDurationMs = static_cast<unsigned>(n);
    if (key == "serial-number") o.transmitterSerialNumber = static_cast<uint32_t>(n);
    if (key == "sensor-serial-number") o.sensorSerialNumber = static_cast<uint32_t>(n);
    return true;
}

bool SetForeignKey(ForeignDeviceConfig& d, const std::string& key, const std::string& value) {
    unsigned long n = 0;
    if (key == "address") return ParseAddress(value, d.address);
    if (!ParseUnsigned(value, 255, n)) return false;
    if (key == "manufacturer-id") {
        d.manufacturerId = static_cast<uint8_t>(n);
    } else if (key == "device-id") {
        d.deviceId = static_cast<uint8_t>(n);
    } else {
        return false;
    }
    return true;
}

bool SetLineKey(LineConfig& config, const std::string& key, const std::string& value) {
    if (key == "link") {
        config.linkPath = value;
        return !value.empty();
    }
    std::vector<double> numbers;
    if (key == "wire-timing" && ParseDoubles(value, numbers) && numbers.size() == 1 &&
        numbers[0] >= 0.0) {
        config.wireTiming = numbers[0];
        return true;
    }
    return false;
}

bool ParseForeign(const std::string& text, ForeignDeviceConfig& device) {
    const auto first = text.find(':');
    const auto second = text.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos) {
        return false;
    }
    unsigned long mid = 0;
    unsigned long tid = 0;
    if (!ParseAddress(text.substr(0, first), device.address) ||
        !ParseUnsigned(text.substr(first + 1, second - first - 1), 255, mid) ||
        !ParseUnsigned(text.substr(second + 1), 255, tid)) {
        return false;
    }
    device.manufacturerId = static_cast<uint8_t>(mid);
    device.deviceId = static_cast<uint8_t>(tid);
    return true;
}

}  // namespace

bool LoadProfile(std::istream& in, LineConfig& config, std::string* error) {
    enum class Section { kNone, kLine, kTransmitter, kForeign } section = Section::kNone;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        line = Trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = Trim(line.substr(1, line.size() - 2));
            if (name == "line") {
                section = Section::kLine;
            } else if (name == "transmitter") {
                section = Section::kTransmitter;
                config.transmitters.emplace_back();
            } else if (name == "foreign") {
                section = Section::kForeign;
                config.foreignDevices.emplace_back();
            } else {
                return Fail(error, where + "unknown section [" + name + "]");
            }
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            return Fail(error, where + "expected key = value");
        }
        const std::string key = Trim(line.substr(0, equals));
        const std::string value = Trim(line.substr(equals + 1));
        bool ok = false;
        switch (section) {
            case Section::kLine:
                ok = SetLineKey(config, key, value);
                break;
            case Section::kTransmitter:
                ok = SetTransmitterKey(config.transmitters.back(), key, value);
                break;
            case Section::kForeign:
                ok = SetForeignKey(config.foreignDevices.back(), key, value);
                break;
            case Section::kNone:
                return Fail(error, where + "key outside a section");
        }
        if (!ok) {
            return Fail(error, where + "bad value or unknown key: " + key);
        }
    }
    for (const auto& d : config.foreignDevices) {
        if (d.address == 0) {
            return Fail(error, "a [foreign] section has no address");
        }
    }
    return true;
}

bool ParseArguments(const std::vector<std::string>& args, LineConfig& config, bool& help,
                    std::string* error) {
    help = false;
    bool noFloatFormat = false;
    bool noIntegerScaling = false;
    std::vector<int> invalidUnits;
    std::vector<uint8_t> addresses;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--no-float-format") {
            noFloatFormat = true;
        } else if (arg == "--no-integer-scaling") {
            noIntegerScaling = true;
        } else if (arg == "--profile") {
            if (!value(v)) return Fail(error, "--profile needs a file");
            std::ifstream file(v);
            if (!file) return Fail(error, v + ": cannot open the profile");
            std::string reason;
            if (!LoadProfile(file, config, &reason)) return Fail(error, v + ": " + reason);
        } else if (arg == "--address") {
            if (!value(v)) return Fail(error, "--address needs a polling address");
            std::istringstream list(v);
            std::string item;
            while (std::getline(list, item, ',')) {
                uint8_t address = 0;
                if (!ParseAddress(item, address)) {
                    return Fail(error, "bad polling address: " + item + " (1 to 247)");
                }
                addresses.push_back(address);
            }
        } else if (arg == "--foreign") {
            ForeignDeviceConfig device;
            if (!value(v) || !ParseForeign(v, device)) {
                return Fail(error, "--foreign needs ADDR:MID:TID");
            }
            config.foreignDevices.push_back(device);
        } else if (arg == "--wire-timing") {
            if (!value(v) || !SetLineKey(config, "wire-timing", v)) {
                return Fail(error, "--wire-timing needs a bit rate");
            }
        } else if (arg == "--link") {
            if (!value(v) || v.empty()) return Fail(error, "--link needs a path");
            config.linkPath = v;
        } else if (arg == "--invalid-units") {
            const int variable = value(v) ? VariableIndex(v) : -1;
            if (variable < 0) return Fail(error, "--invalid-units needs dp, sp or pt");
            invalidUnits.push_back(variable);
        } else {
            return Fail(error, "unknown option: " + arg);
        }
    }
    for (uint8_t address : addresses) {
        TransmitterConfig t;
        t.address = address;
        config.transmitters.push_back(t);
    }
    if (config.transmitters.empty()) {
        config.transmitters.emplace_back();
    }
    for (auto& t : config.transmitters) {
        t.options.floatFormatSupported = t.options.floatFormatSupported && !noFloatFormat;
        t.options.integerScalingSupported = t.options.integerScalingSupported && !noIntegerScaling;
        for (int variable : invalidUnits) {
            t.options.unitsCodes[variable] = SimTransmitterOptions::kInvalidUnitsCode;
        }
    }
    return true;
}

std::string Usage() {
    return "usage: corvel-sim [--profile FILE] [--address N ...] [--foreign ADDR:MID:TID]\n"
           "                  [--wire-timing BAUD] [--link PATH] [--no-float-format]\n"
           "                  [--no-integer-scaling] [--invalid-units dp|sp|pt]\n"
           "Simulates Corvel transmitters on a pseudo-terminal and prints its path.\n"
           "  --profile FILE        line and devices from a profile file\n"
           "  --address N           a transmitter at polling address N (repeat, or N,M,...)\n"
           "  --foreign ADDR:MID:TID  a device of another make at ADDR\n"
           "  --wire-timing BAUD    emulate the character times of this bit rate\n"
           "  --link PATH           publish the pseudo-terminal as a symbolic link\n"
           "  --no-float-format     transmitters without the float format register\n"
           "  --no-integer-scaling  transmitters without PV integer scaling\n"
           "  --invalid-units VAR   start with an invalid units code for dp, sp or pt\n"
           "Runs until interrupted (SIGINT or SIGTERM).\n";
}

void Populate(CSimLine& line, const LineConfig& config) {
    for (const auto& t : config.transmitters) {
        line.AddTransmitter(t.address, t.options);
    }
    for (const auto& d : config.foreignDevices) {
        line.AddForeignDevice(d.address, d.manufacturerId, d.deviceId);
    }
    line.SetWireTiming(config.wireTiming);
}

}  // namespace sim
