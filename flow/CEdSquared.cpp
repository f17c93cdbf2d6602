#include "flow/CEdSquared.h"

#include "flow/CFlow.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "flow/PrimaryElements.h"

namespace {

constexpr unsigned kMsgTooFewPoints = 341;
constexpr unsigned kMsgIllegalData = 342;
constexpr unsigned kMsgNoInverse = 357;

}  // namespace

bool CEdSquared::GeneratePoints() {
    const double tMin = flow::TemperatureIn(m_owner.OperatingTemperatureMin(), flow::Rankine());
    const double tMax = flow::TemperatureIn(m_owner.OperatingTemperatureMax(), flow::Rankine());
    if (tMax <= tMin || tMin < flow::kTiny) {
        flow::ShowMessage(kMsgTooFewPoints);
        return false;
    }
    const double d = flow::LengthIn(m_owner.BoreDiameter(), flow::Inches());
    const double tubeD = flow::LengthIn(m_owner.TubeDiameter(), flow::Inches());
    const double alphaBore = CFlow::ExpansionCoefficient(m_owner.BoreMaterial());
    const double alphaTube = CFlow::ExpansionCoefficient(m_owner.TubeMaterial());
    const double tBore = flow::TemperatureIn(m_owner.BoreReferenceTemperature(), flow::Rankine());
    const double tTube = flow::TemperatureIn(m_owner.TubeReferenceTemperature(), flow::Rankine());
    Resize(kPoints);
    for (int k = 0; k < kPoints; ++k) {
        const double t = tMin + k * (1.0 / (kPoints - 1)) * (tMax - tMin);
        const double dAtT = flow::ExpandedDiameter(d, alphaBore, t, tBore);
        const double tubeDAtT = flow::ExpandedDiameter(tubeD, alphaTube, t, tTube);
        SetPoint(k, t, flow::EdSquared(dAtT, tubeDAtT));
    }
    return true;
}

bool CEdSquared::Fit() {
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
            for (double& x : m_workX) x = 1.0 / x;
            ok = SolveOneVariable(kDegree, kMsgNoInverse);
        }
    }
    m_valid = ok ? 1 : 0;
    DeletePoints();
    return ok;
}
