#include "flow/CDischargeCoeff.h"

#include <cmath>

#include "flow/CFlow.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "flow/PrimaryElements.h"

namespace {

constexpr unsigned kMsgTooFewPoints = 338;
constexpr unsigned kMsgIllegalData = 339;
constexpr unsigned kMsgDivide = 340;
constexpr unsigned kMsgNoInverse = 356;

constexpr double kReynoldsMin = 4000.0;
constexpr double kReynoldsMax = 1e8;
constexpr double kIntegralReynoldsMin = 500.0;
constexpr double kIntegralReynoldsMax = 100000.0;

}  // namespace

std::vector<double> CDischargeCoeff::ReynoldsSequence(int diffProducer) {
    const bool integral = diffProducer == flow::kIntegralOrifice;
    const double reMin = integral ? kIntegralReynoldsMin : kReynoldsMin;
    const double reMax = integral ? kIntegralReynoldsMax : kReynoldsMax;
    std::vector<double> sequence{reMin};
    double re = reMin;
    while (re < reMax) {
        re *= 1.0 + std::log(re) / 100.0;
        sequence.push_back(re);
    }
    sequence.back() = reMax;
    return sequence;
}

bool CDischargeCoeff::GeneratePoints() {
    const int code = m_owner.DiffProducer();
    const double d = flow::LengthIn(m_owner.BoreDiameter(), flow::Inches());
    const double tubeD = flow::LengthIn(m_owner.TubeDiameter(), flow::Inches());
    if (tubeD < flow::kTiny || tubeD - d < flow::kTiny) flow::ShowAndAbandon(kMsgDivide);
    const std::vector<double> sequence = ReynoldsSequence(code);
    const double beta = d / tubeD;
    Resize(static_cast<int>(sequence.size()));
    for (size_t k = 0; k < sequence.size(); ++k) {
        const double re = sequence[k];
        const double x = code == flow::kIntegralOrifice ? re * beta : re;
        SetPoint(static_cast<int>(k), x, flow::DischargeCoefficient(code, d, tubeD, re));
    }
    return true;
}

bool CDischargeCoeff::Fit() {
    m_valid = 0;
    bool ok = false;
    if (m_pointCount < kMinPoints) {
        flow::ShowMessage(kMsgTooFewPoints);
    } else {
        bool legal = true;
        for (int k = 0; k < m_pointCount; ++k) {
            if (m_workX[k] < flow::kTiny || m_workY[k] < flow::kTiny) legal = false;
        }
        if (!legal) {
            flow::ShowMessage(kMsgIllegalData);
        } else {
            for (double& x : m_workX) x = 1.0 / std::sqrt(x);
            ok = SolveOneVariable(kDegree, kMsgNoInverse);
        }
    }
    m_valid = ok ? 1 : 0;
    DeletePoints();
    return ok;
}
