#include "app/ui/CQtUserInterface.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QPushButton>

#include "app/ui/CMainFrame.h"
#include "app/ui/UiTexts.h"
#include "dialogs/CPasswordDlg.h"
#include "dialogs/CTransmitterStatusDlg.h"
#include "dialogs/CaptionWidth.h"

namespace {

QMessageBox::Icon QtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Stop:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::ReplaceSaveAsCancel:
            return QMessageBox::Cancel;  // the other two carry captions of their own
        case MsgButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// What closing the box without a button (Escape, close box) answers.
MsgAnswer EscapeAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
        case MsgButtons::ReplaceSaveAsCancel:
            break;
    }
    return MsgAnswer::Cancel;
}

}  // namespace

CQtUserInterface::~CQtUserInterface() {
    for (int i = m_waitDepth + m_promptDepth; i > 0; --i) QApplication::restoreOverrideCursor();
}

MsgAnswer CQtUserInterface::MessageBox(const std::string& text, MsgButtons buttons, MsgIcon icon) {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = m_frame;
    QMessageBox box(QtIcon(icon), QString::fromLatin1(uitexts::kAppTitle),
                    QString::fromStdString(text), QtButtons(buttons), parent);
    box.setObjectName(QStringLiteral("messageBox"));
    // A message box sizes itself to its text; a short text would leave the
    // caption cut off. A spacer across the box's grid keeps room for it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(dialogs::CaptionWidth(box.windowTitle()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (buttons == MsgButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    QAbstractButton* replace = nullptr;
    QAbstractButton* saveAs = nullptr;
    if (buttons == MsgButtons::ReplaceSaveAsCancel) {
        replace = box.addButton(QStringLiteral("&Replace"), QMessageBox::DestructiveRole);
        saveAs = box.addButton(QStringLiteral("Save &As..."), QMessageBox::AcceptRole);
        box.setDefaultButton(qobject_cast<QPushButton*>(saveAs));
        box.setEscapeButton(QMessageBox::Cancel);
    }
    // A message must be readable even while a transaction shows the wait cursor.
    const bool waiting = m_waitDepth > 0;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    if (replace != nullptr && box.clickedButton() == replace) return MsgAnswer::Yes;
    if (saveAs != nullptr && box.clickedButton() == saveAs) return MsgAnswer::No;
    switch (result) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return EscapeAnswer(buttons);
    }
}

void CQtUserInterface::Beep() { QApplication::beep(); }

void CQtUserInterface::BeginWaitCursor() {
    ++m_waitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUserInterface::EndWaitCursor() {
    if (m_waitDepth == 0) return;
    --m_waitDepth;
    QApplication::restoreOverrideCursor();
}

void CQtUserInterface::BeginUserPrompt() {
    ++m_promptDepth;
    QApplication::setOverrideCursor(Qt::ArrowCursor);
}

void CQtUserInterface::EndUserPrompt() {
    if (m_promptDepth == 0) return;
    --m_promptDepth;
    QApplication::restoreOverrideCursor();
}

void CQtUserInterface::SetLinkBusy(bool busy) {
    if (m_frame != nullptr) m_frame->SetLinkBusy(busy);
}

bool CQtUserInterface::PumpMessages() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher == nullptr) {
        QCoreApplication::processEvents();
        return false;
    }
    return dispatcher->processEvents(QEventLoop::AllEvents);
}

std::optional<std::string> CQtUserInterface::PromptPassword() {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = m_frame;
    CPasswordDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Password();
}

TransmitterStatusAnswer CQtUserInterface::ShowTransmitterStatus(
    const TransmitterStatusRequest& request) {
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr) parent = m_frame;
    CTransmitterStatusDlg dialog(request, parent, m_openErrorInfo);
    dialog.exec();
    return dialog.Answer();
}
