#include "app/CAddressChangeEngine.h"

#include <gtest/gtest.h>

#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScratchChangeLog.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

namespace {

WorkflowResult Change(WorkflowContext& context, int from, int to) {
    CAddressChangeEngine change(context, from, to);
    return change.RunToEnd([](const CWorkflowEngine&) {});
}

}  // namespace

TEST(CAddressChangeEngine, SameAddressesAreRefusedBeforeAnyExchange) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(3, "XMTR3");
    bench.Start();
    ui.ExpectWithIcon(LoadString(720), MsgIcon::Exclamation);
    EXPECT_EQ(Change(bench.context, 3, 3), WorkflowResult::Failed);
    EXPECT_EQ(bench.line.RequestsSeen(), 0u);
}

TEST(CAddressChangeEngine, AddressesOutsideTheRangeAreRefusedBeforeAnyExchange) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Start();
    ui.Expect("Please enter an integer between 1 and 247.");
    EXPECT_EQ(Change(bench.context, 0, 5), WorkflowResult::Failed);
    ui.Expect("Please enter an integer between 1 and 247.");
    EXPECT_EQ(Change(bench.context, 5, 248), WorkflowResult::Failed);
    EXPECT_EQ(bench.line.RequestsSeen(), 0u);
}

TEST(CAddressChangeEngine, NoCorvelAtTheOldAddressIsRefused) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.line.AddForeignDevice(4, 1, 2);
    bench.Start();
    ui.Expect(LoadString(723));
    EXPECT_EQ(Change(bench.context, 4, 5), WorkflowResult::Failed);
    ui.Expect(LoadString(723));
    EXPECT_EQ(Change(bench.context, 6, 5), WorkflowResult::Failed);
}

TEST(CAddressChangeEngine, AnyDeviceAtTheNewAddressIsRefusedAndNothingMoves) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    CSimTransmitter& moving = bench.Add(3, "XMTR3");
    bench.line.AddForeignDevice(9, 1, 2);
    bench.Add(10, "XMTR10");
    bench.Start();
    ui.Expect(LoadString(724));
    EXPECT_EQ(Change(bench.context, 3, 9), WorkflowResult::Failed);
    ui.Expect(LoadString(724));
    EXPECT_EQ(Change(bench.context, 3, 10), WorkflowResult::Failed);
    EXPECT_EQ(moving.Address(), 3);
    EXPECT_EQ(bench.line.TransmitterAt(3), &moving);
}

TEST(CAddressChangeEngine, TransmitterMovesAndIsConnectedAtTheNewAddress) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    CSimTransmitter& moving = bench.Add(3, "XMTR3");
    bench.Start();
    EXPECT_EQ(Change(bench.context, 3, 12), WorkflowResult::Done);
    EXPECT_EQ(moving.Address(), 12);
    EXPECT_EQ(bench.line.TransmitterAt(3), nullptr);
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 12);
    EXPECT_EQ(bench.doc.PollingAddress(), 12);
}

TEST(CAddressChangeEngine, CancelBeforeTheAddressWriteKeepsTheTransmitterWhereItIs) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    CSimTransmitter& moving = bench.Add(3, "XMTR3");
    bench.Start();
    CAddressChangeEngine change(bench.context, 3, 12);
    ASSERT_TRUE(change.Step());  // the addresses
    ASSERT_TRUE(change.Step());  // a Corvel at 3
    // The cancel arrives while the probe of the new address waits for silence.
    ui.SetPumpHook([&] { change.RequestCancel(); });
    ASSERT_TRUE(change.Step());
    ui.SetPumpHook({});
    EXPECT_FALSE(change.Step());
    EXPECT_EQ(change.Result(), WorkflowResult::Cancelled);
    EXPECT_FALSE(change.AddressWritten());
    EXPECT_EQ(moving.Address(), 3);

    // Again, the cancel arriving while the old address is being selected for the
    // write (the reply slowed down so that the selection waits).
    CAddressChangeEngine again(bench.context, 3, 12);
    ASSERT_TRUE(again.Step());
    ASSERT_TRUE(again.Step());
    ASSERT_TRUE(again.Step());
    bench.line.SetReplyDelayMs(30);
    ui.SetPumpHook([&] { again.RequestCancel(); });
    EXPECT_FALSE(again.Step());
    ui.SetPumpHook({});
    EXPECT_EQ(again.Result(), WorkflowResult::Cancelled);
    EXPECT_FALSE(again.AddressWritten());
    EXPECT_EQ(moving.Address(), 3);
    EXPECT_EQ(bench.line.TransmitterAt(3), &moving);
    EXPECT_FALSE(bench.context.Connected());
}

TEST(CAddressChangeEngine, CancelAfterTheAddressWriteCompletesTheMove) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    CSimTransmitter& moving = bench.Add(3, "XMTR3");
    bench.Start();
    CAddressChangeEngine change(bench.context, 3, 12);
    bool cancelled = false;
    change.SetCancelSource([&] { return cancelled; });
    ASSERT_TRUE(change.Step());
    ASSERT_TRUE(change.Step());
    ASSERT_TRUE(change.Step());
    ui.SetPumpHook([&] { cancelled = change.AddressWritten(); });
    ASSERT_TRUE(change.Step());
    ui.SetPumpHook({});
    ASSERT_TRUE(cancelled);
    EXPECT_FALSE(change.Step());
    EXPECT_EQ(change.Result(), WorkflowResult::Done);
    EXPECT_EQ(moving.Address(), 12);
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 12);
}

TEST(CAddressChangeEngine, TheAddressWriteIsLoggedOnceAndARefusalNotAtAll) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(3, "XMTR3");
    bench.Add(10, "XMTR10");
    bench.Start();
    CScratchChangeLog log;
    ui.Expect(LoadString(724));
    EXPECT_EQ(Change(bench.context, 3, 10), WorkflowResult::Failed);
    EXPECT_TRUE(log.Records().empty());

    EXPECT_EQ(Change(bench.context, 3, 12), WorkflowResult::Done);
    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].field, "polling address");
    EXPECT_EQ(records[0].oldValue, "3");
    EXPECT_EQ(records[0].newValue, "12");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kDone);
    EXPECT_EQ(records[0].address, 3) << "the record names the address that was written to";
    EXPECT_EQ(records[0].port, bench.line.SlavePath());
}
