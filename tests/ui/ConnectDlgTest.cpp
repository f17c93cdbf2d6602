#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/CConnectDlg.h"
#include "dialogs/CSearchDlg.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

const std::string kRangeMessage = "Please enter an integer between 1 and 247.";

class ConnectDlgTest : public testing::Test {
  protected:
    QLineEdit* Edit(CConnectDlg& dlg, const char* name) { return FindChild<QLineEdit>(dlg, name); }
    void Click(CConnectDlg& dlg, const char* name) { FindChild<QPushButton>(dlg, name)->click(); }
    void ChangeAddress(CConnectDlg& dlg, const char* oldAddress, const char* newAddress) {
        FindChild<QRadioButton>(dlg, "modeChangeRadio")->click();
        Edit(dlg, "oldAddressEdit")->setText(QString::fromLatin1(oldAddress));
        Edit(dlg, "newAddressEdit")->setText(QString::fromLatin1(newAddress));
        Click(dlg, "okButton");
    }
    QTreeWidget* List(CConnectDlg& dlg) { return FindChild<QTreeWidget>(dlg, "transmitterList"); }

    CScriptedUi ui;
    CWorkflowDialogBench bench;
};

}  // namespace

TEST_F(ConnectDlgTest, OpensInAddressModeProposingTheConnectedAddressAndTheNextOne) {
    bench.Add(247, "LAST");
    bench.Start();
    {
        CConnectDlg dlg(bench.context, nullptr);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(texts::kConnectCaption));
        EXPECT_EQ(dlg.Mode(), CConnectDlg::kModeAddress);
        EXPECT_EQ(Edit(dlg, "addressEdit")->text(), QStringLiteral("1"));
        EXPECT_EQ(Edit(dlg, "oldAddressEdit")->text(), QStringLiteral("1"));
        EXPECT_EQ(Edit(dlg, "newAddressEdit")->text(), QStringLiteral("2"));
    }
    bench.ConnectTo(247);
    CConnectDlg dlg(bench.context, nullptr);
    EXPECT_EQ(Edit(dlg, "addressEdit")->text(), QStringLiteral("247"));
    EXPECT_EQ(Edit(dlg, "oldAddressEdit")->text(), QStringLiteral("247"));
    EXPECT_EQ(Edit(dlg, "newAddressEdit")->text(), QStringLiteral("1"));
    EXPECT_EQ(List(dlg)->topLevelItemCount(), 0);
    EXPECT_EQ(List(dlg)->headerItem()->text(0), QStringLiteral("Addr"));
    EXPECT_EQ(List(dlg)->headerItem()->text(2), QStringLiteral("Description"));
}

TEST_F(ConnectDlgTest, EachModeEnablesOnlyItsOwnControls) {
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    auto* address = Edit(dlg, "addressEdit");
    auto* oldAddress = Edit(dlg, "oldAddressEdit");
    auto* newAddress = Edit(dlg, "newAddressEdit");
    auto* search = FindChild<QPushButton>(dlg, "searchButton");
    auto* list = List(dlg);

    EXPECT_TRUE(address->isEnabled());
    EXPECT_FALSE(search->isEnabled() || list->isEnabled() || oldAddress->isEnabled());
    EXPECT_TRUE(address->hasSelectedText());

    FindChild<QRadioButton>(dlg, "modeOnlineRadio")->click();
    EXPECT_EQ(dlg.Mode(), CConnectDlg::kModeOnline);
    EXPECT_TRUE(search->isEnabled() && list->isEnabled());
    EXPECT_FALSE(address->isEnabled() || oldAddress->isEnabled() || newAddress->isEnabled());

    FindChild<QRadioButton>(dlg, "modeChangeRadio")->click();
    EXPECT_EQ(dlg.Mode(), CConnectDlg::kModeChangeAddress);
    EXPECT_TRUE(oldAddress->isEnabled() && newAddress->isEnabled());
    EXPECT_FALSE(address->isEnabled() || search->isEnabled() || list->isEnabled());
    EXPECT_TRUE(oldAddress->hasSelectedText());
}

TEST_F(ConnectDlgTest, AddressOutsideOneTo247IsRefusedBeforeAnyExchange) {
    bench.Add(1, "FIRST");
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    for (const char* text : {"0", "248", "12x", ""}) {
        Edit(dlg, "addressEdit")->setText(QString::fromLatin1(text));
        ui.ExpectWithIcon(kRangeMessage, MsgIcon::None);
        Click(dlg, "okButton");
        ui.Verify();
        EXPECT_EQ(dlg.result(), QDialog::Rejected) << text;
        EXPECT_TRUE(Edit(dlg, "addressEdit")->selectedText() == Edit(dlg, "addressEdit")->text());
    }
    // In change mode the new address is checked too.
    ui.Expect(kRangeMessage);
    ChangeAddress(dlg, "1", "300");
    ui.Verify();
    EXPECT_EQ(bench.line.RequestsSeen(), 0u);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ConnectDlgTest, AddressModeReportsSilenceAndForeignDevicesAndConnectsToACorvel) {
    bench.Add(5, "FT-5");
    bench.line.AddForeignDevice(9, 12, 34);
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();

    Edit(dlg, "addressEdit")->setText(QStringLiteral("6"));
    ui.Expect(LoadString(725));
    Click(dlg, "okButton");
    ui.Verify();
    EXPECT_TRUE(dlg.isVisible());

    Edit(dlg, "addressEdit")->setText(QStringLiteral("9"));
    ui.Expect(LoadString(2100));
    Click(dlg, "okButton");
    ui.Verify();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(bench.context.Connected());

    Edit(dlg, "addressEdit")->setText(QStringLiteral("5"));
    Click(dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 5);
    EXPECT_EQ(bench.doc.PollingAddress(), 5);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(ConnectDlgTest, ChangingAnAddressToItselfIsRefusedBeforeAnyExchange) {
    bench.Add(3, "FT-3");
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    ui.ExpectWithIcon(LoadString(720), MsgIcon::Exclamation);
    ChangeAddress(dlg, "3", "3");
    ui.Verify();
    EXPECT_EQ(bench.line.RequestsSeen(), 0u);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), Edit(dlg, "newAddressEdit"));
}

TEST_F(ConnectDlgTest, ChangeToAnOccupiedAddressIsRefusedAndNothingMoves) {
    bench.Add(3, "FT-3");
    bench.Add(4, "FT-4");
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    ui.Expect(LoadString(724));
    ChangeAddress(dlg, "3", "4");
    ui.Verify();
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_NE(bench.line.TransmitterAt(3), nullptr);
    EXPECT_EQ(bench.line.TransmitterAt(3)->Tag().substr(0, 4), "FT-3");
    EXPECT_EQ(bench.line.TransmitterAt(4)->Tag().substr(0, 4), "FT-4");

    // Nobody at the old address.
    ui.Expect(LoadString(723));
    ChangeAddress(dlg, "8", "9");
    ui.Verify();
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ConnectDlgTest, ChangeToAFreeAddressMovesTheTransmitterAndConnectsThere) {
    bench.Add(3, "FT-3");
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    ChangeAddress(dlg, "3", "12");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(bench.line.TransmitterAt(3), nullptr);
    ASSERT_NE(bench.line.TransmitterAt(12), nullptr);
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 12);
    EXPECT_EQ(bench.doc.PollingAddress(), 12);
}

TEST_F(ConnectDlgTest, CancelDuringTheNewAddressProbeKeepsTheTransmitterWhereItIs) {
    CSimTransmitter& moving = bench.Add(3, "FT-3");
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    // The old address answers at once; the new one is silent, and the user
    // cancels while its probe waits.
    const uint64_t before = bench.line.RequestsSeen();
    bool clicked = false;
    ui.SetPumpHook([&] {
        if (clicked || bench.line.RequestsSeen() < before + 2) return;
        clicked = true;
        Click(dlg, "cancelButton");
    });
    ChangeAddress(dlg, "3", "12");
    ui.SetPumpHook({});

    EXPECT_TRUE(clicked);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(moving.Address(), 3);
    EXPECT_EQ(bench.line.TransmitterAt(3), &moving);
    EXPECT_EQ(bench.line.TransmitterAt(12), nullptr);
}

TEST_F(ConnectDlgTest, OnlineModeNeedsASelectedTransmitter) {
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    FindChild<QRadioButton>(dlg, "modeOnlineRadio")->click();
    ui.Expect(LoadString(722));
    Click(dlg, "okButton");
    ui.Verify();
    EXPECT_TRUE(dlg.isVisible());
}

// A full search: every one of the 247 addresses is probed.
TEST_F(ConnectDlgTest, SearchListsTheTransmittersInProbingOrderAndConnectsToTheChosenOne) {
    bench.Add(200, "LIC-200");
    SimTransmitterOptions options = CWorkflowDialogBench::Options("FT-17");
    options.descriptor = "BOILER FEED";
    bench.Add(17, options);
    bench.line.AddForeignDevice(30, 12, 34);
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.SetSearchTickIntervalMs(0);
    dlg.show();
    FindChild<QRadioButton>(dlg, "modeOnlineRadio")->click();
    Click(dlg, "searchButton");

    QTreeWidget* list = List(dlg);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(dlg.FoundAddresses(), (std::vector<int>{17, 200}));
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("17"));
    EXPECT_EQ(list->topLevelItem(0)->text(1).trimmed(), QStringLiteral("FT-17"));
    EXPECT_EQ(list->topLevelItem(0)->text(2).trimmed(), QStringLiteral("BOILER FEED"));
    EXPECT_EQ(list->topLevelItem(1)->text(1).trimmed(), QStringLiteral("LIC-200"));
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    // Nothing was connected before the search, so nothing is now.
    EXPECT_FALSE(bench.context.Connected());

    list->setCurrentItem(list->topLevelItem(1));
    Click(dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 200);
}

TEST_F(ConnectDlgTest, SearchOverAnEmptyLineSaysNoTransmittersFound) {
    bench.Start();
    CConnectDlg dlg(bench.context, nullptr);
    dlg.SetSearchTickIntervalMs(0);
    dlg.show();
    FindChild<QRadioButton>(dlg, "modeOnlineRadio")->click();
    ui.Expect(texts::kNoTransmittersFound);
    Click(dlg, "searchButton");
    ui.Verify();
    EXPECT_EQ(List(dlg)->topLevelItemCount(), 0);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ConnectDlgTest, CancelledSearchReconnectsThePreviousTransmitterAndKeepsTheDialogOpen) {
    bench.Add(3, "SAVED");
    bench.Add(7, "OTHER");
    bench.Start();
    bench.ConnectTo(3);
    CConnectDlg dlg(bench.context, nullptr);
    dlg.SetSearchTickIntervalMs(0);
    dlg.show();
    FindChild<QRadioButton>(dlg, "modeOnlineRadio")->click();

    // The search window is pressed while address 10 (silent) is being probed.
    int lastProbed = 0;
    ui.SetPumpHook([&] {
        auto* search = qobject_cast<CSearchDlg*>(QApplication::activeModalWidget());
        if (search == nullptr || search->Search().NextAddress() != 10) return;
        lastProbed = 10;
        FindChild<QPushButton>(*search, "cancelButton")->click();
    });
    Click(dlg, "searchButton");
    ui.SetPumpHook({});

    EXPECT_EQ(lastProbed, 10);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(List(dlg)->topLevelItemCount(), 0);
    ASSERT_TRUE(bench.context.Connected());
    EXPECT_EQ(bench.context.Comm().CurrentPollingAddress(), 3);
    EXPECT_EQ(bench.doc.PollingAddress(), 3);
}

TEST_F(ConnectDlgTest, CancelDuringASlowProbeClosesTheDialogAsCancelledWithoutConnecting) {
    bench.Add(5, "SLOW");
    bench.SetReplyTimeoutMs(2000);
    bench.Start();
    bench.line.SetReplyDelayMs(300);
    CConnectDlg dlg(bench.context, nullptr);
    dlg.show();
    Edit(dlg, "addressEdit")->setText(QStringLiteral("5"));

    // The click arrives through the event queue while the probe waits.
    bool clicked = false;
    ui.SetPumpHook([] { QApplication::processEvents(); });
    QTimer::singleShot(50, &dlg, [&] {
        clicked = true;
        FindChild<QPushButton>(dlg, "cancelButton")->click();
    });
    Click(dlg, "okButton");
    ui.SetPumpHook({});

    EXPECT_TRUE(clicked);
    EXPECT_TRUE(dlg.Cancelling());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(bench.context.Connected());
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

TEST_F(ConnectDlgTest, SecuredTransmitterAsksForThePasswordAndCancelGivesLevelLow) {
    bench.Add(5, "SECURE");
    bench.Start();
    // The password entries of a transmitter with security on, an administrative
    // and a first medium password.
    CSecurity::Image image{};
    image[0] = CSecurity(1).BuildStateSlot(true);
    image[1] = CSecurity::MaskPassword("ADMIN");
    image[2] = CSecurity::MaskPassword("MED1");
    bench.context.Comm().SetLegacyTransport(
        [image](int command, const std::vector<uint8_t>& request, std::vector<uint8_t>& reply) {
            if (command == 163 && !request.empty() && request[0] < image.size()) {
                std::copy(image[request[0]].begin(), image[request[0]].end(), reply.begin() + 3);
            }
            return 0;
        });

    for (const auto& [password, level] :
         {std::pair<std::optional<std::string>, int>{"MED1", app::kAccessMedium},
          {std::nullopt, app::kAccessLow}}) {
        CConnectDlg dlg(bench.context, nullptr);
        dlg.show();
        Edit(dlg, "addressEdit")->setText(QStringLiteral("5"));
        ui.ExpectPassword(password);
        Click(dlg, "okButton");
        ui.Verify();
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_TRUE(bench.security.Enabled());
        EXPECT_EQ(bench.context.AccessState(), level);
    }
}
