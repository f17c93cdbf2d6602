#pragma once

#include <string>

#include "units/CLength.h"

// The differential producers: discharge coefficient, thermal expansion and
// Ed², gas expansion factor and the recommended geometry. Diameters in inches,
// temperatures in °R, differential pressure in InH2O-60°F and static pressure in
// psi unless a function says otherwise.
namespace flow {

enum DiffProducer {
    kOrificeCorner = 0,
    kOrificeFlange = 1,
    kOrificeDAndDHalf = 2,
    kOrificePipe = 3,
    kNozzleLongRadius = 4,
    kVenturiMachined = 5,
    kVenturiRoughCast = 6,
    kVenturiWelded = 7,
    kNozzleIsa = 8,
    kVenturiNozzle = 9,
    kOrificeAgaFlange = 10,
    kIntegralOrifice = 11,
};
inline constexpr int kDiffProducerCount = 12;

// InH2O-60°F in one psi.
inline constexpr double kDpUnitsPerPsi = 27.72976;
// Below this bore the integral orifice behaves as a nozzle.
inline constexpr double kIntegralOrificeSmallBore = 0.0659;
// Line-size limits of the integral orifice table.
inline constexpr double kIntegralOrificeSmallLine = 0.8805;
inline constexpr double kIntegralOrificeMediumLine = 1.332;

// Display name; "NAME ERROR" (with a trace line) for an unknown code.
std::string DiffProducerName(int code);

// Cd at Reynolds number re. Shows 340 (no usable geometry) or 353 (unknown
// producer) and abandons the calling operation.
double DischargeCoefficient(int code, double d, double tubeD, double re);

// A diameter at temperature t from its value at the reference temperature.
double ExpandedDiameter(double diameter, double alpha, double t, double tReference);

// d^2 / sqrt(1 - beta^4) from the diameters at temperature. Shows 343 and
// abandons for a zero or inverted geometry.
double EdSquared(double dAtT, double tubeDAtT);

// True when the producer uses the orifice expansion equation; then c1 holds the
// coefficient of Y = 1 + c1 * DP/P. Shows 346 and abandons for a zero geometry
// or isentropic exponent.
bool OrificeExpansion(int code, double d, double tubeD, double k, double& c1);

// Expansion factor of nozzles and venturis at x = DP/P. Shows 346 and abandons
// on a zero divisor.
double NozzleExpansionFactor(double x, double d, double tubeD, double k);

// 0 when the geometry is within the recommended limits of the producer;
// otherwise shows the first note that applies and returns non-zero.
int CheckRecommendedRange(int code, const CLength& d, const CLength& tubeD);

}  // namespace flow
