#include "dialogs/CPasswordDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/UiTexts.h"
#include "dialogs/CaptionWidth.h"
#include "resources/Texts.h"

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("passwordDlg"));
    setWindowTitle(QString::fromLatin1(uitexts::kAppTitle));

    auto* label = new QLabel(QString::fromLatin1(texts::kPasswordLabel), this);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    label->setBuddy(m_password);

    auto* ok = new QPushButton(QString::fromLatin1(texts::kOk), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QString::fromLatin1(texts::kCancel), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* field = new QHBoxLayout;
    field->addWidget(label);
    field->addWidget(m_password);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(buttons);

    connect(m_password, &QLineEdit::textEdited, this, &CPasswordDlg::OnTextEdited);
    connect(ok, &QPushButton::clicked, this, &CPasswordDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CPasswordDlg::reject);
    m_password->setFocus();
    dialogs::ReserveCaptionWidth(*this);
}

void CPasswordDlg::OnTextEdited(const QString& text) {
    const QString upper = text.toUpper();
    if (upper == text) return;
    const int cursor = m_password->cursorPosition();
    m_password->setText(upper);
    m_password->setCursorPosition(cursor);
}

std::string CPasswordDlg::Password() const { return m_password->text().toUpper().toStdString(); }
