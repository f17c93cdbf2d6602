#pragma once

#include <string>

namespace app {

// Send and receive configuration move the same six areas, in this order.
inline constexpr int kConfigurationStepCount = 6;
// Past this many ticks a workflow counts as cancelled.
inline constexpr int kStepCeiling = 32;

// The status text of step 1..6 as it stands in the resources ("&&" for "&").
std::string ConfigurationStepText(int step);

}  // namespace app
