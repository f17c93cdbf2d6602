#include "flow/CGasExpansion.h"

#include "flow/CFlow.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "flow/PrimaryElements.h"

namespace {

constexpr unsigned kMsgTooFewPoints = 344;
constexpr unsigned kMsgIllegalData = 345;
constexpr unsigned kMsgNoInverse = 358;

}  // namespace

bool CGasExpansion::OrificeTrue() {
    const double d = flow::LengthIn(m_owner.BoreDiameter(), flow::Inches());
    const double tubeD = flow::LengthIn(m_owner.TubeDiameter(), flow::Inches());
    double c1 = 0.0;
    if (!flow::OrificeExpansion(m_owner.DiffProducer(), d, tubeD, m_owner.GetIsentropicExponent(),
                                c1))
        return false;
    ResetCoefficients();
    m_coefficients[1] = static_cast<float>(c1);
    m_valid = 1;
    return true;
}

bool CGasExpansion::GeneratePoints() {
    const double d = flow::LengthIn(m_owner.BoreDiameter(), flow::Inches());
    const double tubeD = flow::LengthIn(m_owner.TubeDiameter(), flow::Inches());
    const double k = m_owner.GetIsentropicExponent();
    Resize(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double x = i * (1.0 / (kPoints - 1)) * kMaxRatio;
        const double y = x < flow::kTiny ? 1.0 : flow::NozzleExpansionFactor(x, d, tubeD, k);
        SetPoint(i, x, y);
    }
    return true;
}

bool CGasExpansion::Fit() {
    m_valid = 0;
    bool ok = false;
    if (m_pointCount < kMinPoints) {
        flow::ShowMessage(kMsgTooFewPoints);
    } else {
        bool legal = true;
        for (int i = 0; i < m_pointCount; ++i) {
            if (m_workY[i] < flow::kTiny || m_workX[i] < -flow::kTiny) legal = false;
        }
        if (!legal) {
            flow::ShowMessage(kMsgIllegalData);
        } else {
            ok = SolveOneVariable(kDegree, kMsgNoInverse);
        }
    }
    m_valid = ok ? 1 : 0;
    DeletePoints();
    return ok;
}

bool CGasExpansion::GenerateAndFit() {
    if (m_liquidFlag) {
        DeletePoints();
        ResetCoefficients();
        m_valid = 1;
        return true;
    }
    if (OrificeTrue()) return true;
    return GeneratePoints() && Fit();
}
