#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/CProtocol.h"
#include "transmitter/ModelTypes.h"

// The command layer: every operation that reads or writes a transmitter. It owns
// the protocol object of the current connection, keeps the device-selection
// state, serves the cached register groups from the protocol's register image,
// translates units codes, and raises CCommException for any failed exchange
// before the caller's model is touched.
//
// Register operations reach the device over Modbus. Legacy command requests
// (identified by a command number) go through a transport that is inert by
// default: no I/O, result 0, an all-zero reply; their reply mapping and the
// device status rule run all the same.
class CComm {
  public:
    static constexpr uint8_t kNoSlot = 255;
    static constexpr size_t kSlotCount = 16;
    static constexpr uint8_t kUnsetPollingAddress = 16;
    static constexpr uint8_t kSelectedFlag = 128;
    static constexpr int kIgnoreStatusCount = 50;

    // Transport of the legacy requests: fills `reply` (already sized and zeroed)
    // and returns a transport result (0 success).
    using LegacyTransport = std::function<int32_t(int command, const std::vector<uint8_t>& request,
                                                  std::vector<uint8_t>& reply)>;

    CComm();
    ~CComm();
    CComm(const CComm&) = delete;
    CComm& operator=(const CComm&) = delete;

    // --- Protocol lifetime -------------------------------------------------
    // Replaces any protocol (closing its link) by a fresh one; the selection is
    // cleared.
    CProtocol& CreateProtocol(SerialPortFactory portFactory = {});
    bool HasProtocol() const { return m_protocol != nullptr; }
    // Raises error 6 when no protocol exists.
    CProtocol& Protocol();
    // Resets the device and closes the link; the protocol object stays.
    void Disconnect();
    // Destroys the protocol object.
    void DestroyProtocol();

    // --- Device selection ----------------------------------------------------
    // 1 a Corvel answered (the address becomes slot 1's polling address), 2 another
    // device (the device is reset), 0 no answer. Raises nothing.
    int IdentifyDevice(uint8_t address);
    // As identify, but selects the device; a foreign device raises error 9.
    int SelectDevice(uint8_t address);
    void ResetDevice();
    bool IsDeviceSelected() const;
    uint8_t CurrentSlot() const { return m_slot; }
    uint8_t PollingAddress(size_t slot) const { return m_pollingAddresses.at(slot); }
    // The polling address held for the current slot, or -1 without one.
    int CurrentPollingAddress() const;
    // The current slot's tag, or "@@@@@@@@" when no slot is selected.
    std::string CurrentTag() const;
    std::array<uint8_t, 2> SlotIdentity(size_t slot) const { return m_slotIdentity.at(slot); }
    uint8_t SlotFlags(size_t slot) const { return m_slotFlags.at(slot); }

    // --- Register operations ---------------------------------------------------
    // Reads H 31..34 into the current slot's tag entry and returns it.
    std::string ReadTag();
    IdentityBlock ReadIdentityBlock();
    IdentityRecord ReadIdentityRecord();
    DeviceTexts ReadDeviceInformation();
    void WriteDeviceInformationCodes(const ConstructionCodes& codes);
    void WriteTagDescriptorDate(const DeviceTexts& texts);
    void WriteMessage(const std::string& message);
    std::string ReadMessage();
    uint16_t ReadRegister10();
    void WritePollingAddress(uint8_t newAddress);

    VariableSettings ReadVariableSettings(int variable);
    // Present values are read afresh on every call.
    PresentValue ReadPresentValue(int variable);
    // DP, SP and PT from one read of the present-value registers.
    std::array<PresentValue, 3> ReadPresentValues();
    int ReadUnits(int variable);
    void WriteUnits(int variable, int unitsCode);
    // DP, SP, PT, flow.
    std::array<int, 4> ReadVariableAssignment();
    TrimPoints ReadTrimPoints(int variable);
    void OffsetTrim(int variable, double value);
    void SlopeTrim(int variable, double value);
    void WriteDamping(int variable, double seconds);
    // A device refusing the values raises 70, 71 or 72 for DP, SP or PT.
    void WriteOperatingLimits(int variable, double lower, double upper);
    std::pair<double, double> ReadOperatingLimits(int variable);
    float ReadRegister454();
    void WriteRegister454(float value);
    uint32_t ReadSensorSerialNumber();       // registers 4..5
    uint32_t ReadTransmitterSerialNumber();  // registers 6..7
    uint8_t ReadSensorRevision();
    std::array<uint8_t, 6> ReadStatusBytes();
    LcdRegisters ReadLcdRegisters();
    void WriteLcdRegisters(uint16_t interval, uint16_t mask);
    // Input registers 128..130.
    CommunicationRegisters ReadCommunicationRegisters();
    // Input register 131; the protocol takes the value read. A device without
    // the register raises 67.
    uint16_t ReadFloatFormat();
    // On success the protocol uses the new byte order at once; a device without
    // the register raises 67.
    void WriteFloatFormat(uint16_t format);
    void WriteRegister130(uint16_t value);
    // Holding register 203, read afresh. A device without integer scaling
    // raises 68, as do the set reads and every integer scaling write.
    uint16_t ReadIntegerScalingMethod();
    // The method last read; 0 after a read that the device refused.
    uint16_t StoredIntegerScalingMethod() const { return m_integerScalingMethod; }
    // A method above 2 is written as 2.
    void WriteIntegerScalingMethod(uint16_t method);
    EndpointsSet ReadEndpointsSet();
    ScaleFactorSet ReadScaleFactorSet();
    // Staging of the sets, variable by variable, before they are sent at once.
    void StageEndpoints(int variable, uint16_t minInteger, uint16_t maxInteger, float minPv,
                        float maxPv);
    void StageScaleFactors(int variable, uint16_t counts, uint16_t scaleFactor, uint16_t offset);
    void WriteEndpointsSet();
    void WriteScaleFactorSet();
    // Coil 3 is reported inverted: true when the coil is off.
    bool ReadCoil(int coil);
    void SetCoil0();
    // Coils 1 and 3 take only 0 (off) and 1 (on), anything else raises 61;
    // coil 2 is on for any nonzero value.
    void SetCoil(int coil, int value);

    // EMS arrays carried over Modbus: (0,0,0,2) coil 3 inverted (one byte),
    // (0,3,0,1) the float of register 454 (four bytes, host order); writes to
    // (0,255,0,0) do nothing. Any other array raises error 45.
    std::vector<uint8_t> ReadEmsArray(const EmsArrayId& id);
    void WriteEmsArray(const EmsArrayId& id, const std::vector<uint8_t>& data);

    // --- Legacy command requests -------------------------------------------------
    // Runs one request: checks its size against the command's table, runs the
    // transport, maps the reply (result 23 resets the device first) and applies
    // the device status rule. Returns the reply (response code, status, data).
    std::vector<uint8_t> LegacyRequest(int command, const std::vector<uint8_t>& request);
    void SetLegacyTransport(LegacyTransport transport);
    int IgnoreStatusCount() const { return m_ignoreStatus; }

    // Requests issued by the model.
    std::vector<uint8_t> ReadLoopCurrent();                              // 2
    std::vector<uint8_t> ReadOutputInformation();                        // 15
    void WriteRangeValues(uint8_t unitsCode, float upper, float lower);  // 35
    void SetFixedCurrent(float milliamps);                          // 40 (0 leaves fixed current)
    void TrimLoopZero(float milliamps);                             // 45
    void TrimLoopGain(float milliamps);                             // 46
    void WriteTransferFunction(uint8_t code);                       // 47
    void WriteVariableAssignment(const std::array<int, 4>& codes);  // 51
    void WriteResponsePreambles(uint8_t count);                     // 59
    void WriteBurstMode(uint8_t mode);                              // 109
    std::array<uint8_t, 8> ReadPasswordEntry(uint8_t index);        // 163
    void WritePasswordEntry(uint8_t index, const std::array<uint8_t, 8>& entry);  // 164
    void WriteFlowBlock(const std::array<uint8_t, 25>& block);                    // 165
    std::array<uint8_t, 25> ReadFlowBlock(uint8_t selector);                      // 166

  private:
    class CBusy;

    void RequireDevice() const;
    // When the port itself has gone, disconnects and raises the port-gone failure.
    void ThrowIfPortGone();
    CProtocol& Selected();
    int32_t Exchange(uint8_t function, uint16_t start, uint16_t quantity, const uint8_t* data);
    int32_t CachedRead(CacheGroup group, uint8_t function, uint16_t start, uint16_t quantity);
    void ReadIdentityGroup();
    void ReadUnitsGroup();
    void ReadRangesGroup();
    void WriteHolding(uint16_t start, const std::vector<uint8_t>& wireData);
    void WriteHoldingOrRaise(uint16_t start, const std::vector<uint8_t>& wireData, int32_t from,
                             int32_t to);
    std::string TextFromRegisters(uint16_t first, size_t length) const;
    void ShowStatusIfNeeded(uint8_t status);
    static void CheckVariable(int variable);

    std::unique_ptr<CProtocol> m_protocol;

    uint8_t m_slot = kNoSlot;
    std::array<uint8_t, kSlotCount> m_pollingAddresses{};
    std::array<std::array<char, 9>, kSlotCount> m_tags{};
    std::array<std::array<uint8_t, 2>, kSlotCount> m_slotIdentity{};
    std::array<uint8_t, kSlotCount> m_slotFlags{};

    uint16_t m_integerScalingMethod = 0;
    EndpointsSet m_stagedEndpoints;
    ScaleFactorSet m_stagedScaleFactors;

    LegacyTransport m_legacyTransport;
    int m_ignoreStatus = 0;
};
