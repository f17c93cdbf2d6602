#include "tests/support/CScriptedUi.h"

#include <gtest/gtest.h>

CScriptedUi::CScriptedUi() : m_scope(*this) {}

CScriptedUi::~CScriptedUi() { Verify(); }

CScriptedUi& CScriptedUi::Expect(const std::string& text, MsgAnswer answer) {
    m_expected.push_back({text, std::nullopt, answer});
    return *this;
}

CScriptedUi& CScriptedUi::ExpectWithIcon(const std::string& text, MsgIcon icon, MsgAnswer answer) {
    m_expected.push_back({text, icon, answer});
    return *this;
}

CScriptedUi& CScriptedUi::ExpectPassword(std::optional<std::string> password) {
    m_passwords.push_back(std::move(password));
    return *this;
}

CScriptedUi& CScriptedUi::ExpectTransmitterStatus(TransmitterStatusAnswer answer) {
    m_statusAnswers.push_back(answer);
    return *this;
}

void CScriptedUi::Verify() {
    for (const auto& e : m_expected)
        ADD_FAILURE() << "expected message box never shown: \"" << e.text << "\"";
    if (!m_passwords.empty())
        ADD_FAILURE() << m_passwords.size() << " expected password prompt(s) never shown";
    if (!m_statusAnswers.empty()) ADD_FAILURE() << "expected transmitter status dialog never shown";
    m_expected.clear();
    m_passwords.clear();
    m_statusAnswers.clear();
}

MsgAnswer CScriptedUi::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    m_shown.push_back({text, buttons, icon});
    if (m_messageHook) m_messageHook(text);
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text << "\"";
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    Expected next = m_expected.front();
    m_expected.pop_front();
    EXPECT_EQ(next.text, text) << "message box text differs";
    if (next.icon) {
        EXPECT_EQ(static_cast<int>(*next.icon), static_cast<int>(icon))
            << "icon of \"" << text << "\"";
    }
    return next.answer;
}

void CScriptedUi::BeginWaitCursor() {
    ++m_waitDepth;
    m_cursors.push_back(true);
}

void CScriptedUi::EndWaitCursor() {
    --m_waitDepth;
    if (m_cursors.empty() || !m_cursors.back()) {
        ADD_FAILURE() << "wait cursor ended out of turn";
        return;
    }
    m_cursors.pop_back();
}

void CScriptedUi::EndUserPrompt() {
    if (m_cursors.empty() || m_cursors.back()) {
        ADD_FAILURE() << "prompt cursor ended out of turn";
        return;
    }
    m_cursors.pop_back();
}

void CScriptedUi::SetLinkBusy(bool busy) {
    m_linkBusy = busy;
    if (busy) ++m_busyCount;
}

bool CScriptedUi::PumpMessages() {
    if (m_pumpHook) {
        m_pumpHook();
        return true;
    }
    return false;
}

std::optional<std::string> CScriptedUi::PromptPassword() {
    m_busyAtPasswordPrompts.push_back(CursorBusy());
    if (m_passwords.empty()) {
        ADD_FAILURE() << "unexpected password prompt";
        return std::nullopt;
    }
    auto answer = m_passwords.front();
    m_passwords.pop_front();
    return answer;
}

TransmitterStatusAnswer CScriptedUi::ShowTransmitterStatus(
    const TransmitterStatusRequest& request) {
    m_statusDialogs.push_back(request);
    if (m_statusAnswers.empty()) {
        ADD_FAILURE() << "unexpected transmitter status dialog";
        return {};
    }
    auto answer = m_statusAnswers.front();
    m_statusAnswers.pop_front();
    return answer;
}
