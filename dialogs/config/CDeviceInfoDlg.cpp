#include "dialogs/config/CDeviceInfoDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CDeviceInfoForm.h"
#include "resources/Texts.h"

CDeviceInfoDlg::CDeviceInfoDlg(CDeviceInfoForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("deviceInfoDlg"));
    auto* textGrid = new QGridLayout;
    int row = 0;
    for (const char* key : {"tag", "date", "descriptor", "message"})
        AddFieldRow(textGrid, row++, key);
    textGrid->setRowStretch(row, 1);
    textGrid->setColumnMinimumWidth(1, 200);

    auto* codes = new QGridLayout;
    row = 0;
    for (const char* key :
         {"flange-type", "flange-material", "o-ring-material", "drain-vent-material", "seal-type",
          "seal-fill", "seal-material", "seal-count"})
        AddFieldRow(codes, row++, key);
    codes->setColumnMinimumWidth(1, 180);

    auto* columns = new QHBoxLayout;
    columns->addLayout(textGrid);
    columns->addSpacing(16);
    columns->addLayout(codes);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CDeviceInfoDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CDeviceInfoDlg::reject);
    FieldWidget("tag")->setFocus();
}
