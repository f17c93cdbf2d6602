#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "flow/CFlow.h"
#include "transmitter/CAnalogOutput.h"
#include "transmitter/CComm.h"
#include "transmitter/CDeviceInfo.h"
#include "transmitter/CLCDDisplay.h"
#include "transmitter/CMeasuredVariable.h"
#include "transmitter/CSPVariable.h"
#include "transmitter/ModelTypes.h"

// The whole configuration of one transmitter: the communication words, the
// variables, device information, LCD and analog output settings, and (when
// present) one flow configuration. It owns the command layer through which its
// sub-objects reach the connected transmitter.
class CTransmitter {
  public:
    static constexpr uint16_t kFormatVersion = 1;
    static constexpr uint16_t kDefaultTurnaroundDelay = 50;

    CTransmitter();
    // A model whose sub-objects reach the transmitter through a command layer
    // that another model owns: a scratch copy of the connected transmitter's
    // configuration, read without touching that model. `comm` must outlive it.
    explicit CTransmitter(CComm& comm);
    ~CTransmitter();
    CTransmitter(const CTransmitter&) = delete;
    CTransmitter& operator=(const CTransmitter&) = delete;

    // Every part back to its initial values: the five words 0, 0, 50, 0, 0,
    // each sub-object, the flow configuration (when there is one) to the
    // defaults of its own kind, and the variable assignment 32, 0, 1, 2. A gas
    // stays a gas, a liquid a liquid, and a model without a flow configuration
    // keeps none. The format version is kept.
    void Reset();

    CComm& Comm() { return *m_comm; }

    // --- Stored fields -----------------------------------------------------------
    uint16_t FormatVersion() const { return m_formatVersion; }
    void SetFormatVersion(uint16_t version) { m_formatVersion = version; }
    // Input registers 128 and 129 as last received, turnaround delay, float
    // format, integer scaling method, in that order.
    std::array<uint16_t, 5> CommunicationWords() const;
    void SetCommunicationWords(const std::array<uint16_t, 5>& words);
    uint16_t Register128() const { return m_register128; }
    uint16_t Register129() const { return m_register129; }
    uint16_t TurnaroundDelay() const { return m_turnaroundDelay; }
    uint16_t FloatFormat() const { return m_floatFormat; }
    uint16_t IntegerScalingMethod() const { return m_scalingMethod; }
    void SetRegister128(uint16_t value) { m_register128 = value; }
    void SetRegister129(uint16_t value) { m_register129 = value; }
    void SetTurnaroundDelay(uint16_t ms) { m_turnaroundDelay = ms; }
    void SetFloatFormat(uint16_t format) { m_floatFormat = format; }
    void SetIntegerScalingMethod(uint16_t method) { m_scalingMethod = method; }
    // The four dynamic variable slots of the document copy.
    const std::array<int, 4>& Assignment() const { return m_assignment; }

    CAnalogOutput& AnalogOutput() { return *m_analogOutput; }
    CLCDDisplay& LcdDisplay() { return *m_lcd; }
    const CLCDDisplay& LcdDisplay() const { return *m_lcd; }
    CDeviceInfo& DeviceInfo() { return *m_deviceInfo; }
    const CDeviceInfo& DeviceInfo() const { return *m_deviceInfo; }
    CMeasuredVariable& Pt() { return *m_pt; }
    CMeasuredVariable& Dp() { return *m_dp; }
    CSPVariable& Sp() { return *m_sp; }
    const CMeasuredVariable& Pt() const { return *m_pt; }
    const CMeasuredVariable& Dp() const { return *m_dp; }
    const CSPVariable& Sp() const { return *m_sp; }
    // By variable index 0 DP, 1 SP, 2 PT; any other index raises error 17.
    CMeasuredVariable& Variable(int index);

    // The flow configuration, or nullptr when the model holds none.
    CFlow* Flow() { return m_flow.get(); }
    const CFlow* Flow() const { return m_flow.get(); }
    bool HasFlow() const { return m_flow != nullptr; }
    void SetFlow(std::unique_ptr<CFlow> flow);
    void RemoveFlow() { m_flow.reset(); }

    // --- Access-flag operations ------------------------------------------------
    // Document: the four slots (239 for an empty one). Transmitter: the command
    // layer's fixed assignment. When a code is not valid the user is asked
    // (string 363); OK replaces every invalid code by 0 and writes the
    // assignment, Cancel abandons silently.
    std::array<int, 4> ReadVariableAssignment(int access);
    void WriteVariableAssignment(const std::array<int, 4>& codes, int access);

    uint16_t ReadFloatFormat(int access);
    void WriteFloatFormat(uint16_t format, int access);
    uint16_t ReadIntegerScalingMethod(int access);
    void WriteIntegerScalingMethod(uint16_t method, int access);
    // Sends the parameter set of a method after DP, SP and PT have been staged
    // (nothing for method 0, nor in the document).
    void SendIntegerScalingSet(uint16_t method, int access);
    uint16_t ReadTurnaroundDelay(int access);
    void WriteTurnaroundDelay(uint16_t ms, int access);

    // --- Whole-configuration steps --------------------------------------------------
    // Writes turnaround delay, float format and integer scaling method of the
    // document copy, in that order. A device without the float-format register
    // (error 67) or without integer scaling (68) skips that word alone; any
    // other failure is raised.
    void SendDataFormats();
    // Reads the five communication words into the document copy; an unsupported
    // float format or integer scaling leaves that word 0.
    void ReceiveDataFormats();
    // Writes units, damping, operating limits and integer scaling of one
    // variable (0 DP, 1 SP, 2 PT) from the document copy.
    void SendVariable(int index);
    void ReceiveVariable(int index);
    // Tag, descriptor, date, message and codes; the caller reads the tag back
    // into the tag table.
    void SendDeviceInformation();
    void ReceiveDeviceInformation();
    void SendLcd();
    void ReceiveLcd();

  private:
    uint16_t m_formatVersion = kFormatVersion;
    std::unique_ptr<CComm> m_ownedComm;  // null when the command layer is borrowed
    CComm* m_comm;
    std::unique_ptr<CAnalogOutput> m_analogOutput;
    std::unique_ptr<CLCDDisplay> m_lcd;
    std::unique_ptr<CDeviceInfo> m_deviceInfo;
    std::unique_ptr<CMeasuredVariable> m_pt;
    std::unique_ptr<CMeasuredVariable> m_dp;
    std::unique_ptr<CSPVariable> m_sp;
    std::unique_ptr<CFlow> m_flow;
    uint16_t m_register128 = 0;
    uint16_t m_register129 = 0;
    uint16_t m_turnaroundDelay = kDefaultTurnaroundDelay;
    uint16_t m_floatFormat = 0;
    uint16_t m_scalingMethod = 0;
    std::array<int, 4> m_assignment{transmitter::kVarFlow, transmitter::kVarDp, transmitter::kVarSp,
                                    transmitter::kVarPt};
};
