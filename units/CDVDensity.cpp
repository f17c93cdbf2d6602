#include "units/CDVDensity.h"

#include "units/IllegalUnits.h"

namespace {
constexpr const char* kIllegal = "ERROR: Illegal units in CDVDensity::ConvertTo\n";
constexpr int kKgPerCuM = 92;
constexpr int kLbsPerCuFt = 94;
constexpr double kKgPerCuMPerLbsPerCuFt = 16.01846;
}  // namespace

CDVDensity& CDVDensity::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

void CDVDensity::ConvertTo(const CUnit& target) {
    if (target == m_unit) return;
    target.Validate();
    double lbsPerCuFt = 0.0;
    switch (m_unit.UnitCode()) {
        case kKgPerCuM:
            lbsPerCuFt = m_value / kKgPerCuMPerLbsPerCuFt;
            break;
        case kLbsPerCuFt:
            lbsPerCuFt = m_value;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    switch (target.UnitCode()) {
        case kKgPerCuM:
            m_value = lbsPerCuFt * kKgPerCuMPerLbsPerCuFt;
            break;
        case kLbsPerCuFt:
            m_value = lbsPerCuFt;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CDVDensity::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
