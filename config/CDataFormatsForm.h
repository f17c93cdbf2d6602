#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/CConfigForm.h"
#include "config/CScalingParametersForm.h"

// The Data Formats window: the byte order of floats on the wire
// ("float-format", codes 0 to 3, with a picture of the bytes in transmission
// order) and the integer scaling method ("scaling", codes 0 to 3) with the
// parameters of each method, entered in a window of its own. Choosing another
// method opens its parameter window at once; OK there makes it the accepted
// method, Cancel goes back to the method accepted before. OK writes the
// format, the method, and the records of the method's parameter set, each only
// when it changed.
//
// On the terminal the parameters are given as keys of their own: "counts",
// "rounding" ("nearest", "down", "up") and per variable "DP", "SP", "PT"
// joined as the method's parameter window orders its fields. They pass
// through the parameter window's checks before OK.
class CDataFormatsForm : public CConfigForm {
  public:
    // What choosing a method in the list led to.
    enum class Selection {
        None,
        OpenParameters,  // the method's parameter window is to open at once
        Failed,          // reading its parameters failed; the window closes (abort)
    };

    using CConfigForm::CConfigForm;

    std::string Caption() const override;

    // The four bytes A (sign and high exponent bits) to D in the order the
    // format sends them, e.g. "DCBA" for format 2; empty for an unknown code.
    static std::string ByteOrder(int format);
    std::string SelectedByteOrder() const;

    int CurrentMethod() const { return m_current; }
    int AcceptedMethod() const { return m_accepted; }
    // "&Parameters ..." is enabled for every method but Disabled.
    bool ParametersEnabled() const { return m_current > 0; }

    // Choosing in the method list reads the method's parameters when they
    // have not been read yet.
    void SetChoice(const std::string& key, int index) override;
    // What the last choice in the method list led to; cleared by taking it.
    Selection TakeSelection();
    // The parameter window's form of the current method, with its three
    // records and the units names; nullptr for Disabled.
    std::unique_ptr<CScalingParametersForm> ParameterForm();
    // OK in the parameter window: its records become the method's, and the
    // method the accepted one; its list text is marked "*" when they differ
    // from those read.
    void AcceptParameters(const CScalingParametersForm& parameters);
    // Cancel in the parameter window: back to the method accepted before.
    void RejectParameters();

    FormOutcome Ok() override;

    std::string SetValue(const std::string& key, const std::string& value) override;
    std::vector<FormField> TerminalFields() const override;
    std::vector<std::string> TerminalKeys() const override;

  protected:
    void Read() override;
    std::vector<int> ChoiceCodes(const std::string& key) const override;

  private:
    // The parameter sets: 0 none (Disabled), 1 endpoints, 2 scale factors and
    // offsets (shared by methods 2 and 3).
    static size_t SetOf(int method);
    void ReadSet(int method);
    bool RecordsDiffer(int method) const;
    bool ScalingChanged() const;
    // Runs the parameter keys given on the terminal through the parameter
    // window of the current method; a refusal when they do not pass.
    bool ApplyTerminalParameters(FormOutcome& refusal);
    std::string MethodName(int method) const;
    std::string FormatName(int format) const;

    uint16_t m_formatRead = 0;
    uint16_t m_methodRead = 0;
    int m_current = -1;
    int m_accepted = -1;
    std::array<ScalingRecords, 3> m_sets{};
    std::array<ScalingRecords, 3> m_setsRead{};
    std::array<bool, 3> m_setRead{};
    UnitsNames m_units;
    Selection m_selection = Selection::None;
    std::vector<std::pair<std::string, std::string>> m_terminalParameters;
};
