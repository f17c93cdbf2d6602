#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <fstream>

#include "app/CommandTable.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CQtUserInterface.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "platform/CMemorySettingsStore.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/CPlaceholderDocument.h"

namespace {

class MainFrameTest : public testing::Test {
  protected:
    MainFrameTest() { document.SetLinkAvailable(true); }

    void SetState(int state, bool link = true, std::string tag = {}) {
        document.SetLinkAvailable(link);
        document.SetConnection(state, std::move(tag));
        frame.UpdateCommandUi();
    }

    CScriptedUi ui;
    CMemorySettingsStore settings;
    CPlaceholderDocument document;
    CMainFrame frame{document, settings};
};

TEST_F(MainFrameTest, MenusInOrderWithPromptsAndAccelerators) {
    QStringList titles;
    for (QAction* menu : frame.menuBar()->actions()) titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&File", "&Setup", "&Transmitter", "&Maintenance",
                                   "&Diagnostics", "&View", "&Help"}));
    EXPECT_EQ(frame.Action(cmd::kFileNew)->text(), QStringLiteral("&New Config\tCtrl+N"));
    EXPECT_EQ(frame.Action(cmd::kFileNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(frame.Action(cmd::kFileSave)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(frame.Action(cmd::kXmtrSensorLimits)->statusTip(),
              QStringLiteral("View or Change sensor limits"));
    EXPECT_EQ(frame.Action(cmd::kConnect)->toolTip(), QStringLiteral("Connect "));
    EXPECT_EQ(frame.Action(cmd::kRecvConfig)->text(), QStringLiteral("&Recv Config"));
}

TEST_F(MainFrameTest, ToolbarHasFourteenSlotsWithTipsAndIcons) {
    const QList<QAction*> buttons = frame.ToolBar()->actions();
    ASSERT_EQ(buttons.size(), 14);
    const std::vector<int>& layout = ToolbarLayout();
    for (int i = 0; i < buttons.size(); ++i) {
        const int id = layout[static_cast<size_t>(i)];
        if (id == 0) {
            EXPECT_TRUE(buttons[i]->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(buttons[i], frame.Action(id)) << i;
        EXPECT_FALSE(buttons[i]->icon().isNull()) << id;
        EXPECT_FALSE(buttons[i]->toolTip().isEmpty()) << id;
    }
    EXPECT_EQ(frame.ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
}

TEST_F(MainFrameTest, MenuItemsAndToolbarButtonsEnabledAsTheTableSaysInEveryState) {
    struct Case {
        int state;
        bool link;
    };
    const Case cases[] = {{0, true}, {1, true}, {2, true}, {3, true},
                          {4, true}, {5, true}, {5, false}};
    for (const Case& c : cases) {
        SetState(c.state, c.link);
        for (const CommandInfo& info : CommandTable()) {
            if (info.kind != CommandKind::Item) continue;
            EXPECT_EQ(frame.Action(info.id)->isEnabled(),
                      IsCommandEnabled(info.id, c.state, c.link))
                << "command " << info.id << " state " << c.state << " link " << c.link;
        }
        for (QAction* action : frame.ToolBar()->actions()) {
            if (action->isSeparator()) continue;
            QWidget* button = frame.ToolBar()->widgetForAction(action);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isEnabled(), action->isEnabled())
                << action->objectName().toStdString();
        }
    }
}

TEST_F(MainFrameTest, OfflineEnablesSetupAndDisablesTransmitterItems) {
    SetState(app::kAccessNoTransmitter);
    EXPECT_TRUE(frame.Action(cmd::kSetupDamping)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kHostComm)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kConnect)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kXmtrDamping)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kSendConfig)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kReadOutputs)->isEnabled());

    SetState(app::kAccessLow);
    EXPECT_FALSE(frame.Action(cmd::kRecvConfig)->isEnabled());
    EXPECT_FALSE(frame.ToolBar()->widgetForAction(frame.Action(cmd::kSendConfig))->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kXmtrDamping)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kSetupDamping)->isEnabled());

    // After a disconnect the Setup items come back at the next idle update.
    document.SetConnection(app::kAccessNoTransmitter);
    frame.UpdateCommandUi();
    EXPECT_TRUE(frame.Action(cmd::kSetupDamping)->isEnabled());

    SetState(app::kAccessNoTransmitter, false);
    EXPECT_FALSE(frame.ToolBar()->widgetForAction(frame.Action(cmd::kConnect))->isEnabled());
}

TEST_F(MainFrameTest, StatusPanesFollowTheAccessState) {
    const char* security[] = {"Security: High ",     "Security: Medium ",  "Security: Low ",
                              "Security: Disabled ", "Security: Non-EMS ", "Security: No Xmtr "};
    for (int state = 0; state < app::kAccessStateCount; ++state) {
        SetState(state, true, "FT-1234567890");
        EXPECT_EQ(frame.SecurityPane()->text().toStdString(), security[state]);
        if (state == app::kAccessNoTransmitter) {
            EXPECT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: "));
            EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: No Xmtr"));
        } else {
            EXPECT_EQ(frame.TagPane()->text(), QStringLiteral("Tag: FT-12345"));
            EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: Idle"));
        }
    }
    const QFontMetrics metrics(frame.CommPane()->font());
    EXPECT_GE(frame.CommPane()->minimumWidth(), metrics.horizontalAdvance("COMM: No Xmtr"));
    EXPECT_GE(frame.SecurityPane()->minimumWidth(),
              metrics.horizontalAdvance("Security: Disabled"));
    EXPECT_GE(frame.TagPane()->minimumWidth(), metrics.horizontalAdvance("Tag: FT-123456"));
}

TEST_F(MainFrameTest, CommPaneShowsBusyWhileTheLinkIsBusy) {
    CQtUserInterface qtUi(&frame);
    SetState(app::kAccessDisabled);
    qtUi.SetLinkBusy(true);
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: Busy"));
    qtUi.SetLinkBusy(false);
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: Idle"));
    SetState(app::kAccessNoTransmitter);
    qtUi.SetLinkBusy(true);
    EXPECT_EQ(frame.CommPane()->text(), QStringLiteral("COMM: No Xmtr"));
    qtUi.SetLinkBusy(false);
}

TEST_F(MainFrameTest, CloseBoxAsksLikeExitAndNoKeepsTheProgramOpen) {
    frame.show();
    ui.ExpectWithIcon(LoadString(400), MsgIcon::Question, MsgAnswer::No);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());

    ui.ExpectWithIcon(LoadString(400), MsgIcon::Question, MsgAnswer::No);
    frame.Action(cmd::kAppExit)->trigger();
    EXPECT_TRUE(frame.isVisible());
    ui.Verify();
    ASSERT_EQ(ui.Messages().size(), 2u);
    EXPECT_EQ(ui.Messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.Messages()[1].buttons, MsgButtons::YesNo);

    ui.Expect(LoadString(400), MsgAnswer::Yes);
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, FileExitYesClosesTheWindow) {
    frame.show();
    ui.Expect(LoadString(400), MsgAnswer::Yes);
    frame.Action(cmd::kAppExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, ModifiedDocumentIsOfferedForSavingAndCancelKeepsItOpen) {
    frame.show();
    document.SetModified(true);
    ui.Expect(LoadString(400), MsgAnswer::Yes);
    ui.Expect("Save changes to Untitled?", MsgAnswer::Cancel);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(document.IsModified());

    ui.Expect(LoadString(400), MsgAnswer::Yes);
    ui.Expect("Save changes to Untitled?", MsgAnswer::No);
    EXPECT_TRUE(frame.close());
}

TEST_F(MainFrameTest, ASaveThatFailsIsReportedAndNothingIsDiscarded) {
    frame.show();
    document.SetModified(true);
    frame.View().SetFileDialogProvider([](CMVView::FileDialog, const std::string&) {
        return std::optional<std::string>("/tmp/x.cmm");
    });
    ui.Expect(LoadString(400), MsgAnswer::Yes);
    ui.Expect("Save changes to Untitled?", MsgAnswer::Yes);
    ui.ExpectWithIcon(LoadString(MessageFor(CNotSupportedException())), MsgIcon::Stop);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(document.IsModified());
}

TEST_F(MainFrameTest, CommandsWithoutTheirDialogSayTheOperationCouldNotBeCompleted) {
    SetState(app::kAccessNoTransmitter);
    ui.ExpectWithIcon(LoadString(2102), MsgIcon::Stop);
    frame.Action(cmd::kSetupUnits)->trigger();
    SetState(app::kAccessHigh);
    ui.ExpectWithIcon(LoadString(2102), MsgIcon::Stop);
    frame.Action(cmd::kPrivileges)->trigger();
}

TEST_F(MainFrameTest, CtrlRReachesReceiveOnlyWhenItIsEnabled) {
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    SetState(app::kAccessLow);
    QTest::keyClick(&frame, Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(ui.Messages().empty());
    // Receive has no window of its own yet: it says so.
    SetState(app::kAccessDisabled);
    ui.ExpectWithIcon(LoadString(2102), MsgIcon::Stop);
    QTest::keyClick(&frame, Qt::Key_R, Qt::ControlModifier);
    ui.Verify();
}

TEST_F(MainFrameTest, SecurityMenuTextSwitches) {
    frame.SetSecurityMenuText(false);
    EXPECT_EQ(frame.Action(cmd::kSecurityOnOff)->text().toStdString(), LoadString(3102));
    frame.SetSecurityMenuText(true);
    EXPECT_EQ(frame.Action(cmd::kSecurityOnOff)->text().toStdString(), LoadString(3103));
}

TEST_F(MainFrameTest, ViewItemsShowAndHideBarsWithTicks) {
    frame.show();
    frame.UpdateCommandUi();
    EXPECT_TRUE(frame.Action(cmd::kViewToolbar)->isChecked());
    frame.Action(cmd::kViewToolbar)->trigger();
    EXPECT_FALSE(frame.ToolBar()->isVisible());
    EXPECT_FALSE(frame.Action(cmd::kViewToolbar)->isChecked());
    frame.Action(cmd::kViewStatusBar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
    EXPECT_FALSE(frame.Action(cmd::kViewStatusBar)->isChecked());
    frame.Action(cmd::kViewToolbar)->trigger();
    EXPECT_TRUE(frame.ToolBar()->isVisible());
    EXPECT_TRUE(frame.Action(cmd::kViewToolbar)->isChecked());
}

TEST_F(MainFrameTest, RecentFilesKeepTheLastFourInTheSettingsStore) {
    QTemporaryDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(dir.filePath(QStringLiteral("f%1.cmm").arg(i)).toStdString());
        std::ofstream(paths.back()) << "x";
        ASSERT_TRUE(frame.View().OpenDocumentFile(paths.back()));
    }
    EXPECT_EQ(settings.GetString("Recent File List", "File1", ""), paths[4]);
    EXPECT_EQ(settings.GetString("Recent File List", "File4", ""), paths[1]);
    EXPECT_EQ(frame.Action(cmd::kFileMru1)->text(),
              QStringLiteral("&1 %1").arg(QString::fromStdString(paths[4])));

    // A later run lists them again; choosing one opens it.
    CPlaceholderDocument other;
    CMainFrame second(other, settings);
    EXPECT_TRUE(second.Action(cmd::kFileMru1 + 3)->isVisible());
    second.Action(cmd::kFileMru1 + 3)->trigger();
    EXPECT_EQ(other.LoadedPath(), paths[1]);
    EXPECT_EQ(second.RecentFiles().Files().front(), paths[1]);
}

TEST_F(MainFrameTest, DroppedFileIsOpened) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dropped.cmm"));
    std::ofstream(path.toStdString()) << "x";
    frame.setAcceptDrops(true);  // as start-up does
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
    EXPECT_EQ(document.LoadedPath(), path.toStdString());
    EXPECT_EQ(frame.windowTitle(),
              QStringLiteral("dropped.cmm[*] - Corvel Configurator User Interface"));
}

TEST_F(MainFrameTest, TitleMarksADocumentWithUnsavedChanges) {
    frame.show();
    frame.UpdateCommandUi();
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(frame.windowHandle()->title(),
              QStringLiteral("Untitled - Corvel Configurator User Interface"));

    document.SetModified(true);
    frame.UpdateCommandUi();
    EXPECT_TRUE(frame.isWindowModified());
    EXPECT_EQ(frame.windowHandle()->title(),
              QStringLiteral("Untitled* - Corvel Configurator User Interface"));

    // A name that holds the mark itself is shown as it stands.
    document.SetModified(false);
    frame.UpdateTitle(QStringLiteral("odd[*].cmm"));
    frame.UpdateCommandUi();
    EXPECT_EQ(frame.windowHandle()->title(),
              QStringLiteral("odd[*].cmm - Corvel Configurator User Interface"));
}

TEST_F(MainFrameTest, OpensAtASizeThatShowsEveryMenuAndTheConnectionMessageWhole) {
    frame.show();
    QApplication::processEvents();
    const QSize size = frame.size();
    EXPECT_EQ(size, frame.DefaultSize());
    // Each menu opens below its title inside the window.
    for (QAction* title : frame.menuBar()->actions()) {
        QMenu* menu = title->menu();
        ASSERT_NE(menu, nullptr);
        const int bottom =
            frame.menuBar()->actionGeometry(title).bottom() + menu->sizeHint().height();
        EXPECT_LE(bottom, frame.statusBar()->geometry().top()) << title->text().toStdString();
    }
    // The status bar holds a long connection message beside its three panes.
    const QString message =
        QStringLiteral("Connected to FT-123456 at address 247 on /dev/ttyUSB0, 9600 bit/s");
    const int panes =
        frame.TagPane()->width() + frame.SecurityPane()->width() + frame.CommPane()->width();
    EXPECT_GE(frame.statusBar()->width() - panes,
              QFontMetrics(frame.statusBar()->font()).horizontalAdvance(message));
}

TEST_F(MainFrameTest, GeometryToolbarAndStatusBarComeBackInTheNextRun) {
    frame.show();
    frame.resize(frame.DefaultSize() + QSize(-40, -30));
    frame.addToolBar(Qt::LeftToolBarArea, frame.ToolBar());
    frame.Action(cmd::kViewStatusBar)->trigger();
    QApplication::processEvents();
    const QSize closedAt = frame.size();
    frame.CloseConfirmed();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(settings.Has(CMainFrame::kWindowSection, "Geometry"));

    CPlaceholderDocument other;
    CMainFrame second(other, settings);
    second.show();
    QApplication::processEvents();
    EXPECT_EQ(second.size(), closedAt);
    EXPECT_EQ(second.toolBarArea(second.ToolBar()), Qt::LeftToolBarArea);
    EXPECT_FALSE(second.statusBar()->isVisible());
    second.UpdateCommandUi();
    EXPECT_FALSE(second.Action(cmd::kViewStatusBar)->isChecked());
}

TEST_F(MainFrameTest, ADamagedStoredGeometryIsIgnored) {
    settings.WriteString(CMainFrame::kWindowSection, "Geometry", "not a geometry");
    CPlaceholderDocument other;
    CMainFrame second(other, settings);
    EXPECT_FALSE(second.RestoreWindowState());
    EXPECT_EQ(second.size(), second.DefaultSize());
}

}  // namespace
