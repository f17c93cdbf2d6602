#pragma once

#include <array>

#include "config/CConfigForm.h"

// The units window: one list per variable (keys "DP", "SP", "PT") with the
// units the variable allows, in list order. OK writes the changed variables
// only, DP, SP, PT, after the reminder to recalculate the integer scaling
// factors where the scaling method uses them.
class CUnitsForm : public CConfigForm {
  public:
    using CConfigForm::CConfigForm;

    std::string Caption() const override;
    FormOutcome Ok() override;

  protected:
    void Read() override;
    std::vector<int> ChoiceCodes(const std::string& key) const override;

  private:
    // List positions selected at opening, -1 where the unit read matched none.
    std::array<int, 3> m_firstSelected{-1, -1, -1};
};
