#include "flow/CGasFlow.h"

#include "flow/FluidProperties.h"
#include "resources/Texts.h"
#include "units/Units.h"

CGasFlow::CGasFlow() : CFlow(flow::kPhaseGas) { CGasFlow::InitialiseWithDefaults(); }

CGasFlow::~CGasFlow() = default;

void CGasFlow::InitialiseWithDefaults() {
    CFlow::InitialiseWithDefaults();
    SetFluidName(texts::kTestGas);
    SetMolecularWeight(CDimlessValue(kTestMolecularWeight));
    m_isentropicExponent.Set(kTestIsentropicExponent);
}

void CGasFlow::CreateKindFits() { m_gasExpansion = std::make_unique<CGasExpansion>(*this, 0); }

int CGasFlow::ComputeIsentropicExponent() {
    CTemperature tMin(OperatingTemperatureMin());
    CTemperature tMax(OperatingTemperatureMax());
    const CUnit kelvin(35, units::kMtcPt);
    tMin.ConvertTo(kelvin);
    tMax.ConvertTo(kelvin);
    double exponent = 0.0;
    if (!flow::IsentropicExponent(Database(), FluidName(), tMin.Value(), tMax.Value(), exponent))
        return 0;
    m_isentropicExponent.Set(exponent);
    return 1;
}

void CGasFlow::CopyKindFields(const CFlow& other) {
    const auto& gas = static_cast<const CGasFlow&>(other);
    m_isentropicExponent = gas.m_isentropicExponent;
    m_gasExpansion->CopyFrom(*gas.m_gasExpansion);
}
