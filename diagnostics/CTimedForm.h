#pragma once

#include <string>

#include "config/CConfigForm.h"

// A diagnostic that runs by itself once started: Master Reset and Self Test.
// Opening reads the transmitter's tag again (a transmitter that does not
// answer is reported and the window never opens). Start() asks the
// manual-mode safety prompt; after OK the window, or the terminal, waits
// DelayMs() and calls Step(), again and again, until an outcome closes it.
// While the sequence runs there is nothing to cancel.
class CTimedForm : public CConfigForm {
  public:
    static constexpr const char* kStatusKey = "status";

    explicit CTimedForm(CMVDoc& doc);

    // Cancel of the safety prompt closes with Cancel; OK keeps the window open
    // with the first step due after DelayMs().
    FormOutcome Start();
    // One timer event of the sequence; StayOpen while more steps follow.
    virtual FormOutcome Step() = 0;
    // Milliseconds until the next Step().
    int DelayMs() const { return m_delayMs; }
    bool Running() const { return m_running; }

    // The window has no OK button.
    FormOutcome Ok() override;
    // Before the start, Cancel closes; while the sequence runs it is refused.
    FormOutcome Cancel() override;

  protected:
    // The tag refresh and the window's one line of text.
    void Read() override;
    virtual std::string StatusText() const = 0;
    // The delay before the first step.
    virtual int StartDelayMs() const = 0;

    void SetDelayMs(int ms) { m_delayMs = ms; }
    // The sequence is over; the window closes with `result`.
    FormOutcome Finish(FormResult result);

  private:
    int m_delayMs = 0;
    bool m_running = false;
};
