#include "app/CSearchEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/CConnectEngine.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text;
}

}  // namespace

// One full pass over the 247 addresses: the only test that pays for every
// silent address.
TEST(CSearchEngine, FindsExactlyTheCorvelsInAddressOrderWithTheirTags) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(200, "LIC-200");
    bench.Add(5, "FT-5");
    bench.line.AddForeignDevice(9, 12, 34);
    SimTransmitterOptions options = CWorkflowTestBench::Options("PT-17");
    options.descriptor = "BOILER FEED";
    bench.Add(17, options);
    bench.Start();

    CSearchEngine search(bench.context);
    EXPECT_EQ(search.SavedAddress(), -1);
    EXPECT_EQ(search.ProgressMaximum(), 247);
    int steps = 0;
    EXPECT_EQ(search.RunToEnd([&](const CWorkflowEngine&) { ++steps; }), WorkflowResult::Done);
    EXPECT_EQ(steps, 247);
    EXPECT_EQ(search.Progress(), 247);
    EXPECT_EQ(search.StatusText(), LoadString(700) + ":  247");

    ASSERT_EQ(search.FoundAddresses(), (std::vector<int>{5, 17, 200}));
    ASSERT_EQ(search.FoundLines().size(), 3u);
    EXPECT_EQ(Trimmed(search.FoundTexts()[0].first), "FT-5");
    EXPECT_EQ(Trimmed(search.FoundTexts()[1].first), "PT-17");
    EXPECT_EQ(Trimmed(search.FoundTexts()[1].second), "BOILER FEED");
    EXPECT_EQ(Trimmed(search.FoundTexts()[2].first), "LIC-200");
    EXPECT_EQ(search.FoundLines()[1],
              "\t17\t" + search.FoundTexts()[1].first + "\t" + search.FoundTexts()[1].second);
    // Nothing was connected before, so nothing is afterwards.
    EXPECT_FALSE(bench.context.Connected());
}

TEST(CSearchEngine, CancelAtAddress10ReconnectsTheTransmitterConnectedBefore) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(3, "SAVED");
    bench.Add(7, "OTHER");
    bench.Start();
    CConnectEngine connect(bench.context);
    connect.ConnectTo(3);
    bench.doc.SetPollingAddress(99);

    CSearchEngine search(bench.context);
    EXPECT_EQ(search.SavedAddress(), 3);
    while (search.NextAddress() <= 10) ASSERT_TRUE(search.Step());
    EXPECT_EQ(search.StatusText(), LoadString(700) + ":  10");
    search.RequestCancel();
    EXPECT_FALSE(search.Step());

    EXPECT_EQ(search.Result(), WorkflowResult::Cancelled);
    EXPECT_EQ(search.FoundAddresses(), (std::vector<int>{3, 7}));
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 3);
    EXPECT_EQ(Trimmed(bench.context.Comm().CurrentTag()), "SAVED");
    EXPECT_EQ(bench.doc.PollingAddress(), 3);
    // No further address was probed after the cancel.
    EXPECT_FALSE(search.Step());
    EXPECT_EQ(search.NextAddress(), 11);
}

TEST(CSearchEngine, SavedTransmitterThatNoLongerAnswersIsReported) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(2, "GONE");
    bench.Start();
    CConnectEngine connect(bench.context);
    connect.ConnectTo(2);

    CSearchEngine search(bench.context);
    ASSERT_TRUE(search.Step());
    ASSERT_TRUE(search.Step());
    bench.line.SetNoReply(true);
    search.RequestCancel();
    ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kNoResponse)), MsgIcon::Stop);
    EXPECT_FALSE(search.Step());
    EXPECT_EQ(search.Result(), WorkflowResult::Cancelled);
    EXPECT_FALSE(bench.context.Connected());
}

TEST(CSearchEngine, SearchKeepsTheLevelLoggedInToTheTransmitterConnectedBefore) {
    CScriptedUi ui;
    CWorkflowTestBench bench;
    bench.Add(3, "SAVED");
    bench.Add(5, "OTHER");
    bench.Start();
    // Security on, with an administrative password.
    CSecurity builder(7);
    CSecurity::Image image{};
    image[0] = builder.BuildStateSlot(true);
    image[1] = CSecurity::MaskPassword("ADMIN");
    bench.context.Comm().SetLegacyTransport([image](int command,
                                                    const std::vector<uint8_t>& request,
                                                    std::vector<uint8_t>& reply) -> int32_t {
        if (command == 163) {
            const auto& slot = image.at(request.at(0));
            std::copy(slot.begin(), slot.end(), reply.begin() + 3);
        }
        return 0;
    });
    CConnectEngine connect(bench.context);
    connect.ConnectTo(3);
    ASSERT_EQ(bench.security.LogIn(bench.context.Access(), "ADMIN"), app::kAccessHigh);

    // The status bar asks for the access state whenever the window repaints,
    // also while the search has dropped the transmitter and waits for the
    // reply to a selection (slowed down so that the wait is seen).
    bench.line.SetReplyDelayMs(30);
    std::vector<int> seen;
    ui.SetPumpHook([&] { seen.push_back(bench.context.AccessState()); });
    CSearchEngine search(bench.context);
    while (search.NextAddress() <= 6) ASSERT_TRUE(search.Step());
    search.RequestCancel();
    EXPECT_FALSE(search.Step());
    ui.SetPumpHook({});
    ASSERT_NE(std::find(seen.begin(), seen.end(), app::kAccessNoTransmitter), seen.end());

    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 3);
    EXPECT_EQ(bench.context.AccessState(), app::kAccessHigh);

    // Another transmitter connected is not logged in to.
    connect.DropDevice();
    connect.ConnectTo(5);
    EXPECT_EQ(bench.context.AccessState(), app::kAccessLow);
}
