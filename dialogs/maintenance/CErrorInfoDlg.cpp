#include "dialogs/maintenance/CErrorInfoDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "diagnostics/CErrorInfoForm.h"
#include "resources/Texts.h"

CErrorInfoDlg::CErrorInfoDlg(CErrorInfoForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("errorInfoDlg"));
    auto* text = new QLabel(QString::fromLatin1(texts::kErrorInfoText), this);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("statusList"));
    for (const std::string& line : form.Lines()) list->addItem(QString::fromStdString(line));
    // Wide enough for the longest line without a scroll bar.
    list->setMinimumWidth(qMax(340, list->sizeHintForColumn(0) + 2 * list->frameWidth() + 24));

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(list);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CErrorInfoDlg::OnOk);
    list->setFocus();
}
