// The link's give-up wait under the window program's user-interface services,
// with window events arriving all the time, and the settings the terminal
// program is tested with too.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

#include "app/ui/CQtUserInterface.h"
#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "tests/support/CSlowLinkBench.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class WindowGiveUpWait : public testing::Test {
  protected:
    void SetUp() override {
        // The program's idle timer: an event every 100 ms.
        m_idle.setInterval(100);
        m_idle.start();
    }

    CQtUserInterface m_ui;
    CScopedUi m_scope{m_ui};
    QTimer m_idle;
    CSlowLinkBench m_bench;
};

TEST_F(WindowGiveUpWait, AWriteWithALongExtraCommandTimeSucceedsOnce) {
    ASSERT_TRUE(m_bench.Opened());
    EXPECT_EQ(m_bench.Write(), 0);
    EXPECT_EQ(m_bench.Protocol().ExchangeCount(), 1u);
}

TEST_F(WindowGiveUpWait, AStalledReadIsGivenUpAfterItsLongestWaitWhateverEventsArrive) {
    ASSERT_TRUE(m_bench.Opened());
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        rescued = true;  // the wait would have gone on for ever
        m_bench.Unstall();
    });
    rescue.start(10000);
    const auto start = Clock::now();
    EXPECT_EQ(m_bench.StalledRead(), commerr::kNoResponse);
    const auto took = Clock::now() - start;
    rescue.stop();
    EXPECT_FALSE(rescued);
    EXPECT_GE(took, milliseconds(CCommLink::kWorkerMarginMs));
    EXPECT_LT(took, milliseconds(CCommLink::kWorkerWaitMs));
}

}  // namespace
