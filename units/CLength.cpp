#include "units/CLength.h"

#include "units/IllegalUnits.h"

namespace {
constexpr const char* kIllegal = "ERROR: Illegal units in CLength::ConvertTo\n";
constexpr int kInches = 47;
constexpr int kMm = 49;
constexpr double kMmPerInch = 25.4;
}  // namespace

CLength& CLength::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

void CLength::ConvertTo(const CUnit& target) {
    if (target == m_unit) return;
    target.Validate();
    double inches = 0.0;
    switch (m_unit.UnitCode()) {
        case kInches:
            inches = m_value;
            break;
        case kMm:
            inches = m_value / kMmPerInch;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    switch (target.UnitCode()) {
        case kInches:
            m_value = inches;
            break;
        case kMm:
            m_value = inches * kMmPerInch;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CLength::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
