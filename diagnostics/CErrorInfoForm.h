#pragma once

#include <string>
#include <vector>

#include "config/CConfigForm.h"
#include "diagnostics/StatusBits.h"

// Error Information: the status the connected transmitter reports, one line
// per set bit (write protect left out), read at opening. It only shows; OK
// closes it.
class CErrorInfoForm : public CConfigForm {
  public:
    explicit CErrorInfoForm(CMVDoc& doc);

    std::string Caption() const override;
    FormOutcome Ok() override;

    const diagnostics::StatusBytes& Status() const { return m_status; }
    const std::vector<std::string>& Lines() const { return m_lines; }

  protected:
    void Read() override;

  private:
    diagnostics::StatusBytes m_status{};
    std::vector<std::string> m_lines;
};
