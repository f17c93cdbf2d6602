#include "transmitter/UnitsTranslation.h"

#include "transmitter/ModelTypes.h"

namespace transmitter {

int DeviceToProgramUnits(int variable, int deviceCode) {
    switch (variable) {
        case kVarDp:
            switch (deviceCode) {
                case 1:
                    return 240;
                case 2:
                    return 11;
                case 3:
                    return 12;
                case 6:
                    return 1;
                default:
                    return deviceCode;
            }
        case kVarSp:
            switch (deviceCode) {
                case 3:
                    return 12;
                case 4:
                    return 237;
                case 5:
                    return 6;
                default:
                    return deviceCode;
            }
        case kVarPt:
            switch (deviceCode) {
                case 20:
                    return 32;
                case 21:
                    return 33;
                default:
                    return deviceCode;
            }
        default:
            return deviceCode;
    }
}

int ProgramToDeviceUnits(int variable, int programCode) {
    switch (variable) {
        case kVarDp:
            switch (programCode) {
                case 1:
                    return 6;
                case 11:
                    return 2;
                case 12:
                    return 3;
                default:
                    return 1;
            }
        case kVarSp:
            switch (programCode) {
                case 12:
                    return 3;
                case 237:
                    return 4;
                default:
                    return 5;
            }
        case kVarPt:
            return programCode == 32 ? 20 : 21;
        default:
            return programCode;
    }
}

}  // namespace transmitter
