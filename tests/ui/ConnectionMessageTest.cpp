// Which transmitter is connected, as the main window tells it after Connect
// and Change Address: the status bar's message area and the Tag pane's tip.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <string>

#include "app/CommandTable.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/ModalHelper.h"
#include "tests/ui/WorkflowDialogBench.h"

namespace {

class ConnectionMessageTest : public testing::Test {
  protected:
    ConnectionMessageTest() { document.SetLinkAvailable(true); }

    // Runs Connect from the menu; `fill` sets the dialog up before OK.
    void Connect(std::function<void(QWidget*)> fill) {
        OnModalNamed("connectDlg", [fill = std::move(fill)](QWidget* dlg) {
            fill(dlg);
            FindChild<QPushButton>(*dlg, "okButton")->click();
        });
        frame.View().OnCommand(cmd::kConnect);
    }
    std::string Message() { return frame.statusBar()->currentMessage().toStdString(); }
    std::string TagTip() {
        frame.UpdateStatusPanes();
        return frame.TagPane()->toolTip().toStdString();
    }
    std::string OnTheLine() { return " on " + bench.line.SlavePath() + ", 9600 bit/s"; }

    CScriptedUi ui;
    CWorkflowDialogBench bench;
    CDocumentAdapter document{bench.settings};
    CMainFrame frame{document, bench.settings};
};

}  // namespace

TEST_F(ConnectionMessageTest, ConnectNamesTagAddressPortAndBitRate) {
    bench.Add(3, "FT-101");
    bench.Add(4, "LIC-7");
    bench.Start();
    EXPECT_EQ(TagTip(), "");

    Connect([](QWidget* dlg) {
        FindChild<QLineEdit>(*dlg, "addressEdit")->setText(QStringLiteral("3"));
    });
    const std::string connected = "Connected to FT-101 at address 3" + OnTheLine();
    EXPECT_EQ(Message(), connected);
    EXPECT_EQ(TagTip(), connected);

    // Another transmitter: the message and the tip follow it.
    Connect([](QWidget* dlg) {
        FindChild<QLineEdit>(*dlg, "addressEdit")->setText(QStringLiteral("4"));
    });
    EXPECT_EQ(Message(), "Connected to LIC-7 at address 4" + OnTheLine());
    EXPECT_EQ(TagTip(), "Connected to LIC-7 at address 4" + OnTheLine());

    frame.View().OnCommand(cmd::kDisconnect);
    EXPECT_EQ(TagTip(), "");
}

TEST_F(ConnectionMessageTest, ChangeAddressConfirmsTheMove) {
    bench.Add(3, "FT-101");
    bench.Start();
    Connect([](QWidget* dlg) {
        FindChild<QRadioButton>(*dlg, "modeChangeRadio")->click();
        FindChild<QLineEdit>(*dlg, "oldAddressEdit")->setText(QStringLiteral("3"));
        FindChild<QLineEdit>(*dlg, "newAddressEdit")->setText(QStringLiteral("9"));
    });
    EXPECT_EQ(Message(), "Moved FT-101 from address 3 to address 9" + OnTheLine());
    EXPECT_EQ(TagTip(), "Connected to FT-101 at address 9" + OnTheLine());
}

TEST_F(ConnectionMessageTest, ACancelledConnectSaysNothing) {
    bench.Add(3, "FT-101");
    bench.Start();
    OnModalNamed("connectDlg",
                 [](QWidget* dlg) { FindChild<QPushButton>(*dlg, "cancelButton")->click(); });
    frame.View().OnCommand(cmd::kConnect);
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(TagTip(), "");
}
