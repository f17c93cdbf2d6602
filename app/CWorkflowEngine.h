#pragma once

#include <string>

// How a workflow ended (Running while it has steps left).
enum class WorkflowResult { Running, Done, Cancelled, Failed, NotStarted };

// A long operation cut into steps. A window performs one step per timer tick and
// a terminal calls Step() in a loop; either may request a cancel at any time,
// and the request is acted on before the next step, never inside one.
class CWorkflowEngine {
  public:
    virtual ~CWorkflowEngine() = default;

    // Performs the next step; returns true while steps remain.
    virtual bool Step() = 0;

    void RequestCancel() { m_cancelRequested = true; }
    bool CancelRequested() const { return m_cancelRequested; }
    bool Finished() const { return m_result != WorkflowResult::Running; }
    WorkflowResult Result() const { return m_result; }
    int Progress() const { return m_progress; }
    int ProgressMaximum() const { return m_progressMaximum; }
    // The status line as shown.
    const std::string& StatusText() const { return m_statusText; }

    // Runs every remaining step; `onStep` is called after each one.
    template <typename F>
    WorkflowResult RunToEnd(F&& onStep) {
        while (Step()) onStep(*this);
        onStep(*this);
        return m_result;
    }

  protected:
    void SetProgress(int value) { m_progress = value; }
    void SetProgressMaximum(int value) { m_progressMaximum = value; }
    // Shows a resource-style text: "&&" as "&".
    void SetStatusText(const std::string& text);
    void Finish(WorkflowResult result) { m_result = result; }

  private:
    bool m_cancelRequested = false;
    WorkflowResult m_result = WorkflowResult::Running;
    int m_progress = 0;
    int m_progressMaximum = 100;
    std::string m_statusText;
};
