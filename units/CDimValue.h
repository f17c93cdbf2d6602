#pragma once

#include "units/CUnit.h"

// A double with its unit. The base class converts nothing; one derived class per
// dimension (CTemperature, CPressure, CCelsiusFahrenheit, CLength, CDVDensity,
// CDVViscosity) converts between the units of its dimension.
class CDimValue {
  public:
    CDimValue() = default;
    CDimValue(double value, const CUnit& unit) : m_value(value), m_unit(unit) {}
    CDimValue(const CDimValue& other) = default;
    CDimValue& operator=(const CDimValue& other) = default;
    virtual ~CDimValue() = default;

    double Value() const { return m_value; }
    CUnit Unit() const { return m_unit; }

    // Converts the value to `target` and then holds the target unit. Does
    // nothing in CDimValue itself. In a dimension class an illegal source or
    // target unit writes a trace line and throws CNotSupportedException.
    virtual void ConvertTo(const CUnit& target);
    // Stores value and unit (a dimension class validates the unit first).
    virtual void Set(double value, const CUnit& unit);

  protected:
    double m_value = 0.0;
    CUnit m_unit;
};
