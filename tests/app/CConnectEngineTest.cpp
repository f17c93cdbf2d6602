#include "app/CConnectEngine.h"

#include <gtest/gtest.h>

#include "app/CStartupConnect.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

namespace {

// Serves a security image with security on and these passwords through the
// password-entry requests.
void InstallSecuredImage(CComm& comm, const std::string& admin, const std::string& medium) {
    CSecurity builder(99);
    CSecurity::Image image{};
    image[0] = builder.BuildStateSlot(true);
    image[1] = CSecurity::MaskPassword(admin);
    for (size_t i = 2; i < 8; ++i) image[i] = CSecurity::MaskPassword(medium);
    comm.SetLegacyTransport([image](int command, const std::vector<uint8_t>& request,
                                    std::vector<uint8_t>& reply) -> int32_t {
        if (command == 163) {
            const auto& slot = image.at(request.at(0));
            std::copy(slot.begin(), slot.end(), reply.begin() + 3);
        }
        return 0;
    });
}

}  // namespace

TEST(CConnectEngine, ConnectedTransmitterWithInertSecurityShowsDisabledOrNonEms) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(4, "FT-4");
    bench.Start();
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNoTransmitter);

    CConnectEngine connect(bench.context);
    EXPECT_EQ(connect.Probe(4), CConnectEngine::kCorvel);
    EXPECT_EQ(connect.Probe(5), CConnectEngine::kNoAnswer);
    connect.ConnectTo(4);
    EXPECT_EQ(bench.doc.PollingAddress(), 4);
    EXPECT_EQ(bench.context.Comm().CurrentTag().substr(0, 4), "FT-4");
    EXPECT_EQ(connect.LogInAfterConnect(), app::kAccessDisabled);
    bench.doc.Transmitter().RemoveFlow();
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNonEms);

    connect.Disconnect();
    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNoTransmitter);
    EXPECT_EQ(bench.doc.PollingAddress(), 4);
    // A later connection opens the link again.
    connect.ConnectTo(4);
    EXPECT_TRUE(bench.context.Connected());
}

TEST(CConnectEngine, ForeignDeviceIsNotConnected) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.line.AddForeignDevice(6, 1, 2);
    bench.Start();
    CConnectEngine connect(bench.context);
    EXPECT_EQ(connect.Probe(6), CConnectEngine::kOtherDevice);
    EXPECT_THROW(connect.ConnectTo(6), CCommException);
    EXPECT_FALSE(bench.context.Connected());
}

TEST(CConnectEngine, SecuredTransmitterAsksForThePassword) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(1, "SECURE");
    bench.Start();
    InstallSecuredImage(bench.context.Comm(), "ADMIN", "FLOW");
    CConnectEngine connect(bench.context);
    connect.ConnectTo(1);
    ASSERT_TRUE(bench.security.Enabled());

    ui.ExpectPassword("WRONG").ExpectWithIcon(LoadString(3101), MsgIcon::Stop);
    EXPECT_EQ(connect.LogInAfterConnect(), app::kAccessLow);
    ui.ExpectPassword(std::nullopt);
    EXPECT_EQ(connect.LogInAfterConnect(), app::kAccessLow);
    ui.ExpectPassword("FLOW");
    EXPECT_EQ(connect.LogInAfterConnect(), app::kAccessMedium);
    ui.ExpectPassword("ADMIN");
    EXPECT_EQ(connect.LogInAfterConnect(), app::kAccessHigh);
}

TEST(CStartupConnect, SilentLineShowsTheRetryPromptAndCancelGoesOffline) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Start();
    bench.doc.SetPollingAddress(7);
    std::vector<std::string> prompts;
    int windowsClosed = 0;
    CStartupConnect startup(bench.context, {[&](const std::string& text) {
                                                prompts.push_back(text);
                                                return RetryAnswer::Cancel;
                                            },
                                            {},
                                            [&] { ++windowsClosed; }});
    EXPECT_FALSE(startup.Run());
    EXPECT_EQ(prompts, std::vector<std::string>{LoadString(2101)});
    EXPECT_EQ(bench.doc.PollingAddress(), -1);
    EXPECT_TRUE(bench.doc.LinkAvailable());
    EXPECT_GE(windowsClosed, 1);
}

TEST(CStartupConnect, ForeignDeviceAtAddress1GetsItsOwnMessage) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.line.AddForeignDevice(1, 1, 2);
    bench.Start();
    std::vector<std::string> prompts;
    CStartupConnect startup(bench.context, {[&](const std::string& text) {
                                                prompts.push_back(text);
                                                return RetryAnswer::Cancel;
                                            },
                                            {},
                                            {}});
    EXPECT_FALSE(startup.Run());
    EXPECT_EQ(prompts, std::vector<std::string>{LoadString(2100)});
    EXPECT_FALSE(bench.context.Connected());
}

TEST(CStartupConnect, RetryConnectsOnceTheTransmitterAnswers) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Start();
    std::vector<std::string> prompts;
    CStartupConnect startup(bench.context, {[&](const std::string& text) {
                                                prompts.push_back(text);
                                                if (prompts.size() > 1) return RetryAnswer::Cancel;
                                                bench.Add(1, "FIRST");
                                                return RetryAnswer::RetryAddress1;
                                            },
                                            {},
                                            {}});
    EXPECT_TRUE(startup.Run());
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(bench.doc.PollingAddress(), 1);
    EXPECT_EQ(bench.context.AccessState(), app::kAccessDisabled);
}

TEST(CStartupConnect, ConnectDialogThatConnectsEndsTheLoop) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(8, "EIGHT");
    bench.Start();
    int dialogs = 0;
    CStartupConnect startup(bench.context,
                            {[](const std::string&) { return RetryAnswer::ConnectDialog; },
                             [&] {
                                 ++dialogs;
                                 CConnectEngine(bench.context).ConnectTo(8);
                                 return true;
                             },
                             {}});
    EXPECT_TRUE(startup.Run());
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 8);
}

TEST(CConnectEngine, FailedTagOrSecurityReadUndoesTheSelection) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(4, "FT-4");
    bench.Start();
    CConnectEngine connect(bench.context);
    bench.doc.SetPollingAddress(9);

    // The tag (holding registers 31 to 34) is refused.
    bench.line.SetExceptionRange(31, 34, 3);
    EXPECT_THROW(connect.ConnectTo(4), CCommException);
    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNoTransmitter);
    EXPECT_EQ(bench.doc.PollingAddress(), 9);
    bench.line.ClearFaults();

    // The security records cannot be read.
    bench.context.Comm().SetLegacyTransport(
        [](int, const std::vector<uint8_t>&, std::vector<uint8_t>& reply) {
            reply[0] = 32;  // busy
            return 1;
        });
    EXPECT_THROW(connect.ConnectTo(4), CCommException);
    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(bench.doc.PollingAddress(), 9);

    bench.context.Comm().SetLegacyTransport({});
    connect.ConnectTo(4);
    EXPECT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.doc.PollingAddress(), 4);
}

TEST(CStartupConnect, CancelAfterAFailedTagReadLeavesTheProgramOffline) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(1, "FIRST");
    bench.Start();
    bench.line.SetExceptionRange(31, 34, 3);
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kIllegalValue)), MsgIcon::Stop);
    int prompts = 0;
    CStartupConnect startup(bench.context, {[&](const std::string&) {
                                                ++prompts;
                                                return RetryAnswer::Cancel;
                                            },
                                            {},
                                            {}});
    EXPECT_FALSE(startup.Run());
    EXPECT_EQ(prompts, 1);
    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(bench.context.AccessState(), app::kAccessNoTransmitter);
    EXPECT_EQ(bench.doc.PollingAddress(), -1);
}

TEST(CStartupConnect, PromptsShowTheNormalArrowOverTheStartupWaitCursor) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Start();
    InstallSecuredImage(bench.context.Comm(), "ADMIN", "FLOW");
    std::vector<bool> busyAtRetry;
    bool busyInDialog = true;
    bool busyInDialogTransaction = false;
    {
        // The application shows the wait cursor from its start-up window on.
        CWaitCursor startupWindow;
        CStartupConnect startup(bench.context,
                                {[&](const std::string&) {
                                     busyAtRetry.push_back(ui.CursorBusy());
                                     return busyAtRetry.size() == 1 ? RetryAnswer::ConnectDialog
                                                                    : RetryAnswer::RetryAddress1;
                                 },
                                 [&] {
                                     busyInDialog = ui.CursorBusy();
                                     {
                                         CWaitCursor transaction;  // the dialog's own transactions
                                         busyInDialogTransaction = ui.CursorBusy();
                                     }
                                     bench.Add(1, "SECURE");  // answers from now on
                                     return true;
                                 },
                                 {}});
        ui.ExpectPassword("ADMIN");
        EXPECT_TRUE(startup.Run());
        EXPECT_TRUE(ui.CursorBusy());
    }
    EXPECT_EQ(busyAtRetry, (std::vector<bool>{false}));
    EXPECT_FALSE(busyInDialog);
    EXPECT_TRUE(busyInDialogTransaction);
    EXPECT_EQ(ui.BusyAtPasswordPrompts(), (std::vector<bool>{false}));
    EXPECT_EQ(bench.context.AccessState(), app::kAccessHigh);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}
