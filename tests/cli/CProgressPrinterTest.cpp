// The progress of a workflow, on a terminal and where nobody watches one.
#include "cli/CProgressPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "app/CWorkflowEngine.h"

namespace {

// Three steps named "one", "two", "three"; the progress follows them.
class CThreeSteps : public CWorkflowEngine {
  public:
    bool Step() override {
        static const char* const kNames[] = {"one", "two", "three"};
        SetStatusText(kNames[m_done]);
        SetProgress(++m_done * 100 / 3);
        if (m_done < 3) return true;
        Finish(WorkflowResult::Done);
        return false;
    }

  private:
    int m_done = 0;
};

std::string Drive(bool terminal) {
    std::ostringstream err;
    cli::CProgressPrinter progress(err, terminal);
    CThreeSteps engine;
    while (engine.Step()) progress.Show(engine);
    progress.Show(engine);
    progress.End();
    return err.str();
}

}  // namespace

TEST(ProgressPrinter, AwayFromATerminalEachStepHasALineWithoutCarriageReturns) {
    const std::string piped = Drive(false);
    EXPECT_EQ(piped, "one (33%)\ntwo (66%)\nthree (100%)\n");
    EXPECT_EQ(piped.find('\r'), std::string::npos);
}

TEST(ProgressPrinter, OnATerminalOneLineIsRewrittenAndClosedAtTheEnd) {
    const std::string shown = Drive(true);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\r'), 3);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1);
    EXPECT_EQ(shown.back(), '\n');
    EXPECT_NE(shown.find("three"), std::string::npos);
}

TEST(ProgressPrinter, StringStreamsAreNotTerminals) {
    std::ostringstream text;
    EXPECT_FALSE(cli::IsTerminal(text));
}
