#pragma once

#include "config/CScalingParametersForm.h"

// Entered Endpoints: per variable the integer at the minimum and at the
// maximum PV ("DP-min-integer", "DP-max-integer") and the two PVs
// ("DP-min-pv", "DP-max-pv"). Checked DP, SP, PT, within a row the integers
// before the PVs: integers 0 to 65534, the maximum integer above the
// minimum, the maximum PV above the minimum PV.
class CEndpointsForm : public CScalingParametersForm {
  public:
    static constexpr long kMaximumInteger = 65534;

    using CScalingParametersForm::CScalingParametersForm;

    std::string Caption() const override;
    uint16_t Method() const override { return transmitter::kScalingEndpoints; }
    FormOutcome Ok() override;

  protected:
    void Read() override;
    std::vector<std::string> RowKeys(int variable) const override;
};
