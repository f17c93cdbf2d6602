#include "dialogs/CReceiveDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/CMVDoc.h"
#include "resources/Texts.h"

namespace {
constexpr int kCompletionIconSize = 32;
}  // namespace

CReceiveDlg::CReceiveDlg(WorkflowContext& context, std::unique_ptr<CReceiveEngine> receive,
                         NamedCallback named, QWidget* parent)
    : CStepWindow(kTickIntervalMs, parent),
      m_context(context),
      m_receive(std::move(receive)),
      m_named(std::move(named)) {
    setObjectName(QStringLiteral("receiveDlg"));
    setWindowTitle(QString::fromUtf8(texts::kReceiveCaption));

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_completion = new QLabel(this);
    m_completion->setObjectName(QStringLiteral("completionIcon"));
    m_completion->setPixmap(style()
                                ->standardIcon(QStyle::SP_DialogApplyButton)
                                .pixmap(kCompletionIconSize, kCompletionIconSize));
    m_completion->setVisible(false);
    m_button = new QPushButton(QString::fromUtf8(texts::kTransferCancelButton), this);
    m_button->setObjectName(QStringLiteral("cancelButton"));
    connect(m_button, &QPushButton::clicked, this, &CReceiveDlg::OnButton);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_completion);
    statusRow->addWidget(m_status, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(statusRow);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    ShowState();
}

CReceiveDlg::~CReceiveDlg() = default;

void CReceiveDlg::ShowState() {
    m_status->setText(QString::fromStdString(m_receive->StatusText()));
    m_progress->setValue(m_receive->Progress());
}

void CReceiveDlg::Finished() {
    if (m_receive->Result() != WorkflowResult::Done) {
        done(QDialog::Rejected);
        return;
    }
    const std::string& name = m_receive->DocumentName();
    m_context.doc.SetPathName(name, false);
    if (m_named) m_named(name);
    m_completion->setVisible(true);
    m_button->setText(QString::fromUtf8(texts::kReceiveDoneButton));
    m_button->setDefault(true);
    m_button->setFocus();
}

void CReceiveDlg::OnButton() {
    if (Running()) {
        RequestCancel();
        return;
    }
    if (m_receive->Result() == WorkflowResult::Done) {
        accept();
    } else {
        reject();
    }
}
