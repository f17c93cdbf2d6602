#pragma once

#include <optional>
#include <string>
#include <vector>

// The services that the core asks of whatever front end runs it: message boxes,
// the wait cursor, the link activity indicator, the password prompt, and letting
// windows repaint while the link waits. The Qt program, the terminal program and
// the tests each provide one; core code never talks to a window directly.

enum class MsgButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    // "&Replace", "Save &As..." and "Cancel", answered Yes, No and Cancel.
    ReplaceSaveAsCancel
};

enum class MsgIcon { None, Exclamation, Stop, Question, Information };

enum class MsgAnswer { Ok, Cancel, Yes, No };

// What the transmitter status dialog shows after a legacy request whose device
// status byte carries a bit other than 0x40.
struct TransmitterStatusRequest {
    unsigned statusByte = 0;
    std::vector<std::string> lines;  // list entries in display order
    bool errorInfoEnabled = false;   // "&Error Info" only for bit 0x10
};

struct TransmitterStatusAnswer {
    bool ignoreNext50 = false;      // "&Ignore status on next 50 commands" ticked at OK
    bool errorInfoPressed = false;  // the user asked for the error information dialog
};

class IUserInterface {
  public:
    virtual ~IUserInterface() = default;

    virtual MsgAnswer MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) = 0;
    virtual void Beep() = 0;

    // Nested calls are counted: the cursor stays busy until every begin has its end.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // A window that waits for the user (a prompt, a dialog) opens under a wait
    // cursor: between these two calls the normal arrow shows, and a wait
    // cursor begun inside (a transaction of that dialog) shows again until it
    // ends. Pairs nest with the wait cursor's own.
    virtual void BeginUserPrompt() {}
    virtual void EndUserPrompt() {}

    // The link changed between idle and busy; the COMM pane is repainted at once.
    virtual void SetLinkBusy(bool busy) = 0;

    // Dispatches pending window events while the caller waits for the link.
    // Returns true when at least one event was handled.
    virtual bool PumpMessages() = 0;

    // The password prompt: characters hidden and turned to upper case.
    // Empty when the user cancelled.
    virtual std::optional<std::string> PromptPassword() = 0;

    virtual TransmitterStatusAnswer ShowTransmitterStatus(
        const TransmitterStatusRequest& request) = 0;

    // False while no main window exists (messages that need one are then skipped).
    virtual bool HasMainWindow() const { return true; }
};
