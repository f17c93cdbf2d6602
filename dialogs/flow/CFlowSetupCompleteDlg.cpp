#include "dialogs/flow/CFlowSetupCompleteDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CFlowSetup.h"
#include "resources/Texts.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

CFlowSetupCompleteDlg::CFlowSetupCompleteDlg(config::CFlowSetupCompletion& completion,
                                             std::function<void()> saveAs, QWidget* parent)
    : QDialog(parent), m_completion(completion), m_saveAs(std::move(saveAs)) {
    setObjectName(QStringLiteral("flowSetupCompleteDlg"));
    setWindowTitle(QString::fromLatin1(texts::kFlowCompleteCaption));

    auto* text = new QLabel(Q(texts::kFlowCompleteText), this);
    auto* file = new QPushButton(Q(texts::kFlowFileButton), this);
    file->setObjectName(QStringLiteral("fileButton"));
    auto* connect = new QPushButton(Q(texts::kFlowConnectButton), this);
    connect->setObjectName(QStringLiteral("connectButton"));
    connect->setEnabled(completion.ConnectEnabled());
    auto* back = new QPushButton(Q(texts::kFlowReturnButton), this);
    back->setObjectName(QStringLiteral("returnButton"));
    back->setDefault(true);

    auto* fileNote = new QLabel(Q(completion.FileNote()), this);
    fileNote->setObjectName(QStringLiteral("fileNote"));
    fileNote->setWordWrap(true);
    auto* choices = new QGridLayout;
    choices->addWidget(file, 0, 0);
    choices->addWidget(fileNote, 0, 1);
    choices->addWidget(connect, 1, 0);
    choices->addWidget(new QLabel(Q(texts::kFlowConnectNote), this), 1, 1);
    choices->addWidget(back, 2, 0);
    choices->addWidget(new QLabel(Q(texts::kFlowReturnNote), this), 2, 1);
    choices->setColumnMinimumWidth(1, 320);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addLayout(choices);

    QObject::connect(file, &QPushButton::clicked, this, [this] {
        if (m_saveAs) m_saveAs();
    });
    QObject::connect(connect, &QPushButton::clicked, this, [this] { done(kConnectResult); });
    QObject::connect(back, &QPushButton::clicked, this, &CFlowSetupCompleteDlg::reject);
}

void CFlowSetupCompleteDlg::mouseDoubleClickEvent(QMouseEvent* event) {
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && (event->modifiers() & both) == both &&
        at.x() <= kCornerWidth && at.y() <= kCornerHeight) {
        m_completion.WriteTestFiles(std::string());
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}
