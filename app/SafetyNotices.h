#pragma once

#include <string>

// The messages that guard every write to a transmitter: the manual-mode
// safety prompt before the first write, the process-value notice after
// successful writes, and the configuration-failed box after a failed one.
namespace app {

// The manual-mode safety prompt (OK/Cancel, exclamation icon); true on OK.
bool ConfirmManualMode();
// The same prompt with a text of the caller's before the safety text (what a
// whole-configuration write is going to change).
bool ConfirmManualMode(const std::string& preface);
// The process-value notice (exclamation icon).
void ShowProcessValueNotice();
// "Configuration failed. ..." as an error box.
void ShowConfigurationFailed();

}  // namespace app
