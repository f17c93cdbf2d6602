#include "flow/Polynomial.h"

namespace flow {

float EvaluatePolynomial(const float* c, int degree, float x) {
    float sum = 0.0f;
    float power = 1.0f;
    for (int k = 0; k <= degree; ++k) {
        sum += c[k] * power;
        power *= x;
    }
    return sum;
}

float EvaluateTable(const float (*table)[9], int degreeX, int degreeY, float x, float y) {
    float sum = 0.0f;
    float xi = 1.0f;
    for (int i = 0; i <= degreeX; ++i) {
        float yj = 1.0f;
        for (int j = 0; j <= degreeY; ++j) {
            sum += table[i][j] * xi * yj;
            yj *= y;
        }
        xi *= x;
    }
    return sum;
}

}  // namespace flow
