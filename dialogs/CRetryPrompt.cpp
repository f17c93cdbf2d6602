#include "dialogs/CRetryPrompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/CaptionWidth.h"
#include "resources/Texts.h"

CRetryPrompt::CRetryPrompt(const std::string& message, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("retryPrompt"));
    setWindowTitle(QString::fromUtf8(texts::kAppTitle));

    m_message = new QLabel(QString::fromUtf8(texts::kRetryMessageInitial), this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setText(QString::fromStdString(message));

    auto* buttons = new QHBoxLayout;
    QPushButton* connectDialog =
        AddButton(texts::kConnectDialogButton, "connectDialogButton", kConnectDialog);
    buttons->addWidget(connectDialog);
    buttons->addWidget(AddButton(texts::kRetryAddress1Button, "retryButton", kRetryAddress1));
    buttons->addWidget(AddButton(texts::kRetryCancelButton, "cancelButton", kCancel));
    connectDialog->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    dialogs::ReserveCaptionWidth(*this);
}

QPushButton* CRetryPrompt::AddButton(const char* text, const char* name, int answer) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, answer] { Choose(answer); });
    return button;
}

void CRetryPrompt::Choose(int answer) {
    m_answer = answer;
    done(answer);
}
