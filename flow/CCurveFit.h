#pragma once

#include <array>
#include <cstddef>
#include <vector>

class CFlow;

// One curve fit of a flow configuration: its data points and the single
// precision coefficients of a polynomial in one variable. The fits that share
// this runtime class (discharge coefficient, Ed², viscosity, gas expansion)
// add only behaviour. Each fit reads the fields of the flow configuration that
// owns it.
class CCurveFit {
  public:
    static constexpr int kCoefficientCount = 7;
    using Coefficients = std::array<float, kCoefficientCount>;

    CCurveFit(CFlow& owner, int liquidFlag);
    virtual ~CCurveFit() = default;
    CCurveFit(const CCurveFit&) = delete;
    CCurveFit& operator=(const CCurveFit&) = delete;

    virtual const char* RuntimeClassName() const { return "CCurveFit"; }

    CFlow& Owner() const { return m_owner; }
    int LiquidFlag() const { return m_liquidFlag; }
    int PointCount() const { return m_pointCount; }
    int Valid() const { return m_valid; }
    void SetValid(int valid) { m_valid = valid; }

    const Coefficients& GetCoefficients() const { return m_coefficients; }
    float Coefficient(int k) const { return m_coefficients[static_cast<std::size_t>(k)]; }
    void SetCoefficient(int k, float value) { m_coefficients[static_cast<std::size_t>(k)] = value; }

    // Working arrays (values as the fit uses them) and display arrays (values in
    // the user's units, persisted), each PointCount() long.
    std::vector<double>& WorkX() { return m_workX; }
    std::vector<double>& WorkY() { return m_workY; }
    std::vector<double>& DisplayX() { return m_displayX; }
    std::vector<double>& DisplayY() { return m_displayY; }
    const std::vector<double>& WorkX() const { return m_workX; }
    const std::vector<double>& WorkY() const { return m_workY; }
    const std::vector<double>& DisplayX() const { return m_displayX; }
    const std::vector<double>& DisplayY() const { return m_displayY; }

    // n zeroed points (n < 0 counts as 0); coefficients cleared, c0 = 1.
    virtual void Resize(int n);
    // No points; the coefficients stay.
    virtual void DeletePoints();
    // Clears the coefficients and sets c0 = 1.
    virtual void ResetCoefficients();

    // Copies count, valid flag, coefficients and display points. Returns false
    // (and leaves the fit with no points) when the fits cannot be copied.
    virtual bool CopyFrom(const CCurveFit& other);

    // Lays out the fit's data points (computing their values where the data
    // source asks for it) and fills the working arrays for the next fit. Values
    // the user typed in are kept. False after a failure whose message has been
    // shown.
    virtual bool GeneratePoints();
    // Fits the working points; sets the valid flag to the result.
    virtual bool Fit();

    // Generate, then fit.
    virtual bool GenerateAndFit();

  protected:
    // Stores a generated point in both the working and the display arrays.
    void SetPoint(int k, double x, double y);
    // The working arrays again as the display arrays hold them.
    virtual void RefillWorkingPoints();
    // Fits a polynomial of `degree` in the working x values to the working y
    // values and stores its coefficients; shows `noInverseMessage` when the
    // solver fails (the coefficients then stay as they were).
    bool SolveOneVariable(int degree, unsigned noInverseMessage);

    CFlow& m_owner;
    int m_liquidFlag;
    int m_pointCount = 0;
    int m_valid = 0;
    std::vector<double> m_workX;
    std::vector<double> m_workY;
    std::vector<double> m_displayX;
    std::vector<double> m_displayY;
    Coefficients m_coefficients{};
};
