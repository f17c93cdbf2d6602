#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "sim/SimTransmitterOptions.h"

class CSimLine;

// What a simulated line holds, read from a profile file and the command line of
// corvel-sim (the file format is described in sim/README.md).
namespace sim {

struct TransmitterConfig {
    uint8_t address = 1;
    SimTransmitterOptions options;
};

struct ForeignDeviceConfig {
    uint8_t address = 0;
    uint8_t manufacturerId = 0;
    uint8_t deviceId = 0;
};

struct LineConfig {
    std::vector<TransmitterConfig> transmitters;
    std::vector<ForeignDeviceConfig> foreignDevices;
    double wireTiming = 0.0;  // bit rate; 0 = off
    std::string linkPath;
};

// Adds the line and device sections of a profile to `config`.
bool LoadProfile(std::istream& in, LineConfig& config, std::string* error);

// Reads the arguments of corvel-sim (argv[0] excluded) into `config`, loading
// a --profile file when given. A line without devices gets one transmitter at
// address 1. `help` is set for --help.
bool ParseArguments(const std::vector<std::string>& args, LineConfig& config, bool& help,
                    std::string* error);

// The usage text of corvel-sim.
std::string Usage();

// Adds the configured devices and wire timing to a line.
void Populate(CSimLine& line, const LineConfig& config);

}  // namespace sim
