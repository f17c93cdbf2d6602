#pragma once

#include <string>
#include <vector>

#include "platform/IUserInterface.h"
#include "platform/UiServices.h"

namespace fuzz {

// The user interface of a fuzz run: every message box is answered with its
// default and recorded, nothing is shown. Installed for its lifetime.
class CRecordingUi : public IUserInterface {
  public:
    CRecordingUi() : m_scope(*this) {}

    MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon) override {
        texts.push_back(text);
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override { return std::nullopt; }
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest&) override {
        return {};
    }

    std::vector<std::string> texts;

  private:
    CScopedUi m_scope;
};

}  // namespace fuzz
