#pragma once

#include "flow/CCurveFit.h"

// Gas expansion factor Y against DP/P (InH2O-60°F per psi), degree 2. Orifices
// get their coefficients directly; nozzles and venturis are fitted. The points
// are discarded after the fit.
class CGasExpansion : public CCurveFit {
  public:
    static constexpr int kDegree = 2;
    static constexpr int kMinPoints = 3;
    static constexpr int kPoints = 100;
    static constexpr double kMaxRatio = 2.5;

    using CCurveFit::CCurveFit;

    // For an orifice producer: sets c0 = 1, c1 from the orifice equation, c2 = 0,
    // marks the fit valid and returns true.
    bool OrificeTrue();

    // The nozzle and venturi points.
    bool GeneratePoints() override;
    bool Fit() override;
    // Liquid: 1, 0, 0 without points; orifice: OrificeTrue; else generate and fit.
    bool GenerateAndFit() override;
};
