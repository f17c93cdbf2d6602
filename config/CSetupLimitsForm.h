#pragma once

#include "config/COperatingLimitsForm.h"

// The Setup Sensor Operating Limits window of the document: the lower and
// upper operating limit of each variable ("DP-lower", "DP-upper", ...) with
// its units. No range limits are known offline, so the limits are checked
// against fixed bounds in the units shown: DP -206539 to 206539, SP 0 to
// 25000, PT -40 to 1200, the bounds accepted. Each changed variable that
// passes is written at once, so a later refusal leaves it written.
class CSetupLimitsForm : public COperatingLimitsForm {
  public:
    static constexpr float kLowerBounds[] = {-206539.0f, 0.0f, -40.0f};
    static constexpr float kUpperBounds[] = {206539.0f, 25000.0f, 1200.0f};

    using COperatingLimitsForm::COperatingLimitsForm;

    std::string Caption() const override;
    FormOutcome Ok() override;

  protected:
    void Read() override;
};
