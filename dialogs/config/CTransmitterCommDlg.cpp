#include "dialogs/config/CTransmitterCommDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CTransmitterCommForm.h"
#include "resources/Texts.h"

CTransmitterCommDlg::CTransmitterCommDlg(CTransmitterCommForm& form, QWidget* parent)
    : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("transmitterCommDlg"));
    auto* grid = new QGridLayout;
    AddFieldRow(grid, 0, "turnaround");
    grid->setColumnMinimumWidth(1, 80);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CTransmitterCommDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CTransmitterCommDlg::reject);
    FieldWidget("turnaround")->setFocus();
}
