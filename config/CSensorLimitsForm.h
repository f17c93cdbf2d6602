#pragma once

#include <array>
#include <string>

#include "config/COperatingLimitsForm.h"

// The Sensor Limits window of the connected transmitter: the write-protect
// state ("write-protect"), per variable the present value ("DP-present"), its
// units ("DP-units"), the range limits and the present operating limits
// ("DP-LRL", "DP-LOL", "DP-UOL", "DP-URL"), and the new operating limits in
// "DP-lower" and "DP-upper". A limit whose "%g" text is the range limit's
// shown text is taken as exactly that range limit; limits outside the range
// are refused. The changed variables are written DP, SP, PT; a variable the
// transmitter rejects keeps the window open, the ones before it written.
class CSensorLimitsForm : public COperatingLimitsForm {
  public:
    using COperatingLimitsForm::COperatingLimitsForm;

    std::string Caption() const override;
    FormOutcome Ok() override;
    // The window's values first, then the limits the terminal joins.
    std::vector<FormField> TerminalFields() const override;

  protected:
    void Read() override;
    // The model write, replaceable by a test that needs a transmitter which
    // adjusts the limits it is sent.
    virtual void WriteLimits(int variable, double lower, double upper);

  private:
    std::array<float, 3> m_lowerRange{};
    std::array<float, 3> m_upperRange{};
};
