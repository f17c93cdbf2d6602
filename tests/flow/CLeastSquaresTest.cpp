#include "flow/CLeastSquares.h"

#include <gtest/gtest.h>

#include <vector>

#include "flow/Polynomial.h"

TEST(CLeastSquares, RecoversAnExactPolynomialInOneVariable) {
    // z = 2 - 3x + 0.5x³ sampled at 8 points.
    std::vector<double> x;
    std::vector<double> z;
    for (int k = 0; k < 8; ++k) {
        x.push_back(0.25 * k);
        z.push_back(2.0 - 3.0 * x.back() + 0.5 * x.back() * x.back() * x.back());
    }
    CLeastSquares solver;
    ASSERT_TRUE(solver.Fit(3, 0, 8, x.data(), nullptr, z.data()));
    EXPECT_NEAR(solver.Coefficient(0), 2.0, 1e-12);
    EXPECT_NEAR(solver.Coefficient(1), -3.0, 1e-12);
    EXPECT_NEAR(solver.Coefficient(2), 0.0, 1e-12);
    EXPECT_NEAR(solver.Coefficient(3), 0.5, 1e-12);
    EXPECT_EQ(solver.Coefficient(4), 0.0);
    EXPECT_EQ(solver.Coefficient(0, 1), 0.0);
}

TEST(CLeastSquares, RecoversATwoVariablePolynomialWithXVaryingFastest) {
    // z = 1 + 2x + 3y + 4xy + 5x²y³ on a 4 x 5 grid; a(i, j) holds x^i y^j.
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> z;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 5; ++b) {
            const double xa = 1.0 + 0.5 * a;
            const double yb = -1.0 + 0.5 * b;
            x.push_back(xa);
            y.push_back(yb);
            z.push_back(1 + 2 * xa + 3 * yb + 4 * xa * yb + 5 * xa * xa * yb * yb * yb);
        }
    }
    CLeastSquares solver;
    ASSERT_TRUE(solver.Fit(2, 3, 20, x.data(), y.data(), z.data()));
    EXPECT_NEAR(solver.Coefficient(0, 0), 1.0, 1e-9);
    EXPECT_NEAR(solver.Coefficient(1, 0), 2.0, 1e-9);
    EXPECT_NEAR(solver.Coefficient(0, 1), 3.0, 1e-9);
    EXPECT_NEAR(solver.Coefficient(1, 1), 4.0, 1e-9);
    EXPECT_NEAR(solver.Coefficient(2, 3), 5.0, 1e-9);
    EXPECT_NEAR(solver.Coefficient(2, 0), 0.0, 1e-9);
}

TEST(CLeastSquares, EqualValuesGiveAConstantWithoutSolving) {
    // Every x equal would make the system singular; the shortcut avoids it.
    const std::vector<double> x(5, 1.0);
    const std::vector<double> z = {3.5, 3.5, 3.5 + 1e-31, 3.5, 3.5};
    CLeastSquares solver;
    ASSERT_TRUE(solver.Fit(6, 0, 5, x.data(), nullptr, z.data()));
    EXPECT_EQ(solver.Coefficient(0), 3.5);
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(solver.Coefficient(i), 0.0);
}

TEST(CLeastSquares, AbscissasAllOneAndDifferentValuesFail) {
    const std::vector<double> x(7, 1.0);
    const std::vector<double> z = {1, 2, 3, 4, 5, 6, 7};
    CLeastSquares solver;
    EXPECT_FALSE(solver.Fit(6, 0, 7, x.data(), nullptr, z.data()));
    for (int i = 0; i <= 6; ++i) EXPECT_EQ(solver.Coefficient(i), 0.0);
}

TEST(CLeastSquares, RefusesDegreesOutsideItsTable) {
    const std::vector<double> x = {1, 2, 3};
    CLeastSquares solver;
    EXPECT_FALSE(solver.Fit(7, 0, 3, x.data(), nullptr, x.data()));
    EXPECT_FALSE(solver.Fit(1, 9, 3, x.data(), x.data(), x.data()));
    EXPECT_FALSE(solver.Fit(1, 1, 3, x.data(), nullptr, x.data()));
    EXPECT_FALSE(solver.Fit(1, 0, 0, x.data(), nullptr, x.data()));
}

TEST(Polynomial, EvaluatesInSinglePrecision) {
    const float c[] = {1.0f, 2.0f, 3.0f};
    EXPECT_EQ(flow::EvaluatePolynomial(c, 2, 2.0f), 17.0f);
    EXPECT_EQ(flow::EvaluatePolynomial(c, 0, 2.0f), 1.0f);
    // 1 + 1e-8 is 1 in single precision, so the result stays 1.
    const float tiny[] = {1.0f, 1.0f};
    EXPECT_EQ(flow::EvaluatePolynomial(tiny, 1, 1e-8f), 1.0f);
    float table[7][9] = {};
    table[0][0] = 1.0f;
    table[1][2] = 2.0f;   // 2 x y²
    table[2][1] = -1.0f;  // -x² y
    EXPECT_EQ(flow::EvaluateTable(table, 6, 8, 2.0f, 3.0f), 1.0f + 36.0f - 12.0f);
    EXPECT_EQ(flow::EvaluateTable(table, 1, 1, 2.0f, 3.0f), 1.0f);
}
