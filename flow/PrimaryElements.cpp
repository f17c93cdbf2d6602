#include "flow/PrimaryElements.h"

#include <algorithm>
#include <cmath>

#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "platform/DebugTrace.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace flow {
namespace {

constexpr unsigned kMsgCdDivide = 340;
constexpr unsigned kMsgEdDivide = 343;
constexpr unsigned kMsgExpansionDivide = 346;
constexpr unsigned kMsgIllegalProducer = 353;
constexpr unsigned kNameError = 399;

// Trace lines for an unknown producer code.
constexpr const char* kTraceUnknownProducer = "ERROR: Unknown DiffProd\n";
constexpr const char* kTraceIllegalExpansionProducer =
    "ERROR: Illegal DifferentialProducer in CGasExpansion::OrificeTrue\n";
constexpr unsigned kNoteBoreMin = 2038;
constexpr unsigned kNoteTubeMin = 2039;
constexpr unsigned kNoteTubeMax = 2040;
constexpr unsigned kNoteBetaMin = 2041;
constexpr unsigned kNoteBetaMax = 2042;

// Integral orifice: Cd = (a0 + a1 b + ... + a4 b^4)/sqrt(Re) + (b0 + ... + b4 b^4),
// one column per line size.
constexpr double kIntegralA[3][5] = {
    {3.146987, -17.54468, 56.26178, -77.01062, 52.11968},
    {1.408031, 0.6620094, -6.079081, 12.17111, 6.377415},
    {2.337983, -13.71296, 66.42804, -124.0909, 89.79559},
};
constexpr double kIntegralB[3][5] = {
    {0.5884229, -0.07817863, 1.205753, -3.378356, 2.854437},
    {0.595342, -0.03890471, 0.2588337, -0.346828, 0.07300363},
    {0.6051001, -0.1111218, 0.2830634, 0.040353, -0.3459831},
};

// Recommended geometry per producer, in mm.
struct RangeLimits {
    double boreMin;
    double tubeMin;
    double tubeMax;
    double betaMin;
    double betaMax;
};
constexpr RangeLimits kLimits[kDiffProducerCount] = {
    {12.5, 50, 1000, 0.2, 0.75}, {12.5, 50, 1000, 0.2, 0.75}, {12.5, 50, 1000, 0.2, 0.75},
    {12.5, 50, 1000, 0.2, 0.75}, {0, 50, 630, 0.2, 0.8},      {0, 50, 250, 0.4, 0.75},
    {0, 100, 800, 0.3, 0.75},    {0, 200, 1200, 0.4, 0.7},    {0, 50, 500, 0.3, 0.8},
    {50, 65, 500, 0.316, 0.775}, {11.4, 50, 1e36, 0.1, 0.75}, {0.254, 12.7, 41, 0.1, 0.8},
};
constexpr double kIntegralSmallLineBetaMin = 0.01;
constexpr double kMmPerInch = 25.4;

bool IsOrifice(int code, double d) {
    switch (code) {
        case kOrificeCorner:
        case kOrificeFlange:
        case kOrificeDAndDHalf:
        case kOrificePipe:
        case kOrificeAgaFlange:
            return true;
        case kIntegralOrifice:
            return d >= kIntegralOrificeSmallBore;
        default:
            return false;
    }
}

double Power4(double x) { return x * x * x * x; }

// 0.5959 + 0.0312 b^2.1 - 0.184 b^8, the common start of the ASME orifices.
double StolzBase(double beta) {
    return 0.5959 + 0.0312 * std::pow(beta, 2.1) - 0.184 * std::pow(beta, 8.0);
}

double ReaderHarrisGallagher(double beta, double tubeD, double re) {
    const double a = std::pow(19000.0 * beta / re, 0.8);
    const double m2 = 2.0 / ((1.0 - beta) * tubeD);
    const double b = 1e6 / re;
    const double b4 = Power4(beta);
    double cd = 0.5961 + 0.0291 * beta * beta - 0.229 * std::pow(beta, 8.0) +
                0.003 * (1.0 - beta) * std::max(2.8 - tubeD, 0.0);
    cd += (0.0433 + 0.0712 * std::exp(-8.5 / tubeD) - 0.1145 * std::exp(-6.0 / tubeD)) *
          (1.0 - 0.23 * a) * b4 / (1.0 - b4);
    cd -= 0.0116 * (m2 - 0.52 * std::pow(m2, 1.3)) * std::pow(beta, 1.1) * (1.0 - 0.14 * a);
    cd += 0.000511 * std::pow(1e6 * beta / re, 0.7) + (0.021 + 0.0049 * a) * b4 * std::pow(b, 0.35);
    return cd;
}

double IntegralOrifice(double beta, double d, double tubeD, double re) {
    if (d < kIntegralOrificeSmallBore) return 1.005529 - 6.75 / std::sqrt(re);
    const int k =
        tubeD <= kIntegralOrificeSmallLine ? 0 : (tubeD <= kIntegralOrificeMediumLine ? 1 : 2);
    double a = 0.0;
    double b = 0.0;
    double power = 1.0;
    for (int i = 0; i < 5; ++i) {
        a += kIntegralA[k][i] * power;
        b += kIntegralB[k][i] * power;
        power *= beta;
    }
    return a / std::sqrt(re) + b;
}

void ShowNote(unsigned id, const std::string& detail) { ShowText(LoadString(id) + detail); }

std::string LengthIn(double mm, const CLength& like, const char* format) {
    CLength value(mm, CUnit(49, 35));
    value.ConvertTo(like.Unit());
    return FormatText(format, value.Value()) + like.Unit().Name();
}

}  // namespace

std::string DiffProducerName(int code) {
    if (code < 0 || code >= kDiffProducerCount) {
        trace::Write("%s", kTraceUnknownProducer);
        return LoadString(kNameError);
    }
    return texts::kProducerNames[code];
}

double DischargeCoefficient(int code, double d, double tubeD, double re) {
    switch (code) {
        case kVenturiMachined:
            return 0.995;
        case kVenturiRoughCast:
            return 0.984;
        case kVenturiWelded:
            return 0.985;
        default:
            break;
    }
    if (tubeD < kTiny || tubeD - d < kTiny) ShowAndAbandon(kMsgCdDivide);
    const double beta = d / tubeD;
    const double b4 = Power4(beta);
    double e = 0.0;
    double f = 91.71 * std::pow(beta, 2.5);
    double g = 0.75;
    switch (code) {
        case kOrificeCorner:
            e = StolzBase(beta);
            break;
        case kOrificeFlange: {
            const double l =
                tubeD > 2.3 ? 0.09 * b4 / (tubeD * (1.0 - b4)) : 0.039 * b4 / (1.0 - b4);
            e = StolzBase(beta) - 0.0337 * beta * beta * beta / tubeD + l;
            break;
        }
        case kOrificeDAndDHalf:
            e = StolzBase(beta) - 0.0158 * beta * beta * beta + 0.039 * b4 / (1.0 - b4);
            break;
        case kOrificePipe:
            e = 0.5959 + 0.461 * std::pow(beta, 2.1) + 0.48 * std::pow(beta, 8.0) +
                0.039 * b4 / (1.0 - b4);
            break;
        case kNozzleLongRadius:
            e = 0.9975;
            f = -6.53 * std::sqrt(beta);
            g = 0.5;
            break;
        case kNozzleIsa:
            e = 0.99 - 0.2262 * std::pow(beta, 4.1);
            f = (0.0033 * std::pow(beta, 4.15) - 0.00175 * beta * beta) * std::pow(10.0, 6.9);
            g = 1.15;
            break;
        case kVenturiNozzle:
            return 0.9858 - 0.196 * std::pow(beta, 4.5);
        case kOrificeAgaFlange:
            return ReaderHarrisGallagher(beta, tubeD, re);
        case kIntegralOrifice:
            return IntegralOrifice(beta, d, tubeD, re);
        default:
            ShowAndAbandon(kMsgIllegalProducer);
    }
    return e + f / std::pow(re, g);
}

double ExpandedDiameter(double diameter, double alpha, double t, double tReference) {
    return diameter * (1.0 + alpha * (t - tReference));
}

double EdSquared(double dAtT, double tubeDAtT) {
    if (tubeDAtT < kTiny || tubeDAtT - dAtT < kTiny) ShowAndAbandon(kMsgEdDivide);
    const double beta = dAtT / tubeDAtT;
    return dAtT * dAtT / std::sqrt(1.0 - Power4(beta));
}

bool OrificeExpansion(int code, double d, double tubeD, double k, double& c1) {
    if (code < 0 || code >= kDiffProducerCount) {
        trace::Write("%s", kTraceIllegalExpansionProducer);
    } else if (!IsOrifice(code, d)) {
        return false;
    }
    if (tubeD < kTiny || tubeD - d < kTiny || k < kTiny) ShowAndAbandon(kMsgExpansionDivide);
    const double beta = d / tubeD;
    if (code == kOrificePipe) {
        const double b2 = beta * beta;
        const double b5 = b2 * b2 * beta;
        const double b13 = std::pow(beta, 13.0);
        c1 = -(0.333 + 1.145 * (b2 + 0.7 * b5 + 12.0 * b13)) / (kDpUnitsPerPsi * k);
    } else {
        c1 = -(0.41 + 0.35 * Power4(beta)) / (kDpUnitsPerPsi * k);
    }
    return true;
}

double NozzleExpansionFactor(double x, double d, double tubeD, double k) {
    const double tau = 1.0 - x / kDpUnitsPerPsi;
    if (d < kTiny || tubeD < kTiny || tubeD - d < kTiny || k < kTiny || std::fabs(k - 1.0) < kTiny)
        ShowAndAbandon(kMsgExpansionDivide);
    if (x < kTiny) return 1.0;
    const double b4 = Power4(d / tubeD);
    const double tau2k = std::pow(tau, 2.0 / k);
    const double denominator = (1.0 - b4 * tau2k) * (1.0 - tau);
    if (std::fabs(denominator) < kTiny) ShowAndAbandon(kMsgExpansionDivide);
    const double numerator =
        (1.0 - b4) * (k / (k - 1.0)) * tau2k * (1.0 - std::pow(tau, (k - 1.0) / k));
    return std::sqrt(numerator / denominator);
}

int CheckRecommendedRange(int code, const CLength& d, const CLength& tubeD) {
    CLength dMm(d);
    CLength tubeMm(tubeD);
    dMm.ConvertTo(CUnit(49, 35));
    tubeMm.ConvertTo(CUnit(49, 35));
    const double bore = dMm.Value();
    const double tube = tubeMm.Value();
    if (tube < 2.54e-29 || tube - bore < 2.54e-29) {
        ShowMessage(kMsgCdDivide);
        return 2;
    }
    if (code < 0 || code >= kDiffProducerCount) return 0;
    const RangeLimits& limits = kLimits[code];
    const double beta = bore / tube;
    double betaMin = limits.betaMin;
    if (code == kIntegralOrifice && tube / kMmPerInch < kIntegralOrificeSmallLine)
        betaMin = kIntegralSmallLineBetaMin;
    if (bore < limits.boreMin) {
        ShowNote(kNoteBoreMin, LengthIn(limits.boreMin, d, texts::kNoteDiameterMin));
    } else if (tube < limits.tubeMin) {
        ShowNote(kNoteTubeMin, LengthIn(limits.tubeMin, tubeD, texts::kNoteDiameterMin));
    } else if (tube > limits.tubeMax) {
        ShowNote(kNoteTubeMax, LengthIn(limits.tubeMax, tubeD, texts::kNoteDiameterMax));
    } else if (beta < betaMin) {
        ShowNote(kNoteBetaMin, FormatText(texts::kNoteBeta, betaMin));
    } else if (beta > limits.betaMax) {
        ShowNote(kNoteBetaMax, FormatText(texts::kNoteBeta, limits.betaMax));
    } else {
        return 0;
    }
    return 1;
}

}  // namespace flow
