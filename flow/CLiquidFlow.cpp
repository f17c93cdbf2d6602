#include "flow/CLiquidFlow.h"

#include "flow/FluidProperties.h"
#include "resources/Texts.h"
#include "units/Units.h"

CLiquidFlow::CLiquidFlow() : CFlow(flow::kPhaseLiquid) { CLiquidFlow::InitialiseWithDefaults(); }

CLiquidFlow::~CLiquidFlow() = default;

void CLiquidFlow::InitialiseWithDefaults() {
    CFlow::InitialiseWithDefaults();
    SetFluidName(texts::kTestLiquid);
    SetMolecularWeight(CDimlessValue(kTestMolecularWeight));
    const CUnit dpUnit(240, units::kMtcDp);
    SetOperatingPressureMin(CPressure(1.0, dpUnit));
    SetOperatingPressureMax(CPressure(50.0, dpUnit));
}
