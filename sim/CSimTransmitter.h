#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "sim/SimTransmitterOptions.h"

// One simulated Corvel transmitter behind its register map. The line hands it
// request PDUs (function code and data) and sends the PDU it answers. Every
// public member is thread-safe, so tests may change the device while a master
// talks to it. Dimensioned values given to or taken from the accessors are in
// the variable's present units.
class CSimTransmitter {
  public:
    static constexpr unsigned kCoilSelfTest = 0;
    static constexpr unsigned kCoilMasterReset = 1;
    static constexpr unsigned kCoilTrimMode = 2;
    static constexpr unsigned kCoilRtdMode = 3;
    static constexpr size_t kStatusByteCount = 6;
    using StatusBytes = std::array<uint8_t, kStatusByteCount>;

    CSimTransmitter(uint8_t address, const SimTransmitterOptions& options);
    CSimTransmitter(const CSimTransmitter&) = delete;
    CSimTransmitter& operator=(const CSimTransmitter&) = delete;

    // --- Line side ---
    // The polling address the transmitter answers at.
    uint8_t Address() const;
    // Handles one request PDU; returns false when the transmitter stays silent
    // (during a master reset), else fills `reply` with the reply PDU.
    bool HandleRequest(const uint8_t* pdu, size_t length, std::vector<uint8_t>& reply);
    // Moves to a polling address written by the last request (after its reply).
    void ApplyAddressChange();
    bool IsSilent() const;

    // --- Registers as the device serves them ---
    // A holding or input register (floats in the present float format); 0 when
    // the address is not in the map.
    uint16_t HoldingRegister(uint16_t address) const;
    uint16_t InputRegister(uint16_t address) const;
    // Sets a 16-bit holding register (below 400) without the device's checks;
    // returns false for a float register.
    bool SetHoldingRegister(uint16_t address, uint16_t value);
    // The float of a register pair 400 to 479 (present values without noise);
    // SetFloat stores one without checks (present values set the set point).
    float Float(uint16_t address) const;
    bool SetFloat(uint16_t address, float value);

    bool Coil(unsigned coil) const;
    void SetCoil(unsigned coil, bool on);

    // --- Configuration ---
    void SetAddress(uint8_t address);
    uint16_t UnitsCode(SimVariable variable) const;  // device code
    void SetUnitsCode(SimVariable variable, uint16_t deviceCode);
    std::string Tag() const;
    void SetTag(const std::string& tag);
    std::string Descriptor() const;
    void SetDescriptor(const std::string& descriptor);
    std::string Message() const;
    void SetMessage(const std::string& message);
    unsigned TurnaroundDelayMs() const;
    void SetTurnaroundDelayMs(uint16_t ms);
    uint16_t FloatFormat() const;
    void SetFloatFormat(uint16_t format);
    uint16_t IntegerScalingMethod() const;

    // The six status bytes as served: the stored bytes with the process-limit
    // bits, calibration mode (trim coil on) and write protect added.
    StatusBytes Status() const;
    void SetStatusBytes(const StatusBytes& bytes);
    // While write protect is on, register writes are answered with exception 4.
    bool WriteProtect() const;
    void SetWriteProtect(bool on);

    double LowerRangeLimit(SimVariable variable) const;
    double UpperRangeLimit(SimVariable variable) const;
    void SetRangeLimits(SimVariable variable, double lower, double upper);
    double LowerOperatingLimit(SimVariable variable) const;
    double UpperOperatingLimit(SimVariable variable) const;
    void SetOperatingLimits(SimVariable variable, double lower, double upper);
    double Damping(SimVariable variable) const;
    void SetDamping(SimVariable variable, double seconds);
    double FixedProcessTemperature() const;
    void SetFixedProcessTemperature(double temperature);

    // The process condition a sensor sees; the present value is this value
    // corrected by the sensor trims, plus a little noise.
    double PresentValueSetPoint(SimVariable variable) const;
    void SetPresentValueSetPoint(SimVariable variable, double value);
    // The present value without noise.
    double PresentValue(SimVariable variable) const;
    // Noise as a share of the span (0 serves the exact present value).
    void SetPresentValueNoise(double shareOfSpan);

    // The clock of the master-reset silence and the self-test duration (the
    // steady clock unless a test gives its own); nullptr restores the steady clock.
    using TimeSource = std::function<std::chrono::steady_clock::time_point()>;
    void SetTimeSource(TimeSource now);
    void SetMasterResetDurationMs(unsigned ms);
    void SetSelfTestDurationMs(unsigned ms);
    // Status bytes the transmitter reports after its next self tests.
    void SetSelfTestResult(const StatusBytes& bytes);
    bool IsSelfTestRunning() const;

    uint64_t RequestsHandled() const;

    // A request as this transmitter answered it: the function code, the first
    // coil or register and the quantity (1 for the single-write functions).
    struct RequestRecord {
        uint8_t function = 0;
        uint16_t address = 0;
        uint16_t quantity = 0;
    };
    // Every request handled since the start or the last ClearRequests, in order.
    std::vector<RequestRecord> Requests() const;
    void ClearRequests();

  private:
    using Clock = std::chrono::steady_clock;

    struct Variable {
        // Internal units: inches of water at 68 °F for DP and SP, °F for PT.
        double lowerRangeLimit = 0.0;
        double upperRangeLimit = 0.0;
        double lowerOperatingLimit = 0.0;
        double upperOperatingLimit = 0.0;
        double offsetTrimPoint = 0.0;
        double slopeTrimPoint = 0.0;
        double damping = 0.0;
        double endpointMinimumPv = 0.0;
        double endpointMaximumPv = 0.0;
        double setPoint = 0.0;
        // Sensor correction: reading = gain * condition + offset.
        double gain = 1.0;
        double offset = 0.0;
        double conditionAtOffsetTrim = 0.0;
    };

    // The configuration a request may change; a write works on a copy and is
    // committed only when every value passed.
    struct State {
        std::array<uint16_t, 400> words{};
        std::array<Variable, 3> variables{};
        double fixedTemperature = 0.0;
        std::array<bool, 4> coils{};  // coil 0 follows the self test instead
    };

    enum class FloatKind {
        kNone,
        kPresentValue,
        kUpperRangeLimit,
        kLowerRangeLimit,
        kLowerOperatingLimit,
        kUpperOperatingLimit,
        kOffsetTrimPoint,
        kSlopeTrimPoint,
        kDamping,
        kFixedTemperature,
        kEndpointMinimumPv,
        kEndpointMaximumPv,
    };
    struct FloatSlot {
        FloatKind kind = FloatKind::kNone;
        int variable = 0;
    };
    static FloatSlot FloatAt(uint16_t pairAddress);
    static bool IsDimensioned(FloatKind kind);

    void Refresh(Clock::time_point now) const;
    bool HoldingReadable(uint16_t address) const;
    bool HoldingWritable(uint16_t address) const;
    bool InputReadable(uint16_t address) const;
    uint16_t HoldingLocked(uint16_t address) const;
    uint16_t InputLocked(uint16_t address) const;
    double FloatValue(const State& state, uint16_t pairAddress, bool withNoise);
    double FloatValueNoNoise(const State& state, uint16_t pairAddress) const;
    double Reading(const State& state, int variable) const;
    StatusBytes StatusLocked() const;
    double ToInternalUnits(int variable, double value) const;
    double ToPresentUnits(int variable, double internalValue) const;

    uint8_t ReadCoils(const uint8_t* pdu, size_t length, std::vector<uint8_t>& reply);
    uint8_t ReadRegisters(const uint8_t* pdu, size_t length, bool input,
                          std::vector<uint8_t>& reply);
    uint8_t WriteCoil(const uint8_t* pdu, size_t length, std::vector<uint8_t>& reply);
    uint8_t WriteRegisters(uint16_t start, const uint8_t* data, uint16_t count);
    uint8_t WriteWord(State& state, uint16_t address, uint16_t value) const;
    uint8_t WriteFloat(State& state, uint16_t pairAddress, float value) const;
    static uint8_t CheckVariable(Variable& variable, bool limitsTouched, bool endpointsTouched);

    void SetText(uint16_t first, uint16_t count, const std::string& text);
    std::string Text(uint16_t first, uint16_t count) const;

    mutable std::mutex m_mutex;
    State m_state;
    uint8_t m_address;
    uint8_t m_pendingAddress = 0;
    bool m_floatFormatSupported;
    bool m_integerScalingSupported;
    mutable StatusBytes m_statusBytes{};
    bool m_writeProtect = false;
    bool m_hasSelfTestResult = false;
    StatusBytes m_selfTestResult{};
    double m_noise;
    unsigned m_masterResetDurationMs;
    unsigned m_selfTestDurationMs;
    Clock::time_point m_silentUntil{};
    Clock::time_point m_selfTestEnd{};
    mutable bool m_selfTestRunning = false;
    TimeSource m_now = Clock::now;
    std::mt19937 m_random{12345};
    uint64_t m_requestsHandled = 0;
    std::vector<RequestRecord> m_requests;
};
