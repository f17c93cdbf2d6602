#pragma once

#include "units/CDimValue.h"

// Converts between inches (47) and mm (49); base unit inches.
class CLength : public CDimValue {
  public:
    using CDimValue::CDimValue;
    CLength() = default;
    CLength(const CLength& other) = default;
    // Copies value and unit of any dimensioned value.
    explicit CLength(const CDimValue& other) : CDimValue(other) {}
    CLength& operator=(const CLength& other) = default;
    // Copies value and unit of any dimensioned value and validates the unit.
    CLength& operator=(const CDimValue& other);

    void ConvertTo(const CUnit& target) override;
    // Validates the unit, then stores value and unit.
    void Set(double value, const CUnit& unit) override;
};
