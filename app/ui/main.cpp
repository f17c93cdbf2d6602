#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>

#include "app/CChangeLog.h"
#include "app/ui/CMVApp.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/NumericLocale.h"
#include "app/ui/Screenshots.h"
#include "app/ui/UiTexts.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    KeepNumericLocaleC();
    QApplication::setOrganizationName(QString::fromLatin1(uitexts::kSettingsRoot));
    QApplication::setApplicationName(QString::fromLatin1(uitexts::kAppTitle));

    // QApplication has taken its own options out of argv by now.
    // "--screenshots DIR" saves pictures of the main window and its menus, then quits.
    QStringList arguments;
    QString screenshotDir;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--screenshots") && i + 1 < argc) {
            screenshotDir = QString::fromLocal8Bit(argv[++i]);
        } else {
            arguments << argument;
        }
    }

    // Every write to a transmitter during this run is recorded here.
    CChangeLog changeLog(CChangeLog::DefaultPath());
    CScopedChangeLog changeLogScope(changeLog);
    CMVApp app;
    app.InitInstance(CMVApp::ParseCommandLine(arguments));
    if (!screenshotDir.isEmpty()) {
        QTimer::singleShot(500, [&app, screenshotDir] {
            const int written = SaveScreenshots(*app.Frame(), screenshotDir);
            std::printf("%d screenshots written to %s\n", written, qPrintable(screenshotDir));
            QApplication::exit(written > 0 ? 0 : 1);
        });
    }
    return QApplication::exec();
}
