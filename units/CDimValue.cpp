#include "units/CDimValue.h"

void CDimValue::ConvertTo(const CUnit& /*target*/) {}

void CDimValue::Set(double value, const CUnit& unit) {
    m_value = value;
    m_unit = unit;
}
