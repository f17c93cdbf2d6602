#pragma once

#include "flow/CCurveFit.h"

// d²/sqrt(1 - beta⁴) over the operating temperatures, against 1/T (°R),
// degree 2. The points are discarded after the fit.
class CEdSquared : public CCurveFit {
  public:
    static constexpr int kDegree = 2;
    static constexpr int kMinPoints = 3;
    static constexpr int kPoints = 100;

    using CCurveFit::CCurveFit;

    bool GeneratePoints() override;
    bool Fit() override;
};
