#pragma once

#include "config/CConfigForm.h"

// Module Information: per variable the sensor range code, the range limits,
// units and minimum span ("dp-range", "dp-lrl", "dp-url", "dp-units",
// "dp-min-span", the same for "sp-" and "pt-"), the ten materials of
// construction ("isolator-material", "fill-fluid", "flange-type",
// "flange-material", "drain-vent-material", "o-ring-material", "seal-type",
// "seal-fill", "seal-material", "seal-count") and whether the fixed process
// temperature is used ("fixed-pt"). Every field is shown only.
class CModuleInfoForm : public CConfigForm {
  public:
    explicit CModuleInfoForm(CMVDoc& doc);

    std::string Caption() const override;
    FormOutcome Ok() override;

    // The key of a column of the sensor table for a variable: ModuleKey(0, "lrl") = "dp-lrl".
    static std::string ModuleKey(int variable, const char* column);

  protected:
    void Read() override;
};
