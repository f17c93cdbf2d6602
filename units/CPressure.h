#pragma once

#include "units/CDimValue.h"

// Converts between codes 1..14, 237, 240; base unit 1 (InH2O-68°F).
class CPressure : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CPressure() = default;
    CPressure(const CPressure& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CPressure(const CDimValue& other) : CDimValue(other) {}
    CPressure& operator=(const CPressure& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CPressure& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
