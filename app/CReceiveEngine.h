#pragma once

#include <functional>
#include <string>

#include "app/CWorkflowEngine.h"
#include "app/WorkflowContext.h"

// Receive configuration: resets the document's transmitter model and reads the
// transmitter parameters, the DP, SP and PT settings, the device information
// and the LCD settings from the connected transmitter, one area per step. From
// the reset on the document is untitled and modified, so a receive that fails
// or is cancelled leaves it so; a completed one names it after the
// transmitter's tag.
class CReceiveEngine : public CWorkflowEngine {
  public:
    // Asked when the document holds unsaved changes; false means Cancel.
    using SaveModifiedQuestion = std::function<bool()>;

    explicit CReceiveEngine(WorkflowContext& context);

    // Asks about a modified document, then resets the model and makes the
    // document untitled and modified. False (result not started, document
    // untouched) when the question was cancelled.
    bool Start(const SaveModifiedQuestion& saveModified);
    bool Step() override;
    int NextStep() const { return m_step; }
    // The name the received document takes, after the transmitter's tag
    // ("UNTITLED" or up to 8 characters of the tag + ".CMM"); the front end
    // gives it to the document as its path, without a recent-file entry.
    const std::string& DocumentName() const { return m_documentName; }

  private:
    void PerformStep(int step);
    void Complete();

    WorkflowContext& m_context;
    int m_step = 1;
    bool m_started = false;
    std::string m_documentName;
};
