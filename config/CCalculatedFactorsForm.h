#pragma once

#include <memory>

#include "config/CScalingParametersForm.h"

class CFactorsViewForm;

// Scale factor and offset of one variable as the Calculated window works
// them out; `factorInRange` and `offsetInRange` say whether they fit.
struct CalculatedFactors {
    double factor = 0.0;
    double offset = 0.0;
    bool factorInRange = false;
    bool offsetInRange = false;

    bool InRange() const { return factorInRange && offsetInRange; }
};

// Calculated Scale Factors and Offsets: the full-scale count ("counts"), the
// rounding ("rounding": to the nearest integer, down, up) and per variable
// the PVs at 0 and at the full-scale count ("DP-min-pv", "DP-max-pv"). The
// factor and offset of each variable are calculated from them, and the PVs
// are kept as entered.
class CCalculatedFactorsForm : public CScalingParametersForm {
  public:
    static constexpr uint16_t kRoundNearest = 0;
    static constexpr uint16_t kRoundDown = 1;
    static constexpr uint16_t kRoundUp = 2;

    using CScalingParametersForm::CScalingParametersForm;

    // factor = R(counts / (maximum PV - minimum PV)), offset = R(factor x
    // minimum PV + 32768), R the rounding (to the nearest: halves away from
    // zero). The factor fits from 1 to 65535, the offset from 0 to 65534.
    static CalculatedFactors Calculate(uint16_t counts, float minPv, float maxPv,
                                       uint16_t rounding);
    static double Round(double value, uint16_t rounding);

    std::string Caption() const override;
    uint16_t Method() const override { return transmitter::kScalingCalculatedFactors; }
    // "&Set Scaling".
    FormOutcome Ok() override;
    // "&View Factors...": the out-of-range message for the first variable
    // whose factors do not fit, if any, in `outcome`; the read-only view of
    // the factors, or nullptr when what was typed cannot be calculated.
    std::unique_ptr<CFactorsViewForm> ViewFactors(FormOutcome& outcome);

    // The terminal names the rounding "nearest", "down" or "up".
    std::string SetValue(const std::string& key, const std::string& value) override;

  protected:
    void Read() override;
    std::vector<std::string> RowKeys(int variable) const override;

  private:
    struct Typed {
        uint16_t counts = 0;
        std::array<float, 3> minPv{};
        std::array<float, 3> maxPv{};
        std::array<CalculatedFactors, 3> factors{};
    };
    // Checks what was typed and calculates the three variables; false with
    // the refusal when a field is refused.
    bool CalculateTyped(Typed& typed, FormOutcome& refusal) const;
    // The message for the first variable whose factors do not fit; false when
    // all fit.
    bool OutOfRange(const Typed& typed, FormOutcome& message) const;
    uint16_t Rounding() const;
};
