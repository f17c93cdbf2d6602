#pragma once

// Evaluation of the fitted polynomials as the transmitter does it: in single
// precision, with powers built by repeated multiplication starting from 1.
namespace flow {

// sum of c[k] * x^k for k = 0..degree
float EvaluatePolynomial(const float* c, int degree, float x);

// sum of table[i][j] * x^i * y^j for i = 0..degreeX, j = 0..degreeY
float EvaluateTable(const float (*table)[9], int degreeX, int degreeY, float x, float y);

}  // namespace flow
