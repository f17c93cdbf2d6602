#include "flow/CDensity.h"

#include <cmath>
#include <cstring>

#include "flow/CFlow.h"
#include "flow/CLeastSquares.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "units/Units.h"

namespace {

constexpr unsigned kMsgNotEnoughPoints = 336;
constexpr unsigned kMsgIllegalData = 337;
constexpr unsigned kMsgZeroPressure = 333;
constexpr unsigned kMsgDivide = 335;
constexpr unsigned kMsgNoInverse = 355;

constexpr int kGasTemperatures = 3;
constexpr int kGasPressures = 4;
constexpr int kLiquidDegree = 3;
constexpr int kGasDegreeT = 2;
constexpr int kGasDegreeP = 3;
// A grid temperature this close to zero in the user's unit is stored as 0.
constexpr double kZeroDisplay = 1e-13;

bool ComputedFromDatabase(int source) { return source == 0 || source == 3; }
bool CompressibilitySource(int source) { return source >= 3 && source <= 5; }

}  // namespace

CDensity::CDensity(CFlow& owner, int liquidFlag) : CCurveFit(owner, liquidFlag) {
    ResetCoefficients();
}

void CDensity::Resize(int n) {
    CCurveFit::Resize(n);
    m_workPressure.assign(static_cast<size_t>(m_pointCount), 0.0);
    m_displayPressure.assign(static_cast<size_t>(m_pointCount), 0.0);
}

void CDensity::DeletePoints() {
    CCurveFit::DeletePoints();
    m_workPressure.clear();
    m_displayPressure.clear();
    m_workPressure.shrink_to_fit();
    m_displayPressure.shrink_to_fit();
}

void CDensity::ResetCoefficients() {
    CCurveFit::ResetCoefficients();
    std::memset(m_table, 0, sizeof m_table);
    m_table[0][0] = 1.0f;
}

bool CDensity::CopyFrom(const CCurveFit& other) {
    if (&other == this) return true;
    const auto* density = dynamic_cast<const CDensity*>(&other);
    if (!density || density->m_liquidFlag != m_liquidFlag) {
        Resize(0);
        return false;
    }
    CCurveFit::CopyFrom(other);
    m_workPressure = density->m_displayPressure;
    m_displayPressure = density->m_displayPressure;
    std::memcpy(m_table, density->m_table, sizeof m_table);
    return true;
}

void CDensity::RefillWorkingPoints() {
    CCurveFit::RefillWorkingPoints();
    m_workPressure = m_displayPressure;
}

bool CDensity::KeepsPointsTypedIn(int gridPoints) const {
    return !ComputedFromDatabase(m_owner.DensityDataSource()) && m_pointCount > 0 &&
           m_pointCount != gridPoints;
}

bool CDensity::GeneratePoints() { return m_liquidFlag ? GenerateLiquid() : GenerateGas(); }

bool CDensity::GenerateGas() {
    const CFlow& flow = m_owner;
    const CUnit tUnit = flow.OperatingTemperatureMin().Unit();
    const CUnit pUnit = flow.OperatingPressureMin().Unit();
    const double tMin = flow::TemperatureIn(flow.OperatingTemperatureMin(), flow::Rankine());
    const double tMax = flow::TemperatureIn(flow.OperatingTemperatureMax(), flow::Rankine());
    if (tMax <= tMin || tMin < flow::kTiny) {
        flow::ShowMessage(kMsgNotEnoughPoints);
        return false;
    }
    const double pMin = flow::PressureIn(flow.OperatingPressureMin(), flow::Psi());
    const double pMax = flow::PressureIn(flow.OperatingPressureMax(), flow::Psi());
    if (pMin >= pMax) {
        flow::ShowMessage(kMsgNotEnoughPoints);
        return false;
    }
    if (pMin < flow::kTiny) {
        flow::ShowMessage(kMsgZeroPressure);
        return false;
    }
    if (KeepsPointsTypedIn(kGasPoints)) {
        RefillWorkingPoints();
        return true;
    }
    // A computed grid of another size starts afresh; values typed in for this
    // grid keep their places.
    if (m_pointCount != kGasPoints) Resize(kGasPoints);

    const int source = flow.DensityDataSource();
    const bool computed = ComputedFromDatabase(source);
    flow::Record record{};
    if (computed && !flow.Database().ReadRecord(
                        flow.FluidName(), CChemicalDatabase::RecordKind::SecondVirial, record))
        return false;
    const double mw = flow.MolecularWeight().Get();

    int k = 0;
    for (int a = 0; a < kGasTemperatures; ++a) {
        const double t = tMin + a * 0.5 * (tMax - tMin);
        double tDisplay = flow::TemperatureIn(t, flow::Rankine(), tUnit);
        if (std::fabs(tDisplay) < kZeroDisplay) tDisplay = 0.0;
        for (int b = 0; b < kGasPressures; ++b, ++k) {
            const double p = pMin + b * (1.0 / 3.0) * (pMax - pMin);
            double value = m_displayY[k];
            if (computed) {
                double density = 0.0;
                if (!flow::FluidDensity(flow::kPhaseGas, record, mw,
                                        flow::PressureIn(p, flow::Psi(), flow::Pascal()),
                                        flow::TemperatureIn(t, flow::Rankine(), flow::Kelvin()),
                                        density))
                    return false;
                if (CompressibilitySource(source)) {
                    const double lbs =
                        flow::DensityIn(density, flow::KgPerCuM(), flow::LbsPerCuFt());
                    value = flow::CompressibilityFromDensity(mw, t, p, lbs);
                    if (value < flow::kTiny) return false;
                } else {
                    value = flow::DensityIn(density, flow::KgPerCuM(), flow.DensityUnit());
                }
            }
            SetPoint(k, tDisplay, value);
            m_workPressure[k] = m_displayPressure[k] = flow::PressureIn(p, flow::Psi(), pUnit);
        }
    }
    return true;
}

bool CDensity::GenerateLiquid() {
    const CFlow& flow = m_owner;
    const CUnit tUnit = flow.OperatingTemperatureMin().Unit();
    const double tMin = flow::TemperatureIn(flow.OperatingTemperatureMin(), flow::Rankine());
    const double tMax = flow::TemperatureIn(flow.OperatingTemperatureMax(), flow::Rankine());
    if (tMax <= tMin || tMin < flow::kTiny) {
        flow::ShowMessage(kMsgNotEnoughPoints);
        return false;
    }
    const bool computed = ComputedFromDatabase(flow.DensityDataSource());
    flow::Record record{};
    if (computed) {
        if (!flow.Database().ReadRecord(flow.FluidName(),
                                        CChemicalDatabase::RecordKind::LiquidDensity, record))
            return false;
        if (std::fabs(record[1]) < flow::kTiny || std::fabs(record[2]) < flow::kTiny) {
            flow::ShowMessage(kMsgDivide);
            return false;
        }
    }
    if (KeepsPointsTypedIn(kLiquidPoints)) {
        RefillWorkingPoints();
        return true;
    }
    if (m_pointCount != kLiquidPoints) Resize(kLiquidPoints);
    const double mw = flow.MolecularWeight().Get();
    const double standardPressure = flow.StandardPressure().Value();
    for (int a = 0; a < kLiquidPoints; ++a) {
        const double t = tMin + a * (1.0 / 3.0) * (tMax - tMin);
        double tDisplay = flow::TemperatureIn(t, flow::Rankine(), tUnit);
        if (std::fabs(tDisplay) < kZeroDisplay) tDisplay = 0.0;
        double value = m_displayY[a];
        if (computed) {
            const double density = flow::LiquidDensity(
                record, mw, flow::TemperatureIn(t, flow::Rankine(), flow::Kelvin()));
            value = flow::DensityIn(density, flow::KgPerCuM(), flow.DensityUnit());
        }
        SetPoint(a, tDisplay, value);
        m_workPressure[a] = m_displayPressure[a] = standardPressure;
    }
    return true;
}

bool CDensity::Fit() {
    const CFlow& flow = m_owner;
    m_valid = 0;
    const int required = m_liquidFlag ? kLiquidPoints : kGasPoints;
    if (m_pointCount < required) {
        flow::ShowMessage(kMsgNotEnoughPoints);
        return false;
    }
    ResetCoefficients();
    const int n = m_pointCount;
    const bool densities = m_liquidFlag || !CompressibilitySource(flow.DensityDataSource());
    units::ConvertArray(n, m_workX.data(), flow.OperatingTemperatureMin().Unit(), flow::Rankine());
    if (!m_liquidFlag)
        units::ConvertArray(n, m_workPressure.data(), flow.OperatingPressureMin().Unit(),
                            flow::Psi());
    if (densities) units::ConvertArray(n, m_workY.data(), flow.DensityUnit(), flow::LbsPerCuFt());
    for (int k = 0; k < n; ++k) {
        if (m_workY[k] < flow::kTiny || m_workX[k] < flow::kTiny) {
            flow::ShowMessage(kMsgIllegalData);
            return false;
        }
    }
    if (!m_liquidFlag && densities) {
        const double mw = flow.MolecularWeight().Get();
        for (int k = 0; k < n; ++k) {
            m_workY[k] =
                flow::CompressibilityFromDensity(mw, m_workX[k], m_workPressure[k], m_workY[k]);
            if (m_workY[k] < flow::kTiny) return false;
        }
    }
    for (int k = 0; k < n; ++k) {
        m_workY[k] = m_liquidFlag ? std::sqrt(m_workY[k]) : 1.0 / std::sqrt(m_workY[k]);
        m_workX[k] = 1.0 / m_workX[k];
    }
    CLeastSquares solver;
    const bool ok = m_liquidFlag
                        ? solver.Fit(kLiquidDegree, 0, n, m_workX.data(), nullptr, m_workY.data())
                        : solver.Fit(kGasDegreeT, kGasDegreeP, n, m_workX.data(),
                                     m_workPressure.data(), m_workY.data());
    if (!ok) {
        flow::ShowMessage(kMsgNoInverse);
        return false;
    }
    if (m_liquidFlag) {
        for (int i = 0; i <= kLiquidDegree; ++i) {
            m_coefficients[i] = static_cast<float>(solver.Coefficient(i));
            m_table[i][0] = m_coefficients[i];
        }
    } else {
        for (int i = 0; i <= kGasDegreeT; ++i) {
            for (int j = 0; j <= kGasDegreeP; ++j)
                m_table[i][j] = static_cast<float>(solver.Coefficient(i, j));
        }
    }
    m_valid = 1;
    return true;
}
