#pragma once

// Translation between the program's units codes and the transmitter's own.
namespace transmitter {

// Device units code of variable (0 DP, 1 SP, 2 PT) -> program units code.
int DeviceToProgramUnits(int variable, int deviceCode);
// Program units code -> device units code.
int ProgramToDeviceUnits(int variable, int programCode);

}  // namespace transmitter
