#include "dialogs/maintenance/CModuleInfoDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "diagnostics/CModuleInfoForm.h"
#include "resources/Texts.h"

CModuleInfoDlg::CModuleInfoDlg(CModuleInfoForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("moduleInfoDlg"));

    auto* sensors = new QGroupBox(QString::fromLatin1(texts::kSensorInformationGroup), this);
    auto* table = new QGridLayout(sensors);
    table->setHorizontalSpacing(16);
    const char* columns[] = {"range", "lrl", "url", "units", "min-span"};
    const char* headings[] = {texts::kRangeColumn, texts::kLrlColumn, texts::kUrlColumn,
                              texts::kUnitsColumn, texts::kMinSpanColumn};
    for (int c = 0; c < 5; ++c) {
        auto* heading = new QLabel(QString::fromLatin1(headings[c]), sensors);
        heading->setAlignment(Qt::AlignCenter);
        table->addWidget(heading, 0, c + 1);
    }
    const char* rows[] = {texts::kDpRow, texts::kSpRow, texts::kPtRow};
    for (int v = 0; v < 3; ++v) {
        table->addWidget(new QLabel(QString::fromLatin1(rows[v]), sensors), v + 1, 0);
        for (int c = 0; c < 5; ++c) {
            auto* value =
                static_cast<QLabel*>(FieldWidget(CModuleInfoForm::ModuleKey(v, columns[c])));
            value->setAlignment(c == 3 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
            value->setMinimumWidth(60);
            table->addWidget(value, v + 1, c + 1);
        }
    }

    auto* materials = new QGroupBox(QString::fromLatin1(texts::kMaterialsGroup), this);
    auto* grid = new QGridLayout(materials);
    int row = 0;
    for (const char* key : {"isolator-material", "fill-fluid", "flange-type", "flange-material",
                            "drain-vent-material", "o-ring-material", "seal-type", "seal-fill",
                            "seal-material", "seal-count", "fixed-pt"})
        AddFieldRow(grid, row++, key);
    grid->setColumnMinimumWidth(1, 180);
    grid->setColumnStretch(1, 1);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sensors);
    layout->addWidget(materials);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CModuleInfoDlg::OnOk);
    ok->setFocus();
}
