#pragma once

#include "flow/CFlow.h"

// A liquid flow configuration. Defaults: test fluid WATER, molecular weight
// 18.015, operating pressure 1.0 to 50.0 InH2O-60°F.
class CLiquidFlow : public CFlow {
  public:
    static constexpr double kTestMolecularWeight = 18.015;

    CLiquidFlow();
    ~CLiquidFlow() override;

    const char* RuntimeClassName() const override { return "CLiquidFlow"; }

    void InitialiseWithDefaults() override;
    int ComputeIsentropicExponent() override { return 0; }
    double GetIsentropicExponent() const override { return 0.0; }
    void SetIsentropicExponent(double) override {}
    CGasExpansion* GetGasExpansion() const override { return nullptr; }

  protected:
    void CopyKindFields(const CFlow&) override {}
};
