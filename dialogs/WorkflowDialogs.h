#pragma once

#include <functional>
#include <string>

#include "app/CStartupConnect.h"
#include "app/CWorkflowEngine.h"
#include "app/WorkflowContext.h"

class QWidget;

// What the main window runs for the connect, send, receive and log-in commands
// and for the first connection at start-up. Each shows its own messages.
namespace dialogs {

// The Connect dialog. QDialog::Accepted after a connection, else Rejected; a
// dialog that cannot be set up says so and counts as Rejected. After a
// connection `connectedText` (when given) receives what the status bar says:
// which transmitter is connected, or where it was moved.
int RunConnectDialog(QWidget* parent, WorkflowContext& context,
                     std::string* connectedText = nullptr);

// The start-up retry prompt with the reason the connection failed.
RetryAnswer RunRetryPrompt(QWidget* parent, const std::string& message);

// Send configuration, then what its result means for the process. `preface`
// (what the send will change) stands before the safety text of its prompt.
WorkflowResult RunSendConfiguration(QWidget* parent, WorkflowContext& context,
                                    const std::string& preface = {});

// Receive configuration. `saveModified` is asked first when the document holds
// unsaved changes (false: Cancel, nothing is received); without one the
// document's own file is offered. `named` is told the name the received
// document takes.
WorkflowResult RunReceiveConfiguration(QWidget* parent, WorkflowContext& context,
                                       std::function<bool()> saveModified = {},
                                       std::function<void(const std::string& name)> named = {});

// Asks for a password and logs in with it; Cancel changes nothing. Returns the
// access state.
int RunLogIn(WorkflowContext& context);

// Opens the link and connects at polling address 1, with the retry prompt and
// the Connect dialog when that fails. `closeStartupWindow` is called once the
// start-up window is no longer wanted. True when a transmitter is connected.
bool RunStartupConnection(QWidget* parent, WorkflowContext& context,
                          std::function<void()> closeStartupWindow);

}  // namespace dialogs
