#pragma once

#include "units/CDimValue.h"

// Converts between °C, °F, °R, °K (codes 32..35); base unit °F.
class CTemperature : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CTemperature() = default;
    CTemperature(const CTemperature& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CTemperature(const CDimValue& other) : CDimValue(other) {}
    CTemperature& operator=(const CTemperature& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CTemperature& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
