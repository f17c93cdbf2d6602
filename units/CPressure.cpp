#include "units/CPressure.h"

#include "units/IllegalUnits.h"

namespace {

constexpr const char* kIllegal = "ERROR: Illegal units in CPressure::ConvertTo\n";
constexpr int kFtH2O = 3;
constexpr double kInchesPerFoot = 12.0;

struct Factor {
    int code;
    double k;  // units in one inch of water at 68 °F
};

constexpr Factor kFactors[] = {
    {1, 1.0},          {2, 0.073423854}, {4, 25.4},         {5, 1.86497},         {6, 0.03606234},
    {7, 0.0024864107}, {8, 2.4864107},   {9, 2.5354333},    {10, 0.0025354333},   {11, 248.64107},
    {12, 0.24864107},  {13, 1.86497},    {14, 0.002453898}, {237, 0.00024864107}, {240, 0.999189},
};

const Factor* FindFactor(int code) {
    for (const auto& factor : kFactors) {
        if (factor.code == code) return &factor;
    }
    return nullptr;
}

}  // namespace

CPressure& CPressure::operator=(const CDimValue& other) {
    m_value = other.Value();
    m_unit = other.Unit();
    return *this;
}

void CPressure::ConvertTo(const CUnit& target) {
    if (target == m_unit) return;
    target.Validate();
    double base = 0.0;
    if (m_unit.UnitCode() == kFtH2O) {
        base = m_value * kInchesPerFoot;
    } else if (const Factor* from = FindFactor(m_unit.UnitCode())) {
        base = m_value / from->k;
    } else {
        units::IllegalUnits(kIllegal);
    }
    if (target.UnitCode() == kFtH2O) {
        m_value = base / kInchesPerFoot;
    } else if (const Factor* to = FindFactor(target.UnitCode())) {
        m_value = base * to->k;
    } else {
        units::IllegalUnits(kIllegal);
    }
    m_unit = target;
}

void CPressure::Set(double value, const CUnit& unit) {
    unit.Validate();
    m_value = value;
    m_unit = unit;
}
