#include "cli/CConsoleUi.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <ostream>

CConsoleUi::CConsoleUi(std::ostream& err, Questions questions)
    : m_err(err), m_questions(questions) {}

MsgAnswer CConsoleUi::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon) {
    m_err << text;
    if (text.empty() || text.back() != '\n') m_err << '\n';
    m_err.flush();
    const bool yesNo = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel;
    if (buttons == MsgButtons::Ok || m_questions == Questions::AnswerYes)
        return yesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    if (m_declined.empty()) m_declined = text;
    return yesNo ? MsgAnswer::No : MsgAnswer::Cancel;
}

std::optional<std::string> CConsoleUi::PromptPassword() {
    if (!::isatty(STDIN_FILENO)) return std::nullopt;
    m_err << "Password: " << std::flush;
    termios saved{};
    ::tcgetattr(STDIN_FILENO, &saved);
    termios hidden = saved;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
    std::string password;
    const bool read = static_cast<bool>(std::getline(std::cin, password));
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    m_err << '\n';
    if (!read || password.empty()) return std::nullopt;
    std::transform(password.begin(), password.end(), password.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return password;
}

TransmitterStatusAnswer CConsoleUi::ShowTransmitterStatus(const TransmitterStatusRequest& request) {
    for (const auto& line : request.lines) m_err << line << '\n';
    return {};
}
