#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/CConnectEngine.h"
#include "app/CReceiveEngine.h"
#include "app/CSendEngine.h"
#include "flow/CLiquidFlow.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScratchChangeLog.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint8_t kSourceAddress = 1;
constexpr uint8_t kTargetAddress = 2;

// A transmitter configured unlike the defaults in every area that is sent.
SimTransmitterOptions SourceOptions() {
    SimTransmitterOptions o = CWorkflowTestBench::Options("FT 101");
    o.descriptor = "STEAM TO UNIT 4";
    o.message = "CALIBRATED 2026";
    o.unitsCodes = {2, 3, 20};  // device units codes other than the defaults
    o.floatFormat = 2;
    o.damping = {1.5, 2.0, 0.5};
    o.lowerOperatingLimits = {-100.0, 10.0, -20.0};
    o.upperOperatingLimits = {100.0, 500.0, 150.0};
    o.deviceInfoCodes = {3, 12, 3, 11, 2, 2, 2, 1};
    o.day = 14;
    o.month = 6;
    o.year = 2025;
    return o;
}

// Records the progress and status shown after each step.
struct StepLog {
    std::vector<int> progress;
    std::vector<std::string> status;
    void operator()(const CWorkflowEngine& engine) {
        progress.push_back(engine.Progress());
        status.push_back(engine.StatusText());
    }
};

class CSendReceiveEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        source = &bench.Add(kSourceAddress, SourceOptions());
        // Integer scaling by endpoints and an LCD that shows two items slowly.
        source->SetHoldingRegister(203, 1);
        source->SetHoldingRegister(187, 100);
        source->SetHoldingRegister(188, 60000);
        source->SetHoldingRegister(192, 30000);
        source->SetFloat(468, -50.0f);
        source->SetFloat(470, 50.0f);
        source->SetHoldingRegister(125, 7);
        source->SetHoldingRegister(127, 5);
        target = &bench.Add(kTargetAddress, "TARGET");
        bench.Start();
    }

    void ConnectTo(int address) {
        CConnectEngine connect(bench.context);
        connect.DropDevice();
        connect.ConnectTo(address);
    }

    WorkflowResult Receive(StepLog* log = nullptr) {
        CReceiveEngine receive(bench.context);
        if (!receive.Start({})) return receive.Result();
        StepLog local;
        return receive.RunToEnd(log ? *log : local);
    }

    WorkflowResult Send(StepLog* log = nullptr) {
        CSendEngine send(bench.context);
        send.StartConfirmed();
        StepLog local;
        return send.RunToEnd(log ? *log : local);
    }

    CWorkflowTestBench bench;
    CSimTransmitter* source = nullptr;
    CSimTransmitter* target = nullptr;
};

}  // namespace

TEST_F(CSendReceiveEngine, ReceiveSaveSendReceiveReproducesTheFile) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    StepLog receiveLog;
    ASSERT_EQ(Receive(&receiveLog), WorkflowResult::Done);
    EXPECT_EQ(receiveLog.progress, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(receiveLog.status.back(), LoadString(405));
    EXPECT_TRUE(bench.doc.IsModified());
    EXPECT_EQ(ui.Beeps(), 1);
    const std::vector<uint8_t> first = bench.doc.Store();

    const std::string path = ::testing::TempDir() + "send_receive_first.cmm";
    bench.doc.Save(path);
    bench.doc.New();
    bench.doc.Open(path);
    std::remove(path.c_str());

    ConnectTo(kTargetAddress);
    StepLog sendLog;
    ASSERT_EQ(Send(&sendLog), WorkflowResult::Done);
    EXPECT_EQ(sendLog.progress, (std::vector<int>{16, 33, 50, 66, 83, 100}));
    EXPECT_EQ(sendLog.status[1], "Common sensor & DP parameters...");
    EXPECT_EQ(sendLog.status.back(), LoadString(405));
    EXPECT_EQ(target->Tag().substr(0, 6), "FT 101");
    EXPECT_EQ(target->FloatFormat(), 2);
    EXPECT_EQ(target->UnitsCode(SimVariable::kSp), 3);
    EXPECT_DOUBLE_EQ(target->Damping(SimVariable::kSp), 2.0);
    EXPECT_EQ(target->IntegerScalingMethod(), 1);
    EXPECT_EQ(target->HoldingRegister(188), 60000);
    EXPECT_EQ(target->HoldingRegister(127), 5);
    // The tag was read back into the tag table.
    EXPECT_EQ(bench.context.Comm().CurrentTag().substr(0, 6), "FT 101");

    ASSERT_EQ(Receive(), WorkflowResult::Done);
    const std::vector<uint8_t> second = bench.doc.Store();
    // Nothing in the file depends on which of the two transmitters it came from:
    // the words of input registers 128 and 129 are the same in both simulators.
    EXPECT_EQ(first, second);
}

TEST_F(CSendReceiveEngine, ReceivedDocumentIsNamedAfterTheTag) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    CReceiveEngine receive(bench.context);
    ASSERT_TRUE(receive.Start({}));
    EXPECT_EQ(receive.RunToEnd([](const CWorkflowEngine&) {}), WorkflowResult::Done);
    EXPECT_EQ(receive.DocumentName(), "FT.CMM");
}

TEST_F(CSendReceiveEngine, DeviceWithoutDataFormatsSendsAndReceivesWithZeroStored) {
    CScriptedUi ui;
    SimTransmitterOptions plain = CWorkflowTestBench::Options("PLAIN");
    plain.floatFormatSupported = false;
    plain.integerScalingSupported = false;
    CSimTransmitter& old = bench.Add(9, plain);

    ConnectTo(9);
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    EXPECT_EQ(bench.doc.Transmitter().FloatFormat(), 0);
    EXPECT_EQ(bench.doc.Transmitter().IntegerScalingMethod(), 0);

    // A configuration that asks for both is still sent; the rest arrives.
    bench.doc.Transmitter().SetFloatFormat(2);
    bench.doc.Transmitter().SetIntegerScalingMethod(1);
    bench.doc.Transmitter().DeviceInfo().SetTag("NEWTAG");
    ASSERT_EQ(Send(), WorkflowResult::Done);
    EXPECT_EQ(old.Tag().substr(0, 6), "NEWTAG");
    EXPECT_EQ(old.FloatFormat(), 0);
}

TEST_F(CSendReceiveEngine, WriteRejectedMidSendFailsAndLeavesEarlierStepsWritten) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    ConnectTo(kTargetAddress);
    // SP damping (holding registers 446 and 447) is refused with "illegal value".
    bench.line.SetExceptionRange(446, 447, 3);
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kIllegalValue)), MsgIcon::Stop);
    const WorkflowResult result = Send();
    EXPECT_EQ(result, WorkflowResult::Failed);
    ui.Verify();
    EXPECT_EQ(CSendEngine::OutcomeTextId(result), 393u);
    ui.Expect(LoadString(393));
    CSendEngine::ReportOutcome(result);

    EXPECT_EQ(target->FloatFormat(), 2);                       // step 1
    EXPECT_DOUBLE_EQ(target->Damping(SimVariable::kDp), 1.5);  // step 2
    EXPECT_EQ(target->UnitsCode(SimVariable::kSp),
              3);  // step 3 before the refusal
    EXPECT_DOUBLE_EQ(target->Damping(SimVariable::kPt),
                     0.896);                          // step 4 never ran
    EXPECT_EQ(target->Tag().substr(0, 6), "TARGET");  // step 5 never ran
}

TEST_F(CSendReceiveEngine, CancelledSendStopsBeforeTheNextStep) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    ConnectTo(kTargetAddress);
    CSendEngine send(bench.context);
    send.StartConfirmed();
    ASSERT_TRUE(send.Step());
    ASSERT_TRUE(send.Step());
    send.RequestCancel();
    EXPECT_FALSE(send.Step());
    EXPECT_EQ(send.Result(), WorkflowResult::Cancelled);
    EXPECT_EQ(send.NextStep(), 3);
    EXPECT_DOUBLE_EQ(target->Damping(SimVariable::kDp), 1.5);
    EXPECT_DOUBLE_EQ(target->Damping(SimVariable::kSp), 0.896);
    ui.Expect(LoadString(394));
    CSendEngine::ReportOutcome(send.Result());
}

TEST_F(CSendReceiveEngine, RefusedSafetyPromptSendsNothing) {
    CScriptedUi ui;
    ConnectTo(kTargetAddress);
    const uint64_t before = bench.line.RequestsSeen();
    CSendEngine send(bench.context);
    ui.ExpectWithIcon(LoadString(390), MsgIcon::Exclamation, MsgAnswer::Cancel);
    EXPECT_FALSE(send.Start());
    EXPECT_FALSE(send.Step());
    EXPECT_EQ(send.Result(), WorkflowResult::NotStarted);
    EXPECT_EQ(CSendEngine::OutcomeTextId(send.Result()), 0u);
    EXPECT_EQ(bench.line.RequestsSeen(), before);
}

TEST_F(CSendReceiveEngine, ModifiedDocumentIsOfferedForSavingFirst) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    bench.doc.Transmitter().DeviceInfo().SetTag("KEEPME");
    bench.doc.SetModified(true);

    CReceiveEngine refused(bench.context);
    int asked = 0;
    EXPECT_FALSE(refused.Start([&] {
        ++asked;
        return false;
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(refused.Result(), WorkflowResult::NotStarted);
    EXPECT_EQ(bench.doc.Transmitter().DeviceInfo().Tag(), "KEEPME");

    CReceiveEngine accepted(bench.context);
    EXPECT_TRUE(accepted.Start([&] {
        ++asked;
        return true;
    }));
    EXPECT_EQ(asked, 2);
    // The model was reset before the first read.
    EXPECT_EQ(bench.doc.Transmitter().DeviceInfo().Tag(), "");
}

TEST_F(CSendReceiveEngine, CancelledOrFailedReceiveSaysTheDocumentIsUndetermined) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    {
        CReceiveEngine receive(bench.context);
        ASSERT_TRUE(receive.Start({}));
        ASSERT_TRUE(receive.Step());
        receive.RequestCancel();
        ui.Expect(LoadString(396));
        EXPECT_FALSE(receive.Step());
        EXPECT_EQ(receive.Result(), WorkflowResult::Cancelled);
        ui.Verify();
    }
    {
        CReceiveEngine receive(bench.context);
        ASSERT_TRUE(receive.Start({}));
        bench.line.SetNoReply(true);
        ui.Expect(LoadString(CommErrorMessageId(commerr::kNoResponse)));
        ui.Expect(LoadString(395));
        EXPECT_FALSE(receive.Step());
        EXPECT_EQ(receive.Result(), WorkflowResult::Failed);
    }
}

TEST_F(CSendReceiveEngine, ReceiveThatDoesNotCompleteLeavesTheDocumentUntitledAndModified) {
    CScriptedUi ui;
    const std::string path = ::testing::TempDir() + "receive_incomplete.cmm";
    bench.doc.Transmitter().DeviceInfo().SetTag("ONFILE");
    bench.doc.Save(path);
    ConnectTo(kSourceAddress);
    for (const bool cancel : {true, false}) {
        bench.doc.Open(path);
        ASSERT_FALSE(bench.doc.IsModified());
        CReceiveEngine receive(bench.context);
        ASSERT_TRUE(receive.Start({}));
        ASSERT_TRUE(receive.Step());
        if (cancel) {
            receive.RequestCancel();
            ui.Expect(LoadString(396));
        } else {
            bench.line.SetNoReply(true);
            ui.Expect(LoadString(CommErrorMessageId(commerr::kNoResponse)));
            ui.Expect(LoadString(395));
        }
        EXPECT_FALSE(receive.Step());
        ui.Verify();
        bench.line.SetNoReply(false);
        EXPECT_NE(receive.Result(), WorkflowResult::Done);
        EXPECT_TRUE(bench.doc.PathName().empty()) << "cancel " << cancel;
        EXPECT_EQ(bench.doc.Title(), "Untitled");
        EXPECT_TRUE(bench.doc.IsModified());
        // Saving it over the file it was opened from now needs a question.
        EXPECT_TRUE(bench.doc.ReplacesAnotherFile(path));
    }
    std::remove(path.c_str());
}

TEST_F(CSendReceiveEngine, ReceiveKeepsTheKindOfFlowConfigurationOrNone) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    bench.doc.Transmitter().RemoveFlow();
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    EXPECT_FALSE(bench.doc.Transmitter().HasFlow());
    // Without a flow configuration the connected transmitter is Non-EMS.
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNonEms);

    bench.doc.Transmitter().SetFlow(std::make_unique<CLiquidFlow>());
    bench.doc.Transmitter().Flow()->SetFluidName("BRINE");
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    ASSERT_TRUE(bench.doc.Transmitter().HasFlow());
    EXPECT_TRUE(bench.doc.Transmitter().Flow()->IsLiquid());
    EXPECT_EQ(bench.doc.Transmitter().Flow()->FluidName(), "WATER");
    EXPECT_DOUBLE_EQ(bench.doc.Transmitter().Flow()->MolecularWeight().Get(), 18.015);
}

TEST_F(CSendReceiveEngine, SendLogsEveryWrittenFieldWithTheTransmittersOldValue) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    ConnectTo(kTargetAddress);
    CScratchChangeLog log;
    ASSERT_EQ(Send(), WorkflowResult::Done);

    const std::vector<ChangeRecord> records = log.Records();
    // Three words, three fields of each variable, five of the device
    // information and the two of the LCD.
    ASSERT_EQ(records.size(), 3u + 9u + 5u + 2u);
    auto find = [&records](const std::string& field) -> const ChangeRecord& {
        for (const ChangeRecord& r : records) {
            if (r.field == field) return r;
        }
        ADD_FAILURE() << "no record of " << field;
        return records.front();
    };
    for (const ChangeRecord& r : records) {
        EXPECT_EQ(r.area, "Send Configuration");
        EXPECT_EQ(r.outcome, ChangeRecord::kDone) << r.field;
        EXPECT_EQ(r.address, kTargetAddress);
    }
    EXPECT_EQ(find("DP damping").oldValue, "0.896 seconds");
    EXPECT_EQ(find("DP damping").newValue, "1.5 seconds");
    EXPECT_EQ(find("float format").oldValue, "0");
    EXPECT_EQ(find("float format").newValue, "2");
    EXPECT_EQ(find("tag").oldValue.substr(0, 6), "TARGET");
    EXPECT_EQ(find("tag").newValue.substr(0, 6), "FT 101");
    EXPECT_EQ(find("message").newValue.substr(0, 15), "CALIBRATED 2026");
    EXPECT_EQ(find("date").newValue, "14/JUN/25");
    EXPECT_EQ(find("PT operating limits").newValue.substr(0, 10), "-20 to 150");
}

TEST_F(CSendReceiveEngine, ARefusedSendStepIsLoggedAsRejectedAndLaterStepsNotAtAll) {
    CScriptedUi ui;
    ConnectTo(kSourceAddress);
    ASSERT_EQ(Receive(), WorkflowResult::Done);
    ConnectTo(kTargetAddress);
    bench.line.SetExceptionRange(446, 447, 3);
    CScratchChangeLog log;
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kIllegalValue)), MsgIcon::Stop);
    ASSERT_EQ(Send(), WorkflowResult::Failed);

    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 3u + 3u + 3u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(records[i].outcome, ChangeRecord::kDone);
    for (size_t i = 6; i < 9; ++i) {
        EXPECT_EQ(records[i].field.substr(0, 3), "SP ");
        EXPECT_EQ(records[i].outcome, ChangeRecord::kRejected);
        EXPECT_EQ(records[i].error, LoadString(CommErrorMessageId(commerr::kIllegalValue)));
    }
}
