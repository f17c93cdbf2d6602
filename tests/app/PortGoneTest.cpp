// A serial port that goes away in mid-exchange: the user is told which port and
// why, and the transmitter is disconnected.
#include <gtest/gtest.h>

#include <cerrno>

#include "app/CConnectEngine.h"
#include "app/CReceiveEngine.h"
#include "link/CPortGoneException.h"
#include "platform/SystemError.h"
#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

namespace {

constexpr unsigned kIdReceiveFailed = 395;

std::string PortGoneText(const std::string& port) {
    return "The serial port " + port + " is no longer there:\n\n" + SystemErrorText(EIO) +
           "\n\nThe transmitter has been disconnected. Check the adapter and its cable, then "
           "connect again.";
}

TEST(PortGone, ALineCutInMidReceiveDisconnectsTheTransmitterAndNamesThePort) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(1, "FT 101");
    bench.Start();
    CConnectEngine connect(bench.context);
    connect.ConnectTo(1);
    ASSERT_TRUE(bench.context.Connected());

    CReceiveEngine receive(bench.context);
    ASSERT_TRUE(receive.Start({}));
    ASSERT_TRUE(receive.Step());
    ASSERT_TRUE(receive.Step());
    const uint64_t requests = bench.line.RequestsSeen();
    bench.line.SetHangUpOnRequest(true);  // the adapter is pulled out
    ui.ExpectWithIcon(PortGoneText(bench.line.SlavePath()), MsgIcon::Stop);
    ui.Expect(LoadString(kIdReceiveFailed));
    EXPECT_EQ(receive.RunToEnd([](const CWorkflowEngine&) {}), WorkflowResult::Failed);
    ui.Verify();
    EXPECT_EQ(bench.line.RequestsSeen(), requests + 1);  // not retried into the void

    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNoTransmitter);
    EXPECT_FALSE(bench.context.Comm().Protocol().HasLink());
    // Connect stays available for when the adapter is back; the document keeps
    // the transmitter's address.
    EXPECT_TRUE(bench.doc.LinkAvailable());
    EXPECT_EQ(bench.doc.PollingAddress(), 1);
}

TEST(PortGone, AProbeOnALineThatHasGoneSaysSoInsteadOfNoAnswer) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Start();
    CConnectEngine connect(bench.context);
    EXPECT_EQ(connect.Probe(5), CConnectEngine::kNoAnswer);
    bench.line.SetHangUpOnRequest(true);
    EXPECT_THROW(connect.Probe(5), CPortGoneException);
    EXPECT_FALSE(bench.context.Comm().Protocol().HasLink());
}

}  // namespace
