#pragma once

// The messages that guard every write to a transmitter: the manual-mode
// safety prompt before the first write, the process-value notice after
// successful writes, and the configuration-failed box after a failed one.
namespace app {

// The manual-mode safety prompt (OK/Cancel, exclamation icon); true on OK.
bool ConfirmManualMode();
// The process-value notice (exclamation icon).
void ShowProcessValueNotice();
// "Configuration failed. ..." as an error box.
void ShowConfigurationFailed();

}  // namespace app
