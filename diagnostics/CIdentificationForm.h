#pragma once

#include "config/CConfigForm.h"

// Identification Information: manufacturer and model by name, the transmitter
// and sensor serial numbers and the five revisions ("manufacturer", "model",
// "transmitter-serial-number", "sensor-serial-number", "universal-revision",
// "specific-revision", "hardware-revision", "output-board-revision",
// "sensor-module-revision"). Every field is shown only.
class CIdentificationForm : public CConfigForm {
  public:
    static constexpr int kBrackwell = 38;
    static constexpr int kCorvelWithModbus = 31;

    explicit CIdentificationForm(CMVDoc& doc);

    std::string Caption() const override;
    FormOutcome Ok() override;

    // The name of a manufacturer or model code; an unknown code as "17 (Unknown)".
    static std::string ManufacturerName(int code);
    static std::string ModelName(int code);
    // A 16-bit revision as "high.low": 0x0102 is "1.2".
    static std::string ByteRevision(uint16_t revision);

  protected:
    void Read() override;
};
