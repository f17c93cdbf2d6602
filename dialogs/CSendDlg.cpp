#include "dialogs/CSendDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/Texts.h"

CSendDlg::CSendDlg(std::unique_ptr<CSendEngine> send, QWidget* parent)
    : CStepWindow(kTickIntervalMs, parent), m_send(std::move(send)) {
    setObjectName(QStringLiteral("sendDlg"));
    setWindowTitle(QString::fromUtf8(texts::kSendCaption));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_button = new QPushButton(QString::fromUtf8(texts::kTransferCancelButton), this);
    m_button->setObjectName(QStringLiteral("cancelButton"));
    connect(m_button, &QPushButton::clicked, this, &CSendDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    ShowState();
}

CSendDlg::~CSendDlg() = default;

void CSendDlg::ShowState() {
    m_status->setText(QString::fromStdString(m_send->StatusText()));
    m_progress->setValue(m_send->Progress());
}

void CSendDlg::Finished() {
    if (m_send->Result() != WorkflowResult::Done) {
        done(QDialog::Rejected);
        return;
    }
    m_button->setText(QString::fromUtf8(texts::kSendDoneButton));
    done(QDialog::Accepted);
}
