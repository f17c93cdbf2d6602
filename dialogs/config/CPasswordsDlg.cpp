#include "dialogs/config/CPasswordsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CPasswordsForm.h"
#include "resources/Texts.h"

namespace {

// Shows typed letters in upper case as the form holds them, the cursor kept.
void ShowUpperCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

}  // namespace

CPasswordsDlg::CPasswordsDlg(CPasswordsForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("passwordsDlg"));
    auto* medium = new QGridLayout;
    for (int number = 2; number <= 7; ++number) {
        const std::string key = CPasswordsForm::KeyOf(number);
        auto* edit = static_cast<QLineEdit*>(FieldWidget(key));
        edit->setAccessibleName(QStringLiteral("Medium level password %1").arg(number - 1));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW")) +
                              12);
        ShowUpperCase(edit);
        medium->addWidget(edit, (number - 2) / 3, (number - 2) % 3);
    }
    const std::string highKey = CPasswordsForm::KeyOf(1);
    auto* high = static_cast<QLineEdit*>(FieldWidget(highKey));
    high->setMinimumWidth(high->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWWWW")) + 12);
    ShowUpperCase(high);
    auto* highRow = new QHBoxLayout;
    highRow->addWidget(high);
    highRow->addStretch();

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FieldLabel(CPasswordsForm::KeyOf(2)));
    layout->addLayout(medium);
    layout->addSpacing(12);
    layout->addWidget(FieldLabel(highKey));
    layout->addLayout(highRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CPasswordsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CPasswordsDlg::reject);
    FieldWidget(CPasswordsForm::KeyOf(2))->setFocus();
}
