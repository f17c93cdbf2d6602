#include "dialogs/CSearchDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/Texts.h"

namespace {
constexpr const char* kFoundSoFar = "Transmitters found: %1";
}  // namespace

CSearchDlg::CSearchDlg(WorkflowContext& context, QWidget* parent)
    : CStepWindow(kTickIntervalMs, parent), m_search(std::make_unique<CSearchEngine>(context)) {
    setObjectName(QStringLiteral("searchDlg"));
    setWindowTitle(QString::fromUtf8(texts::kSearchCaption));

    auto* searching = new QLabel(QString::fromUtf8(texts::kSearching), this);
    searching->setTextFormat(Qt::PlainText);

    // A progress bar without a range runs its busy animation continuously.
    m_animation = new QProgressBar(this);
    m_animation->setObjectName(QStringLiteral("searchAnimation"));
    m_animation->setRange(0, 0);
    m_animation->setTextVisible(false);
    m_animation->setMaximumHeight(12);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_status->setTextFormat(Qt::PlainText);

    m_found = new QLabel(this);
    m_found->setObjectName(QStringLiteral("foundLabel"));
    m_found->setTextFormat(Qt::PlainText);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, CConnectEngine::kLastAddress);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_cancel = new QPushButton(QString::fromUtf8(texts::kCancel), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(m_cancel, &QPushButton::clicked, this, &CSearchDlg::OnCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(searching);
    layout->addWidget(m_animation);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_found);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    ShowState();
}

CSearchDlg::~CSearchDlg() = default;

void CSearchDlg::ShowState() {
    m_status->setText(QString::fromStdString(m_search->StatusText()));
    m_progress->setValue(m_search->Progress());
    m_found->setText(QString::fromLatin1(kFoundSoFar)
                         .arg(static_cast<qulonglong>(m_search->FoundAddresses().size())));
}

void CSearchDlg::Finished() {
    m_animation->setVisible(false);
    done(m_search->Result() == WorkflowResult::Done ? QDialog::Accepted : QDialog::Rejected);
}

void CSearchDlg::OnCancel() {
    RequestCancel();
    m_animation->setVisible(false);
}
