#include "units/CDVViscosity.h"

#include "units/IllegalUnits.h"

namespace {
constexpr const char* kIllegal = "ERROR: Illegal units in CDVViscosity::ConvertTo\n";
constexpr int kCentipoise = 55;
constexpr int kLbsPerFtSec = 245;
constexpr int kPascalSec = 246;
constexpr double kLbsPerFtSecPerCentipoise = 0.000671969;
constexpr double kPascalSecPerCentipoise = 0.001;
}  // namespace

CDVViscosity& CDVViscosity::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

void CDVViscosity::ConvertTo(const CUnit& target) {
    if (target == m_unit) return;
    target.Validate();
    double centipoise = 0.0;
    switch (m_unit.UnitCode()) {
        case kCentipoise:
            centipoise = m_value;
            break;
        case kLbsPerFtSec:
            centipoise = m_value / kLbsPerFtSecPerCentipoise;
            break;
        case kPascalSec:
            centipoise = m_value / kPascalSecPerCentipoise;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    switch (target.UnitCode()) {
        case kCentipoise:
            m_value = centipoise;
            break;
        case kLbsPerFtSec:
            m_value = centipoise * kLbsPerFtSecPerCentipoise;
            break;
        case kPascalSec:
            m_value = centipoise * kPascalSecPerCentipoise;
            break;
        default:
            units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CDVViscosity::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
