#include "app/CWorkflowEngine.h"

#include <gtest/gtest.h>

#include "app/ConfigurationSteps.h"

namespace {

// Counts down a number of steps and shows each step's text.
class CCountingEngine : public CWorkflowEngine {
  public:
    explicit CCountingEngine(int steps) : m_steps(steps) {}
    bool Step() override {
        if (Finished()) return false;
        if (CancelRequested()) {
            Finish(WorkflowResult::Cancelled);
            return false;
        }
        ++m_done;
        SetStatusText(app::ConfigurationStepText(m_done));
        if (m_done < m_steps) return true;
        Finish(WorkflowResult::Done);
        return false;
    }
    int Done() const { return m_done; }

  private:
    int m_steps;
    int m_done = 0;
};

}  // namespace

TEST(CWorkflowEngine, DoubleAmpersandIsShownAsOne) {
    CCountingEngine engine(6);
    engine.Step();
    EXPECT_EQ(engine.StatusText(), "Transmitter parameters...");
    engine.Step();
    EXPECT_EQ(engine.StatusText(), "Common sensor & DP parameters...");
    EXPECT_EQ(app::ConfigurationStepText(2), "Common sensor && DP parameters...");
    EXPECT_EQ(app::ConfigurationStepText(6), "LCD configuration...");
    EXPECT_EQ(app::ConfigurationStepText(7), "");
}

TEST(CWorkflowEngine, RunToEndReportsEveryStepAndTheResult) {
    CCountingEngine engine(4);
    int calls = 0;
    EXPECT_EQ(engine.RunToEnd([&](const CWorkflowEngine&) { ++calls; }), WorkflowResult::Done);
    EXPECT_EQ(engine.Done(), 4);
    EXPECT_EQ(calls, 4);
    EXPECT_FALSE(engine.Step());
    EXPECT_EQ(engine.Done(), 4);
}

TEST(CWorkflowEngine, CancelIsActedOnBeforeTheNextStep) {
    CCountingEngine engine(6);
    engine.Step();
    engine.RequestCancel();
    EXPECT_FALSE(engine.Step());
    EXPECT_EQ(engine.Done(), 1);
    EXPECT_EQ(engine.Result(), WorkflowResult::Cancelled);
}
