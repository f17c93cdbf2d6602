#pragma once

#include "units/CDimValue.h"
#include "units/CUnit.h"

// The fixed units of the flow calculations and conversions into them.
namespace flow {

const CUnit& Psi();         // 6, static pressure
const CUnit& DpUnit();      // 240, InH2O-60°F
const CUnit& Pascal();      // 11
const CUnit& Fahrenheit();  // 33
const CUnit& Rankine();     // 34
const CUnit& Kelvin();      // 35
const CUnit& Inches();      // 47
const CUnit& LbsPerCuFt();  // 94
const CUnit& KgPerCuM();    // 92
const CUnit& Centipoise();  // 55
const CUnit& PascalSec();   // 246

double PressureIn(const CDimValue& value, const CUnit& unit);
double PressureIn(double value, const CUnit& from, const CUnit& to);
double TemperatureIn(const CDimValue& value, const CUnit& unit);
double TemperatureIn(double value, const CUnit& from, const CUnit& to);
double LengthIn(const CDimValue& value, const CUnit& unit);
double DensityIn(double value, const CUnit& from, const CUnit& to);
double ViscosityIn(double value, const CUnit& from, const CUnit& to);

}  // namespace flow
