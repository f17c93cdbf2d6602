#pragma once

#include <chrono>
#include <functional>

#include "diagnostics/CTimedForm.h"

struct WorkflowContext;

// Transmitter Master Reset: 250 ms after the start the reset is sent; then the
// transmitter's tag is read every 4 seconds until it answers. A transmitter
// that is not back yet (offline, or no reply at all) is waited for until 60
// seconds have passed since the reset; then the window says it gives up and
// the program disconnects. Any other failure ends the wait with its text.
class CMasterResetForm : public CTimedForm {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr int kResetDelayMs = 250;
    // How often the window looks at the clock while it waits.
    static constexpr int kTickMs = 200;
    static constexpr std::chrono::seconds kPollInterval{4};
    static constexpr std::chrono::seconds kGiveUpAfter{60};

    // Without a clock the steady clock is used.
    explicit CMasterResetForm(WorkflowContext& context, Clock clock = Clock());

    std::string Caption() const override;
    // The first step sends the reset; every later one is one look at the
    // clock, with a tag read when 4 seconds have passed since the last one.
    FormOutcome Step() override;

    // Tag reads since the reset.
    int Polls() const { return m_polls; }
    // True once the transmitter answered after the reset.
    bool Answered() const { return m_answered; }
    // True once the wait gave up and the program disconnected.
    bool GaveUp() const { return m_gaveUp; }

  protected:
    std::string StatusText() const override;
    int StartDelayMs() const override { return kResetDelayMs; }

  private:
    FormOutcome SendReset();
    FormOutcome Poll();
    FormOutcome GiveUp();

    WorkflowContext& m_context;
    Clock m_clock;
    bool m_resetSent = false;
    std::chrono::steady_clock::time_point m_resetAt{};
    std::chrono::steady_clock::time_point m_lastPollAt{};
    int m_polls = 0;
    bool m_answered = false;
    bool m_gaveUp = false;
};
