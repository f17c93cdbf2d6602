#pragma once

#include "flow/CCurveFit.h"

// 1/viscosity (Centipoise) over the operating temperatures, against 1/T (°R),
// degree 3.
class CViscosity : public CCurveFit {
  public:
    static constexpr int kDegree = 3;
    static constexpr int kPoints = 4;

    using CCurveFit::CCurveFit;

    bool GeneratePoints() override;
    bool Fit() override;
};
