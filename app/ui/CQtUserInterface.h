#pragma once

#include <functional>

#include "platform/IUserInterface.h"

class CMainFrame;
class QWidget;

// The user-interface services of the Qt program: message boxes, the wait
// cursor, the COMM pane, event pumping while the link waits, the password prompt
// and the transmitter status dialog.
class CQtUserInterface : public IUserInterface {
  public:
    explicit CQtUserInterface(CMainFrame* frame = nullptr) : m_frame(frame) {}
    ~CQtUserInterface() override;

    void SetFrame(CMainFrame* frame) { m_frame = frame; }
    // What the status dialog's "&Error Info" opens (over the given window).
    void SetErrorInfoOpener(std::function<void(QWidget* parent)> open) {
        m_openErrorInfo = std::move(open);
    }

    MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    void Beep() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BeginUserPrompt() override;
    void EndUserPrompt() override;
    void SetLinkBusy(bool busy) override;
    bool PumpMessages() override;
    std::optional<std::string> PromptPassword() override;
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest& request) override;
    bool HasMainWindow() const override { return m_frame != nullptr; }

    int WaitCursorDepth() const { return m_waitDepth; }

  private:
    CMainFrame* m_frame;
    std::function<void(QWidget* parent)> m_openErrorInfo;
    // Each begin puts its cursor on Qt's override stack and each end takes it
    // off, so a prompt's arrow and a wait cursor inside it nest.
    int m_waitDepth = 0;
    int m_promptDepth = 0;
};
