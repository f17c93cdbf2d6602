#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/CConnectEngine.h"

// The retry prompt's answers.
enum class RetryAnswer { Cancel = 0, RetryAddress1 = 1, ConnectDialog = 2 };

// The first connection of start-up: opens the link, then tries polling address
// 1 until a transmitter is connected or the user gives up through the retry
// prompt. The front end supplies the prompt, the Connect dialog and the closing
// of its start-up window.
class CStartupConnect {
  public:
    struct Callbacks {
        // Shows the retry prompt with a message and returns the answer.
        std::function<RetryAnswer(const std::string& message)> retryPrompt;
        // Runs the Connect dialog; true when it closed with OK.
        std::function<bool()> connectDialog;
        // Destroys the start-up window if it is still open.
        std::function<void()> closeStartupWindow;
    };

    static constexpr int kStartAddress = 1;

    CStartupConnect(WorkflowContext& context, Callbacks callbacks);

    // Opens the link and runs the connection loop. Returns true when a
    // transmitter is connected at the end. A link that cannot be opened marks
    // the document's link unavailable, shows why and ends at once.
    bool Run();
    // One attempt at address 1; the message for the retry prompt when it failed
    // (2100 for a foreign device, else empty), nullopt when connected.
    std::optional<std::string> Attempt();

  private:
    void CloseStartupWindow();

    WorkflowContext& m_context;
    Callbacks m_callbacks;
    CConnectEngine m_connect;
};
