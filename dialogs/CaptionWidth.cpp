#include "dialogs/CaptionWidth.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace dialogs {
namespace {
// The title bar's icon, its minimise, maximise and close buttons, and padding.
constexpr int kTitleBarAllowance = 150;
}  // namespace

int CaptionWidth(const QString& caption) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + kTitleBarAllowance;
}

void ReserveCaptionWidth(QWidget& window) {
    window.setMinimumWidth(qMax(window.minimumWidth(), CaptionWidth(window.windowTitle())));
}

}  // namespace dialogs
