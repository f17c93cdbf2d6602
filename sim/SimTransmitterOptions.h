#pragma once

#include <array>
#include <cstdint>
#include <string>

// Variable indexes of the simulated transmitter.
enum class SimVariable : int { kDp = 0, kSp = 1, kPt = 2 };

// The settings a simulated transmitter starts with. Every dimensioned value is
// given in the variable's units as selected by `unitsCodes` (device codes).
struct SimTransmitterOptions {
    // Identity pair on input and holding registers 0 and 1.
    uint8_t manufacturerId = 38;
    uint8_t deviceId = 31;

    // A units code no variable accepts, for a transmitter that reports an invalid
    // units code; its values are then served as in the variable's default unit.
    static constexpr uint16_t kInvalidUnitsCode = 0;

    // Device units codes of DP, SP, PT (registers 59 to 61): DP 1 = InH2O-60°F,
    // SP 5 = psi, PT 21 = °F.
    std::array<uint16_t, 3> unitsCodes{1, 5, 21};

    // Devices without these features answer exception 2 on their registers.
    bool floatFormatSupported = true;     // register 131
    bool integerScalingSupported = true;  // registers 124, 187 to 203, 468 to 479

    uint16_t turnaroundDelayMs = 50;    // register 130
    uint16_t floatFormat = 0;           // register 131
    uint16_t integerScalingMethod = 0;  // register 203: 0 disabled, 1 endpoints, 2 factors

    std::string tag = "CORVEL";
    std::string descriptor = "SIMULATED XMTR";
    std::string message;

    // Revisions and serial numbers (registers 2 to 9).
    uint16_t outputBoardRevision = 0x0102;
    uint16_t sensorRevision = 5;
    uint32_t sensorSerialNumber = 1234567;
    uint32_t transmitterSerialNumber = 7654321;
    uint16_t responsePreambles = 5;
    uint16_t hardwareRevision = 1;
    uint16_t register10 = 0;
    // Registers 16 to 20: DP, SP and PT sensor range codes, isolator material, fill fluid.
    std::array<uint16_t, 5> identityFields{3, 3, 1, 2, 1};
    // Registers 21 to 28: flange material, flange type, drain/vent, O-ring, remote
    // seal type, fill, material, number of seals.
    std::array<uint16_t, 8> deviceInfoCodes{2, 13, 2, 10, 251, 251, 251, 251};
    // Date (registers 29 and 30).
    int day = 1;
    int month = 1;
    int year = 2024;

    // Ranges and operating limits, in the initial units.
    std::array<double, 3> lowerRangeLimits{-250.0, 0.0, -40.0};
    std::array<double, 3> upperRangeLimits{250.0, 800.0, 1200.0};
    std::array<double, 3> lowerOperatingLimits{-250.0, 0.0, -40.0};
    std::array<double, 3> upperOperatingLimits{250.0, 800.0, 400.0};
    std::array<double, 3> damping{0.896, 0.896, 0.896};
    // The process conditions the sensors see.
    std::array<double, 3> presentValueSetPoints{25.0, 300.0, 70.0};
    // Present values move around their set points by up to this share of the span.
    double presentValueNoise = 0.0005;
    double fixedProcessTemperature = 60.0;
    bool rtdMode = true;  // coil 3

    // Status bytes 0 to 5 (input registers 118 to 120) besides the bits the
    // transmitter sets itself (process limits, calibration mode, write protect).
    std::array<uint8_t, 6> statusBytes{};

    unsigned masterResetDurationMs = 5000;
    unsigned selfTestDurationMs = 1000;
};
