#pragma once

#include <array>

#include "config/CCalculatedFactorsForm.h"
#include "config/CConfigForm.h"

// The read-only view of calculated factors: the full-scale count ("counts")
// and per variable the scale factor and offset ("DP-factor", "DP-offset"),
// laid out as the Entered Scale Factors and Offsets window with every field
// disabled. A value that does not fit shows "*Out of Range*".
class CFactorsViewForm : public CConfigForm {
  public:
    CFactorsViewForm(CMVDoc& doc, int mode, uint16_t counts,
                     const std::array<CalculatedFactors, 3>& factors, const UnitsNames& units);

    std::string Caption() const override;
    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    uint16_t m_counts;
    std::array<CalculatedFactors, 3> m_factors;
    UnitsNames m_units;
};
