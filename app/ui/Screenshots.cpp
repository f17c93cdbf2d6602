#include "app/ui/Screenshots.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>

#include "app/CommandTable.h"
#include "app/WorkflowContext.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/IAppDocument.h"
#include "config/CConfigForm.h"
#include "dialogs/CFormDialog.h"
#include "dialogs/CPasswordDlg.h"
#include "dialogs/FormWindows.h"
#include "transmitter/CTransmitter.h"

namespace {

// The dynamic property in which a window asks the pictures to wait (ms).
constexpr const char* kSettleProperty = "screenshotSettleMs";

QString FileNameFor(int index, const QString& menuText) {
    QString name = menuText;
    name.remove(QLatin1Char('&'));
    name = name.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral("%1-menu-%2.png").arg(index, 2, 10, QLatin1Char('0')).arg(name);
}

// Each form window, opened as its command opens it (Setup mode on the
// document, Transmitter mode on the connected transmitter), drawn and closed.
int SaveFormWindows(CMainFrame& frame, const QDir& dir, int index) {
    WorkflowContext* context = frame.Document().Workflow();
    if (context == nullptr) return 0;
    int written = 0;
    for (const dialogs::FormWindow& entry : dialogs::FormWindows()) {
        const bool setup = entry.mode == config::kSetupMode;
        if (!setup && !context->Connected()) continue;
        std::unique_ptr<CConfigForm> form = entry.makeForm(*context);
        if (!form->Open()) continue;
        std::unique_ptr<CFormDialog> window = entry.makeWindow(*form, &frame);
        window->show();
        QApplication::processEvents();
        // A live window asks for time to gather what it draws (a trend).
        const int settleMs = window->property(kSettleProperty).toInt();
        if (settleMs > 0) {
            QElapsedTimer settling;
            settling.start();
            while (settling.elapsed() < settleMs)
                QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        const QString name =
            QStringLiteral("%1-window-%2-%3.png")
                .arg(index++, 2, 10, QLatin1Char('0'))
                .arg(QString::fromLatin1(entry.name))
                .arg(setup ? QStringLiteral("setup") : QStringLiteral("transmitter"));
        if (window->grab().save(dir.filePath(name))) ++written;
        window->hide();
    }
    return written;
}

// The overview compared with the transmitter: the document holds the
// transmitter's configuration with a few values changed in Setup, as before a
// send. False when no transmitter is connected.
bool SaveCompareScene(CMainFrame& frame, const QDir& dir) {
    WorkflowContext* context = frame.Document().Workflow();
    if (context == nullptr || !context->Connected()) return false;
    try {
        CTransmitter& model = context->Model();
        model.ReceiveDataFormats();
        for (int v = 0; v <= 2; ++v) model.ReceiveVariable(v);
        model.ReceiveDeviceInformation();
        model.ReceiveLcd();
        model.DeviceInfo().SetTag("FT-101");
        model.Dp().SetDamping(CDimlessValue(2.5));
        model.LcdDisplay().Write({1, 2}, 5, transmitter::kAccessDocument);
    } catch (const std::exception&) {
        return false;
    }
    frame.Document().SetModified(true);
    frame.View().OnCommand(cmd::kCompare);
    frame.UpdateCommandUi();
    QApplication::processEvents();
    return frame.grab().save(dir.filePath(QStringLiteral("00-main-window-compare.png")));
}

}  // namespace

int SaveScreenshots(CMainFrame& frame, const QString& directory) {
    QDir().mkpath(directory);
    const QDir dir(directory);
    frame.UpdateCommandUi();
    frame.UpdateStatusPanes();
    QApplication::processEvents();

    int written = 0;
    if (frame.grab().save(dir.filePath(QStringLiteral("00-main-window.png")))) ++written;
    if (SaveCompareScene(frame, dir)) ++written;

    int index = 1;
    for (QAction* action : frame.menuBar()->actions()) {
        QMenu* menu = action->menu();
        if (menu == nullptr) continue;
        // Let the menu update its items (enabling, ticks) as it does on opening.
        emit menu->aboutToShow();
        menu->ensurePolished();
        menu->adjustSize();
        const QRect itemRect = frame.menuBar()->actionGeometry(action);
        const QPoint at = frame.menuBar()->mapTo(&frame, itemRect.bottomLeft());

        QPixmap window = frame.grab();
        const QPixmap popup = menu->grab();
        QPixmap canvas(qMax(window.width(), at.x() + popup.width()),
                       qMax(window.height(), at.y() + popup.height()));
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        painter.drawPixmap(0, 0, window);
        painter.drawPixmap(at, popup);
        painter.setPen(Qt::gray);
        painter.drawRect(QRect(at, popup.size()).adjusted(0, 0, -1, -1));
        painter.end();
        if (canvas.save(dir.filePath(FileNameFor(index, action->text())))) ++written;
        ++index;
    }
    written += SaveFormWindows(frame, dir, index);

    // The password prompt of the log-in and of enabling security.
    CPasswordDlg prompt(&frame);
    prompt.show();
    QApplication::processEvents();
    if (prompt.grab().save(dir.filePath(QStringLiteral("99-window-password-prompt.png"))))
        ++written;
    return written;
}
