#include "dialogs/config/CUnitsDlg.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CUnitsForm.h"
#include "resources/Texts.h"

CUnitsDlg::CUnitsDlg(CUnitsForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("unitsDlg"));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const char* key : {"DP", "SP", "PT"}) AddFieldRow(grid, row++, key);
    grid->setColumnMinimumWidth(1, 160);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CUnitsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CUnitsDlg::reject);
    FieldWidget("DP")->setFocus();
}
