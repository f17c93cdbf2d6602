#pragma once

#include <string>

// Message boxes of the flow calculations: plain boxes with an OK button.
namespace flow {

void ShowText(const std::string& text);
void ShowMessage(unsigned id);
// Shows the numbered text, then abandons the calling operation silently.
[[noreturn]] void ShowAndAbandon(unsigned id);

}  // namespace flow
