#pragma once

#include <functional>

#include "diagnostics/CTimedForm.h"

class CErrorInfoForm;

// Transmitter Self Test: 50 ms after the start the self test is started; 2 s
// later coil 0 tells whether it is still running. A test that has not
// finished is reported; a finished one shows the status it left in Error
// Information. The process-value notice ends every run that reached the
// transmitter.
class CSelfTestForm : public CTimedForm {
  public:
    static constexpr int kStartDelayMs = 50;
    static constexpr int kCheckDelayMs = 2000;

    // Shows an opened Error Information: the window opens its window over it,
    // the terminal prints its lines.
    using ErrorInformationViewer = std::function<void(CErrorInfoForm&)>;

    explicit CSelfTestForm(CMVDoc& doc);

    std::string Caption() const override;
    // The first step starts the self test, the second looks at its result.
    FormOutcome Step() override;

    // True once the self test finished and its status was read.
    bool Completed() const { return m_completed; }

    void SetErrorInformationViewer(ErrorInformationViewer viewer) {
        m_viewErrorInformation = std::move(viewer);
    }

  protected:
    std::string StatusText() const override;
    int StartDelayMs() const override { return kStartDelayMs; }

  private:
    FormOutcome StartSelfTest();
    FormOutcome CheckResult();

    bool m_started = false;
    bool m_completed = false;
    ErrorInformationViewer m_viewErrorInformation;
};
