#include "dialogs/config/CEnteredFactorsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CConfigForm.h"
#include "dialogs/config/ScalingLayout.h"
#include "resources/Texts.h"

CEnteredFactorsDlg::CEnteredFactorsDlg(CConfigForm& form, QWidget* parent, Buttons buttons)
    : CFormDialog(form, parent) {
    setObjectName(buttons == Buttons::None ? QStringLiteral("factorsViewDlg")
                                           : QStringLiteral("enteredFactorsDlg"));
    auto* counts = new QHBoxLayout;
    counts->addWidget(FieldLabel("counts"));
    QWidget* countsField = FieldWidget("counts");
    countsField->setFixedWidth(80);
    counts->addWidget(countsField);
    counts->addWidget(new QLabel(QString::fromUtf8(texts::kCountsLineEnd), this));
    counts->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(dialogs::ColumnHeading(texts::kScaleFactorColumn, this), 0, 1);
    grid->addWidget(dialogs::ColumnHeading(texts::kOffsetColumn, this), 0, 2);
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(2, 110);
    int row = 1;
    for (const char* variable : {"DP", "SP", "PT"}) {
        const std::string key = variable;
        grid->addWidget(FieldLabel(key + "-factor"), row, 0);
        grid->addWidget(FieldWidget(key + "-factor"), row, 1);
        grid->addWidget(FieldWidget(key + "-offset"), row, 2);
        grid->addWidget(
            new QLabel(QString::fromStdString(form.Field(key + "-offset")->suffix), this), row, 3);
        ++row;
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counts);
    layout->addSpacing(6);
    layout->addLayout(grid);
    if (buttons == Buttons::None) return;

    QHBoxLayout* buttonRow = ButtonRow();
    QPushButton* ok = AddButton(buttonRow, texts::kSetScalingButton, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttonRow, texts::kCancelButton, "cancelButton");
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    connect(ok, &QPushButton::clicked, this, &CEnteredFactorsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CEnteredFactorsDlg::reject);
    countsField->setFocus();
}
