#include <QApplication>
#include <QStringList>

#include "app/ui/CMVApp.h"
#include "app/ui/UiTexts.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(uitexts::kSettingsRoot));
    QApplication::setApplicationName(QString::fromLatin1(uitexts::kAppTitle));

    // QApplication has taken its own options out of argv by now.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    CMVApp app;
    app.InitInstance(CMVApp::ParseCommandLine(arguments));
    return QApplication::exec();
}
