#pragma once

#include <array>
#include <cstdint>
#include <string>

// Values shared by the command layer and the transmitter model.
namespace transmitter {

// Access flag of every model read and write: the document's copy, or (any other
// value) the connected transmitter.
inline constexpr int kAccessDocument = 1;
inline constexpr int kAccessTransmitter = 2;

inline bool IsDocument(int access) { return access == kAccessDocument; }

// Variable codes.
inline constexpr int kVarDp = 0;
inline constexpr int kVarSp = 1;
inline constexpr int kVarPt = 2;
inline constexpr int kVarFlow = 32;
inline constexpr int kVarNone = 239;

// Integer scaling methods.
inline constexpr uint16_t kScalingDisabled = 0;
inline constexpr uint16_t kScalingEndpoints = 1;
inline constexpr uint16_t kScalingEnteredFactors = 2;
inline constexpr uint16_t kScalingCalculatedFactors = 3;

// Bias of the integer scaling offset.
inline constexpr double kScalingOffsetBias = 32768.0;

}  // namespace transmitter

// The integer scaling of one process variable: integer = PV x scale factor +
// 32768 - offset for the factor methods, or the two endpoints for method 1.
struct IntegerScalingRecord {
    uint16_t method = 0;
    uint16_t rounding = 0;  // 0 nearest, 1 down, 2 up
    uint16_t counts = 65534;
    uint16_t scaleFactor = 0;
    uint16_t offset = 0;
    uint16_t minInteger = 0;
    uint16_t maxInteger = 65534;
    float minPv = 0.0f;
    float maxPv = 0.0f;

    bool operator==(const IntegerScalingRecord& o) const {
        return method == o.method && rounding == o.rounding && counts == o.counts &&
               scaleFactor == o.scaleFactor && offset == o.offset && minInteger == o.minInteger &&
               maxInteger == o.maxInteger && minPv == o.minPv && maxPv == o.maxPv;
    }
    bool operator!=(const IntegerScalingRecord& o) const { return !(*this == o); }
};

// Settings of one variable as the transmitter reports them, in the units code
// given (a program units code).
struct VariableSettings {
    int unitsCode = 0;
    double upperRangeLimit = 0.0;
    double lowerRangeLimit = 0.0;
    double lowerOperatingLimit = 0.0;
    double upperOperatingLimit = 0.0;
    double damping = 0.0;
    double minimumSpan = 0.0;  // upper range limit / 100
};

// The date of registers 29 and 30 as the device keeps them: the whole of
// register 29 is the day of month, so a value above 255 is not a valid day.
struct DeviceDateBytes {
    uint16_t day = 0;
    uint8_t month = 0;
    uint8_t yearSince1900 = 0;
};

// Tag, descriptor and date of the device information read.
struct DeviceTexts {
    std::string tag;         // up to 8 characters
    std::string descriptor;  // up to 16 characters
    DeviceDateBytes date;
};

// The eight construction codes, in register order (holding registers 21..28).
struct ConstructionCodes {
    uint16_t flangeMaterial = 2;
    uint16_t flangeType = 13;
    uint16_t drainVentMaterial = 2;
    uint16_t oRingMaterial = 10;
    uint16_t remoteSealType = 251;
    uint16_t remoteSealFill = 251;
    uint16_t remoteSealMaterial = 251;
    uint16_t remoteSealCount = 251;

    std::array<uint16_t, 8> InRegisterOrder() const {
        return {flangeMaterial, flangeType,     drainVentMaterial,  oRingMaterial,
                remoteSealType, remoteSealFill, remoteSealMaterial, remoteSealCount};
    }
    static ConstructionCodes FromRegisterOrder(const std::array<uint16_t, 8>& c) {
        return {c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]};
    }
    bool operator==(const ConstructionCodes& o) const {
        return InRegisterOrder() == o.InRegisterOrder();
    }
    bool operator!=(const ConstructionCodes& o) const { return !(*this == o); }
};

// The fixed identity fields of holding registers 16..20 (low bytes).
struct SensorIdentity {
    uint8_t dpRangeCode = 0;
    uint8_t spRangeCode = 0;
    uint8_t ptRangeCode = 0;
    uint8_t isolatorMaterial = 0;
    uint8_t fillFluid = 0;
};

// What the identity block gives: the sensor fields and the construction codes.
struct IdentityBlock {
    SensorIdentity sensor;
    ConstructionCodes codes;
};

// The identity record: the device's identification numbers and revisions.
struct IdentityRecord {
    uint8_t reserved0 = 0;
    uint8_t manufacturerId = 0;  // register 0
    uint8_t deviceType = 0;      // register 1
    uint8_t universalRevision = 5;
    uint8_t specificRevision = 3;
    uint8_t hardwareRevision = 0;   // register 9
    uint16_t softwareRevision = 0;  // register 2, output board software
    uint8_t responsePreambles = 0;  // register 8
    uint8_t reserved1 = 0;
    uint32_t serialNumber = 0;  // registers 6..7, transmitter serial number
};

// A present value with its program units code.
struct PresentValue {
    double value = 0.0;
    int unitsCode = 0;
};

// Trim points of a variable in its units.
struct TrimPoints {
    int unitsCode = 0;
    double offsetPoint = 0.0;
    double slopePoint = 0.0;
};

// Holding registers 125..127: LCD update interval, a zero word, the item mask.
struct LcdRegisters {
    uint16_t interval = 0;
    uint16_t reserved = 0;
    uint16_t mask = 0;
};

// Input registers 128..130 as read from the transmitter.
struct CommunicationRegisters {
    uint16_t register128 = 0;
    uint16_t register129 = 0;
    uint16_t turnaroundDelay = 0;  // register 130
};

// The endpoints parameter set of the three variables (index 0 DP, 1 SP, 2 PT).
struct EndpointsSet {
    std::array<uint16_t, 3> minInteger{};
    std::array<uint16_t, 3> maxInteger{};
    std::array<float, 3> minPv{};
    std::array<float, 3> maxPv{};
};

// The scale-factor-and-offset parameter set of the three variables.
struct ScaleFactorSet {
    uint16_t counts = 0;
    std::array<uint16_t, 3> scaleFactor{};
    std::array<uint16_t, 3> offset{};
};

// The four bytes that name an EMS array.
struct EmsArrayId {
    uint8_t slot = 0;
    uint8_t type = 0;
    uint8_t index = 0;
    uint8_t count = 0;
};
