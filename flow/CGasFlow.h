#pragma once

#include <memory>

#include "flow/CFlow.h"
#include "flow/CGasExpansion.h"

// A gas flow configuration: adds the isentropic exponent and the gas expansion
// fit. Defaults: test fluid NITROGEN, molecular weight 28.014, exponent 1.4.
class CGasFlow : public CFlow {
  public:
    static constexpr double kTestMolecularWeight = 28.014;
    static constexpr double kTestIsentropicExponent = 1.4;

    CGasFlow();
    ~CGasFlow() override;

    const char* RuntimeClassName() const override { return "CGasFlow"; }

    void InitialiseWithDefaults() override;
    // 1 after a successful computation from the database, 0 after a failure
    // (its message has been shown).
    int ComputeIsentropicExponent() override;
    double GetIsentropicExponent() const override { return m_isentropicExponent.Get(); }
    void SetIsentropicExponent(double exponent) override { m_isentropicExponent.Set(exponent); }
    CGasExpansion* GetGasExpansion() const override { return m_gasExpansion.get(); }

    const CDimlessValue& IsentropicExponent() const { return m_isentropicExponent; }

  protected:
    void CreateKindFits() override;
    void CopyKindFields(const CFlow& other) override;

  private:
    CDimlessValue m_isentropicExponent;
    std::unique_ptr<CGasExpansion> m_gasExpansion;
};
