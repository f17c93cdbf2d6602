#pragma once

#include "flow/CCurveFit.h"

// Discharge coefficient over the Reynolds number range: Cd against 1/sqrt(Re)
// (Re * beta for the integral orifice), degree 6. The points are discarded
// after the fit.
class CDischargeCoeff : public CCurveFit {
  public:
    static constexpr int kDegree = 6;
    static constexpr int kMinPoints = 7;

    using CCurveFit::CCurveFit;

    bool GeneratePoints() override;
    bool Fit() override;

    // The Reynolds numbers of the point sequence for a producer.
    static std::vector<double> ReynoldsSequence(int diffProducer);
};
