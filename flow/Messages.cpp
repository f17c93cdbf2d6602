#include "flow/Messages.h"

#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace flow {

void ShowText(const std::string& text) { Ui().MessageBox(text, MsgButtons::Ok, MsgIcon::None); }

void ShowMessage(unsigned id) { ShowText(LoadString(id)); }

void ShowAndAbandon(unsigned id) {
    ShowMessage(id);
    AbandonSilently();
}

}  // namespace flow
