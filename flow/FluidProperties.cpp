#include "flow/FluidProperties.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "flow/Messages.h"
#include "resources/Texts.h"

namespace flow {
namespace {

constexpr unsigned kMsgViscosityZero = 330;
constexpr unsigned kMsgIsentropicDivide = 332;
constexpr unsigned kMsgNegativeRoot = 334;
constexpr unsigned kMsgDensityDivide = 335;
constexpr unsigned kMsgNegativeDensity = 366;
constexpr unsigned kMsgImplausibleDensity = 367;

constexpr double kRetryStep = 0.5;  // K
constexpr int kVirialAttempts = 3;
constexpr double kPlausibilityStep = 0.25;  // K

bool IsPlausible(Root root, const Record& c, double t, double p, double r) {
    double below = 0.0;
    double above = 0.0;
    if (!GasMolarDensityRoot(root, c, t - kPlausibilityStep, p, below) ||
        !GasMolarDensityRoot(root, c, t + kPlausibilityStep, p, above))
        return false;
    const double rise = above - r;       // u+
    const double riseBelow = r - below;  // u-
    if (rise > 0.0 && riseBelow > 0.0) return false;
    if (rise < 0.0 && riseBelow < 0.0) return true;
    const double s = rise >= 0.0 ? rise : riseBelow;
    const double v = rise >= 0.0 ? riseBelow : rise;
    const double limit = std::min({r, std::fabs(below), std::fabs(above), 5.0 * std::fabs(s)});
    return std::fabs(v) < limit;
}

double UsDensityRelation(double mw, double tRankine, double pPsi, double divisor) {
    if (tRankine < kTiny || divisor < kTiny) {
        ShowMessage(kMsgDensityDivide);
        return -1.0;
    }
    const double result = mw * kSquareInchesPerFoot * pPsi / (kGasConstantUs * tRankine * divisor);
    if (result < kTiny) {
        ShowMessage(kMsgDensityDivide);
        return -1.0;
    }
    return result;
}

std::string Upper(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

}  // namespace

double LiquidDensity(const Record& c, double mw, double t) {
    return mw * c[0] / std::pow(c[1], 1.0 + std::pow(1.0 - t / c[2], c[3]));
}

double SecondVirial(const Record& c, double t) {
    const double t3 = t * t * t;
    const double t8 = t3 * t3 * t * t;
    return c[0] + c[1] / t + c[2] / t3 + c[3] / t8 + c[4] / (t8 * t);
}

bool GasMolarDensityRoot(Root root, const Record& c, double t, double p, double& molarDensity) {
    double b = 0.0;
    bool usable = false;
    for (int attempt = 0; attempt < kVirialAttempts; ++attempt) {
        if (attempt > 0) t += kRetryStep;
        b = SecondVirial(c, t);
        if (std::fabs(b) >= kTiny && t >= kTiny) {
            usable = true;
            break;
        }
    }
    if (!usable) return false;
    const double q = 1.0 / (b * b) + 4.0 * p / (b * kGasConstantSi * t);
    if (q < 0.0 || std::isnan(q)) return false;
    const double half = 0.5 * std::sqrt(q);
    molarDensity = root == Root::Upper ? -0.5 / b + half : -0.5 / b - half;
    return true;
}

bool FluidDensity(int phase, const Record& c, double mw, double p, double t, double& density) {
    if (phase == kPhaseLiquid) {
        density = LiquidDensity(c, mw, t);
        return true;
    }
    double lower = 0.0;
    double upper = 0.0;
    if (!GasMolarDensityRoot(Root::Lower, c, t, p, lower) ||
        !GasMolarDensityRoot(Root::Upper, c, t, p, upper)) {
        ShowMessage(kMsgNegativeRoot);
        return false;
    }
    double chosen = 0.0;
    if (lower < 0.0 && upper < 0.0) {
        ShowMessage(kMsgNegativeDensity);
        return false;
    } else if (lower < 0.0) {
        chosen = upper;
    } else if (upper < 0.0) {
        chosen = lower;
    } else {
        const bool lowerOk = IsPlausible(Root::Lower, c, t, p, lower);
        const bool upperOk = IsPlausible(Root::Upper, c, t, p, upper);
        if (!lowerOk && !upperOk) {
            ShowMessage(kMsgImplausibleDensity);
            return false;
        }
        if (lowerOk && upperOk)
            chosen = std::min(lower, upper);
        else
            chosen = lowerOk ? lower : upper;
    }
    density = chosen * mw;
    return true;
}

double CompressibilityFromDensity(double mw, double tRankine, double pPsi, double density) {
    return UsDensityRelation(mw, tRankine, pPsi, density);
}

double DensityFromCompressibility(double mw, double tRankine, double pPsi, double z) {
    return UsDensityRelation(mw, tRankine, pPsi, z);
}

bool Viscosity(int phase, const Record& c, double t, double& viscosity) {
    if (phase == kPhaseLiquid)
        viscosity = std::exp(c[0] + c[1] / t + c[2] * std::log(t) + c[3] * std::pow(t, c[4]));
    else
        viscosity = c[5] * std::pow(t, c[6]) / (1.0 + c[7] / t + c[8] / (t * t));
    if (!(viscosity > 0.0)) {
        ShowMessage(kMsgViscosityZero);
        return false;
    }
    return true;
}

bool IsentropicExponentFromRecord(const Record& c, const std::string& fluidName, double tMin,
                                  double tMax, double& exponent) {
    const double t = 0.5 * (tMin + tMax);
    if (t < kTiny) {
        ShowMessage(kMsgIsentropicDivide);
        return false;
    }
    double cp = 0.0;
    if (Upper(fluidName) == texts::kNitricOxide) {
        cp = c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * c[4])));
    } else {
        const double m = c[2] / t;
        const double n = c[4] / t;
        const double sinhM = std::fabs(m) < kTiny ? 1.0 : std::sinh(m);
        const double coshN = std::cosh(n);
        if (std::fabs(sinhM) < kTiny || std::fabs(coshN) < kTiny) {
            ShowMessage(kMsgIsentropicDivide);
            return false;
        }
        const double a = m / sinhM;
        const double b = n / coshN;
        cp = c[0] + c[1] * a * a + c[3] * b * b;
    }
    cp /= kJoulesPerKcal;
    if (cp - kGasConstantCal < kTiny) {
        ShowMessage(kMsgIsentropicDivide);
        return false;
    }
    exponent = cp / (cp - kGasConstantCal);
    return true;
}

bool IsentropicExponent(const CChemicalDatabase& database, const std::string& fluidName,
                        double tMin, double tMax, double& exponent) {
    Record record{};
    if (!database.ReadRecord(fluidName, CChemicalDatabase::RecordKind::HeatCapacity, record))
        return false;
    return IsentropicExponentFromRecord(record, fluidName, tMin, tMax, exponent);
}

}  // namespace flow
