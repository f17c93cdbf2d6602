#pragma once

#include <cmath>

#include "config/CDampingForm.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"

// The damping form on a transmitter that keeps damping only in steps of half a
// second: it stores the nearest step and answers with the nearest-value
// warning, as a transmitter that rounds its damping does.
class CHalfSecondDampingForm : public CDampingForm {
  public:
    using CDampingForm::CDampingForm;

  protected:
    void WriteDamping(int variable, double seconds) override {
        const double kept = std::round(seconds * 2.0) / 2.0;
        CDampingForm::WriteDamping(variable, kept);
        if (kept != static_cast<double>(static_cast<float>(seconds)))
            throw CCommException(commerr::kDampingNearest);
    }
};
