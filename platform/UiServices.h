#pragma once

#include "platform/IUserInterface.h"

// The front end installs its user-interface services once at start-up; tests
// install a scripted double for their duration. Without an installed front end a
// silent one answers every question with its default (OK / Yes) and shows nothing.
IUserInterface& Ui();

class CScopedUi {
  public:
    explicit CScopedUi(IUserInterface& ui);
    ~CScopedUi();
    CScopedUi(const CScopedUi&) = delete;
    CScopedUi& operator=(const CScopedUi&) = delete;

  private:
    IUserInterface* m_previous;
};

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
  public:
    CWaitCursor() { Ui().BeginWaitCursor(); }
    ~CWaitCursor() { Ui().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Shows the normal arrow while a prompt or dialog waits for the user, also
// when a wait cursor is on around it.
class CPromptCursor {
  public:
    CPromptCursor() { Ui().BeginUserPrompt(); }
    ~CPromptCursor() { Ui().EndUserPrompt(); }
    CPromptCursor(const CPromptCursor&) = delete;
    CPromptCursor& operator=(const CPromptCursor&) = delete;
};
