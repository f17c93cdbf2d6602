#pragma once

#include <iosfwd>

#include "platform/IUserInterface.h"

// The user-interface services of the terminal program: message boxes are printed
// to the error stream and answered with their default (OK, Yes), so a scripted
// run never waits on a question; there are no windows to repaint.
class CConsoleUi : public IUserInterface {
  public:
    explicit CConsoleUi(std::ostream& err);

    MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override;
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest& request) override;
    // Messages that need a main window are wanted on the terminal too.
    bool HasMainWindow() const override { return true; }

  private:
    std::ostream& m_err;
};
