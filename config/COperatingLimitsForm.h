#pragma once

#include <array>
#include <string>

#include "config/CConfigForm.h"

// What the two operating-limits windows share: a lower and an upper edit
// field per variable (keys "DP-lower", "DP-upper", ... for SP and PT), the
// values first read, and the terminal's joined value "DP=LOWER:UPPER" in
// which a side left empty keeps its field.
class COperatingLimitsForm : public CConfigForm {
  public:
    using CConfigForm::CConfigForm;

    static std::string LowerKey(int variable);
    static std::string UpperKey(int variable);

    std::string SetValue(const std::string& key, const std::string& value) override;
    std::vector<FormField> TerminalFields() const override;

  protected:
    // The six entered values, as single-precision floats.
    struct Entered {
        std::array<float, 3> lower{};
        std::array<float, 3> upper{};
    };

    // Adds the two edit fields of a variable; their values as parsed become
    // the first-read values.
    void AddLimitFields(int variable, double lower, double upper, const std::string& units);
    // Reads the six fields in the order DP, SP, PT, lower before upper; a text
    // that is no number is refused with the focus on its field.
    bool ReadEntered(Entered& entered, FormOutcome& refusal) const;
    bool Changed(const Entered& entered, int variable) const;
    // The variable's entered values are what the model now holds.
    void Keep(const Entered& entered, int variable);
    // "lower:upper units" of the first-read and the entered values, for the
    // record of a write.
    std::string FirstReadText(int variable) const;
    std::string EnteredText(const Entered& entered, int variable) const;
    const std::string& UnitsName(int variable) const {
        return m_units[static_cast<size_t>(variable)];
    }

  private:
    std::array<float, 3> m_firstLower{};
    std::array<float, 3> m_firstUpper{};
    std::array<std::string, 3> m_units;
};
