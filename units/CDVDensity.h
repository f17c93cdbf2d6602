#pragma once

#include "units/CDimValue.h"

// Converts between Kg/CuM (92) and Lbs/CuFt (94); base unit Lbs/CuFt.
class CDVDensity : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CDVDensity() = default;
    CDVDensity(const CDVDensity& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CDVDensity(const CDimValue& other) : CDimValue(other) {}
    CDVDensity& operator=(const CDVDensity& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CDVDensity& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
