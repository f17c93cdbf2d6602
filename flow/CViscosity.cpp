#include "flow/CViscosity.h"

#include "flow/CFlow.h"
#include "flow/CLeastSquares.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "units/Units.h"

namespace {

constexpr unsigned kMsgTooFewPoints = 347;
constexpr unsigned kMsgIllegalData = 348;
constexpr unsigned kMsgNoInverse = 359;
constexpr int kDatabaseSource = 6;

}  // namespace

bool CViscosity::GeneratePoints() {
    const CUnit tUnit = m_owner.OperatingTemperatureMin().Unit();
    const double tMin = flow::TemperatureIn(m_owner.OperatingTemperatureMin(), flow::Rankine());
    const double tMax = flow::TemperatureIn(m_owner.OperatingTemperatureMax(), flow::Rankine());
    if (tMax <= tMin || tMin < flow::kTiny) {
        flow::ShowMessage(kMsgTooFewPoints);
        return false;
    }
    const bool computed = m_owner.ViscosityDataSource() == kDatabaseSource;
    flow::Record record{};
    if (computed && !m_owner.Database().ReadRecord(
                        m_owner.FluidName(), CChemicalDatabase::RecordKind::Viscosity, record))
        return false;
    // Values typed in on a grid of another size are fitted as they stand; a
    // computed grid of another size starts afresh.
    if (!computed && m_pointCount > 0 && m_pointCount != kPoints) {
        RefillWorkingPoints();
        return true;
    }
    if (m_pointCount != kPoints) Resize(kPoints);
    for (int a = 0; a < kPoints; ++a) {
        const double t = tMin + a * (1.0 / (kPoints - 1)) * (tMax - tMin);
        double value = m_displayY[a];
        if (computed) {
            double viscosity = 0.0;
            if (!flow::Viscosity(m_owner.FluidPhase(), record,
                                 flow::TemperatureIn(t, flow::Rankine(), flow::Kelvin()),
                                 viscosity))
                return false;
            value = flow::ViscosityIn(viscosity, flow::PascalSec(), m_owner.ViscosityUnit());
        }
        SetPoint(a, flow::TemperatureIn(t, flow::Rankine(), tUnit), value);
    }
    return true;
}

bool CViscosity::Fit() {
    m_valid = 0;
    if (m_pointCount < kPoints) {
        flow::ShowMessage(kMsgTooFewPoints);
        return false;
    }
    units::ConvertArray(m_pointCount, m_workX.data(), m_owner.OperatingTemperatureMin().Unit(),
                        flow::Rankine());
    units::ConvertArray(m_pointCount, m_workY.data(), m_owner.ViscosityUnit(), flow::Centipoise());
    for (int k = 0; k < m_pointCount; ++k) {
        if (m_workX[k] < flow::kTiny || m_workY[k] < flow::kTiny) {
            flow::ShowMessage(kMsgIllegalData);
            return false;
        }
    }
    for (int k = 0; k < m_pointCount; ++k) {
        m_workX[k] = 1.0 / m_workX[k];
        m_workY[k] = 1.0 / m_workY[k];
    }
    CLeastSquares solver;
    if (!solver.Fit(kDegree, 0, m_pointCount, m_workX.data(), nullptr, m_workY.data())) {
        flow::ShowMessage(kMsgNoInverse);
        return false;
    }
    ResetCoefficients();
    for (int k = 0; k <= kDegree; ++k)
        m_coefficients[k] = static_cast<float>(solver.Coefficient(k));
    m_valid = 1;
    return true;
}
