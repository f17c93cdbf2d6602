#include "units/CCelsiusFahrenheit.h"

#include "units/IllegalUnits.h"

namespace {
constexpr const char* kIllegal = "ERROR: Illegal units in CTemperature::ConvertTo\n";
}  // namespace

CCelsiusFahrenheit& CCelsiusFahrenheit::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

// Converts even to its own unit: the value is recomputed through °F.
void CCelsiusFahrenheit::ConvertTo(const CUnit& target) {
    target.Validate();
    double fahrenheit = 0.0;
    switch (m_unit.UnitCode()) {
        case 32:
            fahrenheit = m_value * 1.8 + 32.0;
            break;
        case 33:
            fahrenheit = m_value;
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
        default:
            units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CCelsiusFahrenheit::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
