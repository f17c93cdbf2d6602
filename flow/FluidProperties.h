#pragma once

#include <string>

#include "flow/CChemicalDatabase.h"

// Physical properties of a fluid from the constants of its database record:
// temperatures in kelvin, pressures in pascal, molecular weight in kg/kmol,
// densities in kg/m3, viscosities in Pa s (unless a function says otherwise).
// Every "is zero" test compares with kTiny.
namespace flow {

inline constexpr double kTiny = 1e-30;
inline constexpr double kGasConstantSi = 8314.41;  // J/(kmol K)
inline constexpr double kGasConstantUs = 1545.35;  // ft lbf/(lbmol °R)
inline constexpr double kSquareInchesPerFoot = 144.0;
inline constexpr double kJoulesPerKcal = 4184.0;
inline constexpr double kGasConstantCal = 1.98586;  // cal/(mol K)

inline constexpr int kPhaseGas = 0;
inline constexpr int kPhaseLiquid = 1;

using Record = CChemicalDatabase::Record;

// Liquid density, rho = MW * A / B^(1 + (1 - T/C)^D).
double LiquidDensity(const Record& c, double mw, double t);

// Second virial coefficient, m3/kmol: A + B/T + C/T^3 + D/T^8 + E/T^9.
double SecondVirial(const Record& c, double t);

enum class Root { Lower, Upper };

// Molar density (kmol/m3) of the virial equation of state. When B(T) or T is
// zero, T is raised by 0.5 K (at most twice). False for a negative
// discriminant or a virial coefficient that stays zero.
bool GasMolarDensityRoot(Root root, const Record& c, double t, double p, double& molarDensity);

// Density of a liquid (record: liquid density) or gas (record: second
// virial). Gas failures show 334, 366 or 367.
bool FluidDensity(int phase, const Record& c, double mw, double p, double t, double& density);

// Z = MW * 144 * P / (1545.35 * T * rho), T in °R, P in psi, rho in Lbs/CuFt.
// Shows 335 and gives -1 for a zero temperature, divisor or result.
double CompressibilityFromDensity(double mw, double tRankine, double pPsi, double density);
// rho = MW * 144 * P / (1545.35 * T * Z), with the same checks.
double DensityFromCompressibility(double mw, double tRankine, double pPsi, double z);

// Liquid viscosity from constants 1-5, vapour from 6-9. A result that is not
// positive shows 330 and fails.
bool Viscosity(int phase, const Record& c, double t, double& viscosity);

// Isentropic exponent from the ideal-gas heat capacity record at the mean of
// the operating temperatures (K). Shows 332 on a zero divisor.
bool IsentropicExponentFromRecord(const Record& c, const std::string& fluidName, double tMin,
                                  double tMax, double& exponent);

// As above, reading the heat-capacity record of the fluid from the database.
bool IsentropicExponent(const CChemicalDatabase& database, const std::string& fluidName,
                        double tMin, double tMax, double& exponent);

}  // namespace flow
