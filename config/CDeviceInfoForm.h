#pragma once

#include <array>
#include <string>

#include "config/CConfigForm.h"
#include "transmitter/ModelTypes.h"

// The device information window: tag, date, descriptor and message (keys
// "tag", "date", "descriptor", "message") and the eight construction lists
// ("flange-type", "flange-material", "o-ring-material", "drain-vent-material",
// "seal-type", "seal-fill", "seal-material", "seal-count"). OK checks lengths,
// the date and the characters, then writes tag, descriptor and date together,
// the message, and all eight codes together, each only when it changed.
class CDeviceInfoForm : public CConfigForm {
  public:
    static constexpr size_t kCodeListCount = 8;

    using CConfigForm::CConfigForm;

    std::string Caption() const override;
    FormOutcome Ok() override;

  protected:
    void Read() override;
    std::vector<int> ChoiceCodes(const std::string& key) const override;

  private:
    // The codes the lists give, a list without a selection keeping the code read.
    ConstructionCodes SelectedCodes() const;
    FormOutcome CheckTexts() const;

    std::string m_firstTag;
    std::string m_firstDescriptor;
    std::string m_firstMessage;
    std::string m_firstDate;
    ConstructionCodes m_codesRead;
    std::array<int, kCodeListCount> m_firstSelected{};
};
