#pragma once

#include <exception>
#include <string>

#include "app/CWorkflowEngine.h"
#include "app/SentValues.h"
#include "app/WorkflowContext.h"

// Send configuration: writes the document's transmitter parameters, the DP, SP
// and PT settings, the device information and the LCD settings to the connected
// transmitter, one area per step.
class CSendEngine : public CWorkflowEngine {
  public:
    explicit CSendEngine(WorkflowContext& context);

    // Shows the safety prompt; false (result not started) when it is refused.
    bool Start();
    // As Start, with `preface` shown before the safety text in the same prompt.
    bool Start(const std::string& preface);
    // For a front end that has shown the safety text itself and has the user's
    // confirmation.
    void StartConfirmed() { m_started = true; }
    bool Step() override;
    // The step that runs next (1..6, 7 when all are done).
    int NextStep() const { return m_step; }
    // Shows what follows the result: the process-value notice after a send that
    // completed, the undetermined-state warnings after a cancel or a failure.
    static void ReportOutcome(WorkflowResult result);
    // The text number shown after a result, 0 for none.
    static unsigned OutcomeTextId(WorkflowResult result);

  private:
    void PerformStep(int step);
    void WriteStep(int step);
    // Appends the step's records to the change log; `failure` is the error
    // that stopped the step, or nullptr.
    void RecordStep(int step, const app::ShownValues& before, const std::exception* failure);

    WorkflowContext& m_context;
    int m_step = 1;
    bool m_started = false;
};
