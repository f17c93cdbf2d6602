#include "app/ConfigurationSteps.h"

#include <array>

namespace {
constexpr std::array<const char*, app::kConfigurationStepCount> kStepTexts = {
    "Transmitter parameters...", "Common sensor && DP parameters...",
    "SP parameters...",          "PT parameters...",
    "Device information...",     "LCD configuration..."};
}  // namespace

namespace app {

std::string ConfigurationStepText(int step) {
    if (step < 1 || step > kConfigurationStepCount) return std::string();
    return kStepTexts[static_cast<size_t>(step - 1)];
}

}  // namespace app
