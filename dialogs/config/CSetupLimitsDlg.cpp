#include "dialogs/config/CSetupLimitsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CSetupLimitsForm.h"
#include "resources/Texts.h"

namespace {
QLabel* Heading(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}
}  // namespace

CSetupLimitsDlg::CSetupLimitsDlg(CSetupLimitsForm& form, QWidget* parent)
    : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("setupLimitsDlg"));
    auto* grid = new QGridLayout;
    grid->addWidget(Heading(texts::kLowerColumn, this), 0, 1);
    grid->addWidget(Heading(texts::kUpperColumn, this), 0, 2);
    grid->addWidget(Heading(texts::kOperatingLimitColumn, this), 1, 1);
    grid->addWidget(Heading(texts::kOperatingLimitColumn, this), 1, 2);
    for (int v = 0; v < 3; ++v) {
        const std::string lower = CSetupLimitsForm::LowerKey(v);
        const std::string upper = CSetupLimitsForm::UpperKey(v);
        grid->addWidget(FieldLabel(lower), v + 2, 0);
        grid->addWidget(FieldWidget(lower), v + 2, 1);
        grid->addWidget(FieldWidget(upper), v + 2, 2);
        grid->addWidget(new QLabel(QString::fromStdString(form.Field(upper)->suffix), this), v + 2,
                        3);
    }
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(2, 110);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kSetLimitsButton, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancelButton, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CSetupLimitsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CSetupLimitsDlg::reject);
    FieldWidget(CSetupLimitsForm::LowerKey(0))->setFocus();
}
