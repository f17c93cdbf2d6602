#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/IUserInterface.h"
#include "platform/UiServices.h"

// The scripted user-interface double. Constructing it installs it as Ui() for
// the lifetime of the object. Every message box must have been announced with
// Expect(); an unexpected box fails the test, and so does an expected box that
// never came (checked when the object is destroyed or by Verify()).
class CScriptedUi : public IUserInterface {
  public:
    struct Shown {
        std::string text;
        MsgButtons buttons;
        MsgIcon icon;
    };

    CScriptedUi();
    ~CScriptedUi() override;

    // The next message box must show exactly `text`; it is answered with `answer`.
    CScriptedUi& Expect(const std::string& text, MsgAnswer answer = MsgAnswer::Ok);
    // As Expect, and the box must carry this icon.
    CScriptedUi& ExpectWithIcon(const std::string& text, MsgIcon icon,
                                MsgAnswer answer = MsgAnswer::Ok);
    // The next password prompt is answered with `password` (nullopt = Cancel).
    CScriptedUi& ExpectPassword(std::optional<std::string> password);
    // The next transmitter status dialog is answered with `answer`.
    CScriptedUi& ExpectTransmitterStatus(TransmitterStatusAnswer answer = {});

    // Checks that every expectation has been used; clears them.
    void Verify();

    const std::vector<Shown>& Messages() const { return m_shown; }
    const std::vector<TransmitterStatusRequest>& StatusDialogs() const { return m_statusDialogs; }
    int Beeps() const { return m_beeps; }
    int WaitCursorDepth() const { return m_waitDepth; }
    // Whether the wait cursor shows now: a wait cursor is on and no prompt
    // cursor has been put over it since.
    bool CursorBusy() const { return !m_cursors.empty() && m_cursors.back(); }
    // CursorBusy() at each password prompt, in order.
    const std::vector<bool>& BusyAtPasswordPrompts() const { return m_busyAtPasswordPrompts; }
    int BusyNotifications() const { return m_busyCount; }
    bool LinkBusy() const { return m_linkBusy; }
    // Called from PumpMessages; lets a test act while the link waits (for example click Cancel).
    void SetPumpHook(std::function<void()> hook) { m_pumpHook = std::move(hook); }
    // Called as each message box is shown, before it is answered; lets a test
    // look at what is on the screen behind it.
    void SetMessageHook(std::function<void(const std::string& text)> hook) {
        m_messageHook = std::move(hook);
    }

    MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) override;
    void Beep() override { ++m_beeps; }
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BeginUserPrompt() override { m_cursors.push_back(false); }
    void EndUserPrompt() override;
    void SetLinkBusy(bool busy) override;
    bool PumpMessages() override;
    std::optional<std::string> PromptPassword() override;
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest& request) override;

  private:
    struct Expected {
        std::string text;
        std::optional<MsgIcon> icon;
        MsgAnswer answer;
    };

    CScopedUi m_scope;
    std::deque<Expected> m_expected;
    std::deque<std::optional<std::string>> m_passwords;
    std::deque<TransmitterStatusAnswer> m_statusAnswers;
    std::vector<Shown> m_shown;
    std::vector<TransmitterStatusRequest> m_statusDialogs;
    std::function<void()> m_pumpHook;
    std::function<void(const std::string&)> m_messageHook;
    int m_beeps = 0;
    int m_waitDepth = 0;
    std::vector<bool> m_cursors;  // the cursors put up, last on top: true for a wait cursor
    std::vector<bool> m_busyAtPasswordPrompts;
    int m_busyCount = 0;
    bool m_linkBusy = false;
};
