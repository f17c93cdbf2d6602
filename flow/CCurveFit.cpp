#include "flow/CCurveFit.h"

#include "flow/CLeastSquares.h"
#include "flow/Messages.h"

CCurveFit::CCurveFit(CFlow& owner, int liquidFlag) : m_owner(owner), m_liquidFlag(liquidFlag) {
    ResetCoefficients();
}

void CCurveFit::Resize(int n) {
    if (n < 0) n = 0;
    const std::size_t size = static_cast<std::size_t>(n);
    m_pointCount = n;
    m_workX.assign(size, 0.0);
    m_workY.assign(size, 0.0);
    m_displayX.assign(size, 0.0);
    m_displayY.assign(size, 0.0);
    ResetCoefficients();
}

void CCurveFit::DeletePoints() {
    m_pointCount = 0;
    m_workX.clear();
    m_workY.clear();
    m_displayX.clear();
    m_displayY.clear();
    m_workX.shrink_to_fit();
    m_workY.shrink_to_fit();
    m_displayX.shrink_to_fit();
    m_displayY.shrink_to_fit();
}

void CCurveFit::ResetCoefficients() {
    m_coefficients.fill(0.0f);
    m_coefficients[0] = 1.0f;
}

bool CCurveFit::CopyFrom(const CCurveFit& other) {
    if (&other == this) return true;
    Resize(other.m_pointCount);
    m_valid = other.m_valid;
    m_coefficients = other.m_coefficients;
    m_displayX = other.m_displayX;
    m_displayY = other.m_displayY;
    m_workX = other.m_displayX;
    m_workY = other.m_displayY;
    return true;
}

bool CCurveFit::GeneratePoints() { return true; }

bool CCurveFit::Fit() { return false; }

bool CCurveFit::GenerateAndFit() { return GeneratePoints() && Fit(); }

void CCurveFit::SetPoint(int k, double x, double y) {
    const std::size_t i = static_cast<std::size_t>(k);
    m_workX[i] = m_displayX[i] = x;
    m_workY[i] = m_displayY[i] = y;
}

void CCurveFit::RefillWorkingPoints() {
    m_workX = m_displayX;
    m_workY = m_displayY;
}

bool CCurveFit::SolveOneVariable(int degree, unsigned noInverseMessage) {
    CLeastSquares solver;
    if (!solver.Fit(degree, 0, m_pointCount, m_workX.data(), nullptr, m_workY.data())) {
        flow::ShowMessage(noInverseMessage);
        return false;
    }
    for (int k = 0; k <= degree; ++k) {
        m_coefficients[static_cast<std::size_t>(k)] = static_cast<float>(solver.Coefficient(k));
    }
    return true;
}
