#pragma once

#include "units/CDimValue.h"

// Converts between °C and °F only (codes 32, 33); base unit °F. Unlike the
// other classes it converts even to its own unit (recomputing the value), and
// its illegal-unit trace is the CTemperature text.
class CCelsiusFahrenheit : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CCelsiusFahrenheit() = default;
    CCelsiusFahrenheit(const CCelsiusFahrenheit& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CCelsiusFahrenheit(const CDimValue& other) : CDimValue(other) {}
    CCelsiusFahrenheit& operator=(const CCelsiusFahrenheit& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CCelsiusFahrenheit& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
