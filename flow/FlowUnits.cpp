#include "flow/FlowUnits.h"

#include "units/CDVDensity.h"
#include "units/CDVViscosity.h"
#include "units/CLength.h"
#include "units/CPressure.h"
#include "units/CTemperature.h"
#include "units/Units.h"

namespace flow {
namespace {

template <class Dimension>
double Convert(double value, const CUnit& from, const CUnit& to) {
    Dimension converter(value, from);
    converter.ConvertTo(to);
    return converter.Value();
}

}  // namespace

#define FLOW_UNIT(name, code, type)          \
    const CUnit& name() {                    \
        static const CUnit unit(code, type); \
        return unit;                         \
    }
FLOW_UNIT(Psi, 6, units::kMtcSp)
FLOW_UNIT(DpUnit, 240, units::kMtcDp)
FLOW_UNIT(Pascal, 11, units::kMtcDp)
FLOW_UNIT(Fahrenheit, 33, units::kMtcPt)
FLOW_UNIT(Rankine, 34, units::kMtcPt)
FLOW_UNIT(Kelvin, 35, units::kMtcPt)
FLOW_UNIT(Inches, 47, units::kMtcLength)
FLOW_UNIT(LbsPerCuFt, 94, units::kMtcDensity)
FLOW_UNIT(KgPerCuM, 92, units::kMtcDensity)
FLOW_UNIT(Centipoise, 55, units::kMtcViscosity)
FLOW_UNIT(PascalSec, 246, units::kMtcViscosity)
#undef FLOW_UNIT

double PressureIn(const CDimValue& value, const CUnit& unit) {
    return Convert<CPressure>(value.Value(), value.Unit(), unit);
}
double PressureIn(double value, const CUnit& from, const CUnit& to) {
    return Convert<CPressure>(value, from, to);
}
double TemperatureIn(const CDimValue& value, const CUnit& unit) {
    return Convert<CTemperature>(value.Value(), value.Unit(), unit);
}
double TemperatureIn(double value, const CUnit& from, const CUnit& to) {
    return Convert<CTemperature>(value, from, to);
}
double LengthIn(const CDimValue& value, const CUnit& unit) {
    return Convert<CLength>(value.Value(), value.Unit(), unit);
}
double DensityIn(double value, const CUnit& from, const CUnit& to) {
    return Convert<CDVDensity>(value, from, to);
}
double ViscosityIn(double value, const CUnit& from, const CUnit& to) {
    return Convert<CDVViscosity>(value, from, to);
}

}  // namespace flow
