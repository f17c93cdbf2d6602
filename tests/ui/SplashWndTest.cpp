#include <gtest/gtest.h>

#include "tests/ui/QStringPrinter.h"

#include <QLabel>
#include <QTest>

#include "app/ui/CSplashWnd.h"
#include "app/ui/VersionRecord.h"

namespace {

TEST(VersionRecord, VersionLineReplacesCommasWithFullStops) {
    EXPECT_EQ(VersionLine(ProgramVersionRecord()), "Version 5. 0. 0. 7");
    EXPECT_EQ(VersionLine({"desc", "1,2", ""}), "Version 1.2");
    // A record without a file version leaves the line empty.
    EXPECT_EQ(VersionLine({"desc", "", "notice"}), "");
    EXPECT_EQ(ProgramVersionRecord().fileDescription, "Model CorvelFX Configurator User Interface");
    EXPECT_FALSE(ProgramVersionRecord().legalCopyright.empty());
}

TEST(SplashWnd, AboutShowsTheVersionAndNoStatusLine) {
    CSplashWnd about(CSplashWnd::Use::About, QString(), nullptr);
    EXPECT_EQ(about.findChild<QLabel*>("versionLabel")->text(),
              QStringLiteral("Version 5. 0. 0. 7"));
    EXPECT_EQ(about.findChild<QLabel*>("descriptionLabel")->text(),
              QStringLiteral("Model CorvelFX Configurator User Interface"));
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(Qt::white));
    about.show();
    EXPECT_FALSE(about.findChild<QLabel*>("statusLabel")->isVisible());
    EXPECT_FALSE(about.findChild<QWidget*>("separatorLine")->isVisible());
}

TEST(SplashWnd, StartupShowsTheGreyedStatusLine) {
    CSplashWnd startup(CSplashWnd::Use::Startup, QStringLiteral("Initializing..."), nullptr);
    startup.show();
    QLabel* status = startup.findChild<QLabel*>("statusLabel");
    EXPECT_TRUE(status->isVisible());
    EXPECT_FALSE(status->isEnabled());
    EXPECT_EQ(startup.StatusText(), QStringLiteral("Initializing..."));
    EXPECT_FALSE(startup.isModal());
    // At start-up a click does not close the window.
    QTest::mouseClick(&startup, Qt::LeftButton);
    EXPECT_TRUE(startup.isVisible());
}

TEST(SplashWnd, ALeftClickAnywhereClosesTheAboutWindow) {
    CSplashWnd about(CSplashWnd::Use::About, QString(), nullptr);
    about.show();
    QTest::mouseClick(&about, Qt::RightButton);
    EXPECT_TRUE(about.isVisible());
    QTest::mouseClick(about.findChild<QLabel*>("legalLabel"), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
