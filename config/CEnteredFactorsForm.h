#pragma once

#include "config/CScalingParametersForm.h"

// Entered Scale Factors and Offsets: the full-scale count ("counts", 1 to
// 65534) and per variable a scale factor ("DP-factor", 1 to the count) and an
// offset ("DP-offset", 0 to 65534). The PVs at 0 and at the full-scale count
// follow from them: integer = PV x factor + 32768 - offset.
class CEnteredFactorsForm : public CScalingParametersForm {
  public:
    static constexpr long kMaximumCounts = 65534;
    static constexpr long kMaximumOffset = 65534;

    using CScalingParametersForm::CScalingParametersForm;

    std::string Caption() const override;
    uint16_t Method() const override { return transmitter::kScalingEnteredFactors; }
    FormOutcome Ok() override;

  protected:
    void Read() override;
    std::vector<std::string> RowKeys(int variable) const override;
};
