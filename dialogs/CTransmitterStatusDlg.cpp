#include "dialogs/CTransmitterStatusDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/UiTexts.h"

CTransmitterStatusDlg::CTransmitterStatusDlg(const TransmitterStatusRequest& request,
                                             QWidget* parent, ErrorInfoOpener openErrorInfo)
    : QDialog(parent), m_openErrorInfo(std::move(openErrorInfo)) {
    setObjectName(QStringLiteral("transmitterStatusDlg"));
    setWindowTitle(QString::fromLatin1(uitexts::kAppTitle));

    auto* label =
        new QLabel(QStringLiteral("The transmitter is reporting the following &status:"), this);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("statusList"));
    for (const std::string& line : request.lines) list->addItem(QString::fromStdString(line));
    label->setBuddy(list);

    m_ignore = new QCheckBox(QStringLiteral("&Ignore status on next 50 commands"), this);
    m_ignore->setObjectName(QStringLiteral("ignoreCheck"));

    auto* errorInfo = new QPushButton(QStringLiteral("&Error Info"), this);
    errorInfo->setObjectName(QStringLiteral("errorInfoButton"));
    errorInfo->setEnabled(request.errorInfoEnabled && m_openErrorInfo);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ignore);
    buttons->addStretch();
    buttons->addWidget(errorInfo);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CTransmitterStatusDlg::OnOk);
    connect(errorInfo, &QPushButton::clicked, this, &CTransmitterStatusDlg::OnErrorInfo);
}

void CTransmitterStatusDlg::OnOk() {
    m_answer.ignoreNext50 = m_ignore->isChecked();
    accept();
}

void CTransmitterStatusDlg::OnErrorInfo() {
    m_answer.errorInfoPressed = true;
    m_openErrorInfo(this);
}
