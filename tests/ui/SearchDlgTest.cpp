#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <string>

#include "dialogs/CSearchDlg.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/WorkflowDialogBench.h"

TEST(SearchDlg, OpensWithItsTextsAndARunningAnimation) {
    CScriptedUi ui;
    CWorkflowDialogBench bench;
    CSearchDlg dlg(bench.context, nullptr);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Multidrop - Search"));
    EXPECT_EQ(FindChild<QLabel>(dlg, "statusLabel")->text(), QStringLiteral("Polling address..."));
    bool searching = false;
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        searching =
            searching || label->text() == QStringLiteral("Searching for CorvelFX transmitters ...");
    }
    EXPECT_TRUE(searching);
    auto* progress = FindChild<QProgressBar>(dlg, "progressBar");
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 247);
    auto* animation = FindChild<QProgressBar>(dlg, "searchAnimation");
    // A bar without a range is Qt's busy indicator.
    EXPECT_EQ(animation->maximum(), 0);
    EXPECT_EQ(FindChild<QPushButton>(dlg, "cancelButton")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(FindChild<QLabel>(dlg, "foundLabel")->text(),
              QStringLiteral("Transmitters found: 0"));
}

TEST(SearchDlg, CountsTheTransmittersFoundSoFar) {
    CScriptedUi ui;
    CWorkflowDialogBench bench;
    bench.Add(2, "FT-2");
    bench.Add(4, "FT-4");
    bench.Start();
    CSearchDlg dlg(bench.context, nullptr);
    dlg.SetTickIntervalMs(0);
    auto* found = FindChild<QLabel>(dlg, "foundLabel");

    // Between two ticks the count covers every address probed so far.
    auto expected = [&] {
        const int next = dlg.Search().NextAddress();
        return QStringLiteral("Transmitters found: %1").arg((next > 2) + (next > 4));
    };
    ASSERT_TRUE(RunUntil(dlg, [&] { return dlg.Search().NextAddress() >= 3; }));
    EXPECT_EQ(found->text(), expected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.Search().NextAddress() >= 5; }, 10000));
    EXPECT_EQ(found->text(), QStringLiteral("Transmitters found: 2"));
    FindChild<QPushButton>(dlg, "cancelButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, 10000));
}

TEST(SearchDlg, ShowsEachPolledAddressAndStopsWhenCancelled) {
    CScriptedUi ui;
    CWorkflowDialogBench bench;
    bench.Add(2, "FT-2");
    bench.Start();
    CSearchDlg dlg(bench.context, nullptr);
    dlg.SetTickIntervalMs(0);
    auto* status = FindChild<QLabel>(dlg, "statusLabel");
    auto* progress = FindChild<QProgressBar>(dlg, "progressBar");
    auto* animation = FindChild<QProgressBar>(dlg, "searchAnimation");

    ASSERT_TRUE(RunUntil(dlg, [&] { return dlg.Search().NextAddress() >= 3; }));
    // Between two ticks: the address probed last is the one before the next.
    const int lastProbed = dlg.Search().NextAddress() - 1;
    FindChild<QPushButton>(dlg, "cancelButton")->click();
    EXPECT_FALSE(animation->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); }, 10000));

    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.Result(), WorkflowResult::Cancelled);
    // No further address was probed after the click.
    EXPECT_EQ(status->text().toStdString(), LoadString(700) + ":  " + std::to_string(lastProbed));
    EXPECT_EQ(progress->value(), lastProbed);
    EXPECT_EQ(dlg.Search().FoundAddresses(), (std::vector<int>{2}));
    EXPECT_FALSE(bench.context.Connected());
}
