#pragma once

#include "flow/CCurveFit.h"

// Density (liquid) or compressibility (gas) fit: one variable (1/T) for a
// liquid, two (1/T and P) for a gas, with the coefficient table C[i][j]
// (i the power of 1/T, j the power of P).
class CDensity : public CCurveFit {
  public:
    static constexpr int kRows = 7;
    static constexpr int kColumns = 9;
    using Table = float[kRows][kColumns];
    static constexpr int kLiquidPoints = 4;
    static constexpr int kGasPoints = 12;

    CDensity(CFlow& owner, int liquidFlag);

    const char* RuntimeClassName() const override { return "CDensity"; }

    float TableValue(int i, int j) const { return m_table[i][j]; }
    void SetTableValue(int i, int j, float value) { m_table[i][j] = value; }
    const Table& GetTable() const { return m_table; }

    // Second independent variable (pressure) of each point.
    std::vector<double>& WorkPressure() { return m_workPressure; }
    std::vector<double>& DisplayPressure() { return m_displayPressure; }
    const std::vector<double>& WorkPressure() const { return m_workPressure; }
    const std::vector<double>& DisplayPressure() const { return m_displayPressure; }

    void Resize(int n) override;
    void DeletePoints() override;
    void ResetCoefficients() override;
    bool CopyFrom(const CCurveFit& other) override;
    bool GeneratePoints() override;
    bool Fit() override;

  protected:
    void RefillWorkingPoints() override;

  private:
    bool GenerateGas();
    bool GenerateLiquid();
    // True when the points hold values typed in on a grid other than the
    // generated one: they are then fitted as they stand.
    bool KeepsPointsTypedIn(int gridPoints) const;

    std::vector<double> m_workPressure;
    std::vector<double> m_displayPressure;
    Table m_table{};
};
