// The link's give-up wait under the terminal program's user-interface services,
// with the settings the window program is tested with too.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "cli/CConsoleUi.h"
#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "tests/support/CSlowLinkBench.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class TerminalGiveUpWait : public testing::Test {
  protected:
    std::ostringstream m_err;
    CConsoleUi m_ui{m_err};
    CScopedUi m_scope{m_ui};
    CSlowLinkBench m_bench;
};

TEST_F(TerminalGiveUpWait, AWriteWithALongExtraCommandTimeSucceedsOnce) {
    ASSERT_TRUE(m_bench.Opened());
    EXPECT_EQ(m_bench.Write(), 0);
    EXPECT_EQ(m_bench.Protocol().ExchangeCount(), 1u);
}

TEST_F(TerminalGiveUpWait, AStalledReadIsGivenUpAfterItsLongestWait) {
    ASSERT_TRUE(m_bench.Opened());
    const auto start = Clock::now();
    EXPECT_EQ(m_bench.StalledRead(), commerr::kNoResponse);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(CCommLink::kWorkerMarginMs));
    EXPECT_LT(took, milliseconds(CCommLink::kWorkerWaitMs));
}

}  // namespace
