#pragma once

#include "units/CDimValue.h"

// Converts between Centipoise (55), Lbs/Ft sec (245), Pascal sec (246); base unit
// Centipoise.
class CDVViscosity : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CDVViscosity() = default;
    CDVViscosity(const CDVViscosity& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CDVViscosity(const CDimValue& other) : CDimValue(other) {}
    CDVViscosity& operator=(const CDVViscosity& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CDVViscosity& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
