#include "flow/CLeastSquares.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kSumRowsX = 2 * CLeastSquares::kMaxDegreeX + 1;  // 13
constexpr int kSumColsY = 2 * CLeastSquares::kMaxDegreeY + 1;  // 17
constexpr int kRowLength = CLeastSquares::kMaxTerms + 1;       // 64
constexpr double kTiny = 1e-30;

}  // namespace

bool CLeastSquares::Fit(int p, int q, int n, const double* x, const double* y, const double* z) {
    m_solution.fill(0.0);
    m_p = 0;
    m_q = 0;
    if (p < 0 || p > kMaxDegreeX || q < 0 || q > kMaxDegreeY || n < 1 || !x || !z || (q > 0 && !y))
        return false;

    const int terms = (p + 1) * (q + 1);
    double sums[kSumRowsX][kSumColsY] = {};
    std::array<double, kMaxTerms> rhs{};
    bool constant = true;

    for (int k = 0; k < n; ++k) {
        const double yk = q > 0 ? y[k] : 1.0;
        double xa = 1.0;
        for (int a = 0; a <= 2 * p; ++a) {
            double yb = 1.0;
            for (int b = 0; b <= 2 * q; ++b) {
                sums[a][b] += xa * yb;
                yb *= yk;
            }
            xa *= x[k];
        }
        double yj = 1.0;
        for (int j = 0; j <= q; ++j) {
            double xi = 1.0;
            for (int i = 0; i <= p; ++i) {
                rhs[j * (p + 1) + i] += z[k] * xi * yj;
                xi *= x[k];
            }
            yj *= yk;
        }
        if (std::fabs(z[k] - z[0]) > kTiny) constant = false;
    }

    m_p = p;
    m_q = q;
    if (constant) {
        m_solution[0] = z[0];
        return true;
    }

    // matrix[c][r]: column c of row r; the right-hand side is the extra
    // column `terms`.
    std::vector<std::array<double, kRowLength>> matrix(kRowLength);
    for (int u = 0; u < terms; ++u) {
        const int iu = u % (p + 1);
        const int ju = u / (p + 1);
        for (int v = 0; v < terms; ++v) {
            const int iv = v % (p + 1);
            const int jv = v / (p + 1);
            matrix[v][u] = sums[iu + iv][ju + jv];
        }
        matrix[terms][u] = rhs[u];
    }

    for (int k = 0; k < terms - 1; ++k) {
        for (int l = k + 1; l < terms; ++l) {
            const double entry = matrix[k][l];
            if (entry == 0.0) continue;
            const double pivot = matrix[k][k];
            if (pivot == 0.0) {
                m_solution.fill(0.0);
                return false;
            }
            const double factor = entry / pivot;
            for (int c = k; c <= terms; ++c) matrix[c][l] -= factor * matrix[c][k];
        }
    }

    for (int k = terms - 1; k >= 0; --k) {
        const double diagonal = matrix[k][k];
        if (diagonal == 0.0) {
            m_solution.fill(0.0);
            return false;
        }
        double value = matrix[terms][k];
        for (int c = k + 1; c < terms; ++c) value -= matrix[c][k] * m_solution[c];
        m_solution[k] = value / diagonal;
    }
    return true;
}

double CLeastSquares::Coefficient(int i, int j) const {
    if (i < 0 || i > m_p || j < 0 || j > m_q) return 0.0;
    return m_solution[j * (m_p + 1) + i];
}
