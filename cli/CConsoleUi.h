#pragma once

#include <iosfwd>

#include "platform/IUserInterface.h"

// The user-interface services of the terminal program: message boxes are printed
// to the error stream and answered without waiting, so a scripted run never
// stops on a question; there are no windows to repaint.
class CConsoleUi : public IUserInterface {
  public:
    // How questions (OK/Cancel, Yes/No) are answered.
    enum class Questions {
        AnswerYes,  // with their default, OK or Yes
        Decline,    // with Cancel or No: a command without --yes writes nothing
    };

    explicit CConsoleUi(std::ostream& err, Questions questions = Questions::AnswerYes);

    // The first question answered with Cancel or No; empty while there is none.
    const std::string& Declined() const { return m_declined; }

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
    Questions m_questions;
    std::string m_declined;
};
