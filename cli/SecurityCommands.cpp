#include "cli/SecurityCommands.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/WorkflowCommands.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Status-bar texts of the access states 0..5.
constexpr unsigned kAccessTextIds[] = {59145, 59146, 59147, 59148, 59150, 59149};

constexpr const char* kNoPasswordNeeded =
    "Security is disabled in the transmitter: no password is needed.";
constexpr const char* kAlreadyEnabled = "Security is already enabled.";
constexpr const char* kAlreadyDisabled = "Security is already disabled.";
constexpr const char* kNeedsAdministrativePassword =
    "Switching security needs the administrative password: give it with --password.";
constexpr const char* kNoFlowConfiguration =
    "The transmitter holds no flow configuration: its security cannot be switched.";
constexpr const char* kNeedsYes =
    "Nothing was written. Repeat the command with --yes to answer OK to the question above.";

std::string AccessStateText(int state) {
    if (state < 0 || state > 5) return std::string();
    return LoadString(kAccessTextIds[state]);
}

// The terminal's services with the password prompt answered by the password
// of the command line, in upper case as the prompt turns it; without one the
// terminal is asked.
class CPasswordConsoleUi : public CConsoleUi {
  public:
    CPasswordConsoleUi(std::ostream& err, Questions questions, std::optional<std::string> password)
        : CConsoleUi(err, questions), m_password(std::move(password)) {
        if (m_password) {
            std::transform(m_password->begin(), m_password->end(), m_password->begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        }
    }

    std::optional<std::string> PromptPassword() override {
        std::optional<std::string> answer = m_password ? m_password : CConsoleUi::PromptPassword();
        if (!answer) m_promptCancelled = true;
        return answer;
    }

    // A password prompt went without an answer.
    bool PromptCancelled() const { return m_promptCancelled; }

  private:
    std::optional<std::string> m_password;
    bool m_promptCancelled = false;
};

// Connects the way the connect command does, its output kept back; the log-in
// after connecting asks the prompt.
bool Connect(WorkflowContext& context, std::ostream& err) {
    std::ostringstream connected;
    return cli::ConnectCommand(context, {}, connected, err) == 0;
}

}  // namespace

namespace cli {

int LogInCommand(WorkflowContext& context, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err) {
    if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-')) {
        err << "login takes one password.\n";
        return kExitUsage;
    }
    CPasswordConsoleUi ui(err, CConsoleUi::Questions::Decline, args[0]);
    CScopedUi scope(ui);
    if (!Connect(context, err)) return kExitFailure;
    // Connecting has logged in with the password wherever security is on.
    const int state = context.AccessState();
    out << AccessStateText(state) << '\n';
    if (state == app::kAccessDisabled) err << kNoPasswordNeeded << '\n';
    return state == app::kAccessLow ? kExitFailure : 0;
}

int SecurityCommand(WorkflowContext& context, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err) {
    std::optional<bool> enable;
    std::optional<std::string> password;
    bool yes = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--yes") {
            yes = true;
        } else if (args[i] == "--password" && i + 1 < args.size()) {
            password = args[++i];
        } else if (!enable && (args[i] == "enable" || args[i] == "disable")) {
            enable = args[i] == "enable";
        } else {
            err << "security takes enable or disable, and --password P and --yes.\n";
            return kExitUsage;
        }
    }
    if (!enable) {
        err << "security needs enable or disable.\n";
        return kExitUsage;
    }
    CPasswordConsoleUi ui(
        err, yes ? CConsoleUi::Questions::AnswerYes : CConsoleUi::Questions::Decline, password);
    CScopedUi scope(ui);
    if (!Connect(context, err)) return kExitFailure;

    CSecurity& security = context.security;
    if (security.Enabled() == *enable) {
        err << (*enable ? kAlreadyEnabled : kAlreadyDisabled) << '\n';
        out << AccessStateText(context.AccessState()) << '\n';
        return 0;
    }
    const int state = context.AccessState();
    if (state == app::kAccessNonEms) {
        err << kNoFlowConfiguration << '\n';
        return kExitFailure;
    }
    if (state != app::kAccessHigh && state != app::kAccessDisabled) {
        err << kNeedsAdministrativePassword << '\n';
        return kExitFailure;
    }
    security.ToggleSecurity(context.Comm(), context.Access());
    if (security.Enabled() == *enable) {
        out << AccessStateText(context.AccessState()) << '\n';
        return 0;
    }
    if (!ui.Declined().empty()) {
        err << kNeedsYes << '\n';
    } else if (ui.PromptCancelled()) {
        err << kNeedsAdministrativePassword << '\n';
    }
    return kExitFailure;
}

const std::vector<std::string>& SecurityCommandUsage() {
    static const std::vector<std::string> usage = {
        "login PASSWORD              print the access level a password gives",
        "security enable|disable [--password P] [--yes]",
        "                            switch the transmitter's security; P is the",
        "                            administrative password",
    };
    return usage;
}

}  // namespace cli
