#include "app/SafetyNotices.h"

#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace app {
namespace {
constexpr unsigned kIdSafetyPrompt = 390;
constexpr unsigned kIdProcessValueNotice = 392;
constexpr unsigned kIdConfigurationFailed = 393;
}  // namespace

bool ConfirmManualMode() {
    return Ui().MessageBox(LoadString(kIdSafetyPrompt), MsgButtons::OkCancel,
                           MsgIcon::Exclamation) == MsgAnswer::Ok;
}

bool ConfirmManualMode(const std::string& preface) {
    if (preface.empty()) return ConfirmManualMode();
    return Ui().MessageBox(preface + "\n\n" + LoadString(kIdSafetyPrompt), MsgButtons::OkCancel,
                           MsgIcon::Exclamation) == MsgAnswer::Ok;
}

void ShowProcessValueNotice() {
    Ui().MessageBox(LoadString(kIdProcessValueNotice), MsgButtons::Ok, MsgIcon::Exclamation);
}

void ShowConfigurationFailed() {
    Ui().MessageBox(LoadString(kIdConfigurationFailed), MsgButtons::Ok, MsgIcon::Stop);
}

}  // namespace app
