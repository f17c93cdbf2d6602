#pragma once

#include <cstdint>

#include "config/CConfigForm.h"

// The transmitter communication parameters window: the turnaround delay, the
// milliseconds the transmitter waits before it answers (key "turnaround"). A
// delay below 50 mS is written only after a warning, since a line whose
// direction is switched with RTS may then lose the replies. The delay is a
// 16-bit register: more than 65535 is refused rather than cut. No safety
// prompt: the delay does not change the process value.
class CTransmitterCommForm : public CConfigForm {
  public:
    static constexpr unsigned long kWarnBelow = 50;
    static constexpr unsigned long kMaximumDelay = 65535;

    using CConfigForm::CConfigForm;

    std::string Caption() const override;
    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    uint16_t m_firstRead = 0;
};
