#pragma once

#include <optional>
#include <string>

#include "platform/IUserInterface.h"

// How a window ends, or that it stays open.
enum class FormResult {
    StayOpen,
    Ok,
    Cancel,
    Abort,  // a failure was shown; the transmitter may be left part-way
};

// A text that the window shows in a message box before it acts on the result.
struct FormMessage {
    std::string text;
    MsgIcon icon = MsgIcon::None;
};

// What a button of a configuration window led to. A refused value comes back
// as data: the window shows the message and puts the focus on the field, the
// terminal prints the message. Everything else the form has shown itself.
struct FormOutcome {
    FormResult result = FormResult::StayOpen;
    std::optional<FormMessage> message;
    // Key of the field that takes the focus, its text selected; empty for none.
    std::string focus;
    // The writes are over; the window stays open only to show what the
    // transmitter made of them.
    bool settled = false;

    static FormOutcome Close(FormResult result) {
        FormOutcome outcome;
        outcome.result = result;
        return outcome;
    }
    static FormOutcome Stay(const std::string& focus = std::string()) {
        FormOutcome outcome;
        outcome.focus = focus;
        return outcome;
    }
    // A value the window refuses: the message, then the focus on `field`.
    static FormOutcome Refuse(const std::string& text, const std::string& field,
                              MsgIcon icon = MsgIcon::None) {
        FormOutcome outcome;
        outcome.message = FormMessage{text, icon};
        outcome.focus = field;
        return outcome;
    }
};
