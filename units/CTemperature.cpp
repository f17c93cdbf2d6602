#include "units/CTemperature.h"

#include "units/IllegalUnits.h"

namespace {
constexpr const char* kIllegal = "ERROR: Illegal units in CTemperature::ConvertTo\n";
}  // namespace

CTemperature& CTemperature::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

void CTemperature::ConvertTo(const CUnit& target) {
    if (target == m_unit) return;
    target.Validate();
    double fahrenheit = 0.0;
    switch (m_unit.UnitCode()) {
        case 32:
            fahrenheit = m_value * 1.8 + 32.0;
            break;
        case 33:
            fahrenheit = m_value;
            break;
        case 34:
            fahrenheit = m_value - 459.67;
            break;
        case 35:
            fahrenheit = m_value * 1.8 - 459.67;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    switch (target.UnitCode()) {
        case 32:
            m_value = (fahrenheit - 32.0) / 1.8;
            break;
        case 33:
            m_value = fahrenheit;
            break;
        case 34:
            m_value = fahrenheit + 459.67;
            break;
        case 35:
            m_value = (fahrenheit + 459.67) / 1.8;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CTemperature::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
