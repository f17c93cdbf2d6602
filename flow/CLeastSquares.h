#pragma once

#include <array>

// Least-squares fit of z by a polynomial in x (degree p, 0..6) and optionally y
// (degree q, 0..8; 0 fits one variable) through the normal equations, solved by
// Gaussian elimination without pivoting. After a failure every coefficient is 0.
class CLeastSquares {
  public:
    static constexpr int kMaxDegreeX = 6;
    static constexpr int kMaxDegreeY = 8;
    static constexpr int kMaxTerms = (kMaxDegreeX + 1) * (kMaxDegreeY + 1);

    // y may be null when q is 0. Returns false for a singular system or for
    // arguments outside the ranges above.
    bool Fit(int p, int q, int n, const double* x, const double* y, const double* z);

    // Coefficient of x^i * y^j; 0 outside the fitted degrees.
    double Coefficient(int i, int j = 0) const;

  private:
    std::array<double, kMaxTerms> m_solution{};
    int m_p = 0;
    int m_q = 0;
};
