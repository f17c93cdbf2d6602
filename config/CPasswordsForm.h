#pragma once

#include <string>

#include "config/CConfigForm.h"

class CSecurity;

// The passwords window of the administrator: the six medium level passwords
// (keys "medium-1" to "medium-6") and the high level one ("high"), as the
// security object holds them. Input turns to upper case; at most 8 characters
// of the keyboard. OK asks before it updates the transmitter, then writes the
// whole block when all seven changed, else each changed medium password (as
// number 2 to 7) and then the high one (number 1). A failed write is shown and
// the window stays open. The passwords themselves are never logged.
class CPasswordsForm : public CConfigForm {
  public:
    static constexpr size_t kMaximumLength = 8;

    CPasswordsForm(CMVDoc& doc, CSecurity& security);

    std::string Caption() const override;
    void SetText(const std::string& key, const std::string& text) override;
    FormOutcome Ok() override;

    // "medium-1" .. "medium-6" for the password numbers 2 to 7, "high" for 1.
    static std::string KeyOf(int number);

  protected:
    void Read() override;

  private:
    CSecurity& m_security;
};
