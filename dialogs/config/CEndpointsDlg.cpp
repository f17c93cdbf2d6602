#include "dialogs/config/CEndpointsDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/CEndpointsForm.h"
#include "dialogs/config/ScalingLayout.h"
#include "resources/Texts.h"

CEndpointsDlg::CEndpointsDlg(CEndpointsForm& form, QWidget* parent) : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("endpointsDlg"));
    auto* grid = new QGridLayout;
    const char* first[] = {texts::kMinimumColumn, texts::kMaximumColumn, texts::kMinimumColumn,
                           texts::kMaximumColumn};
    const char* second[] = {texts::kIntegerValueColumn, texts::kIntegerValueColumn,
                            texts::kProcessVariableColumn, texts::kProcessVariableColumn};
    for (int c = 0; c < 4; ++c) {
        grid->addWidget(dialogs::ColumnHeading(first[c], this), 0, c + 1);
        grid->addWidget(dialogs::ColumnHeading(second[c], this), 1, c + 1);
        grid->setColumnMinimumWidth(c + 1, 100);
    }
    const char* parts[] = {"-min-integer", "-max-integer", "-min-pv", "-max-pv"};
    int row = 2;
    for (const char* variable : {"DP", "SP", "PT"}) {
        const std::string key = variable;
        grid->addWidget(FieldLabel(key + parts[0]), row, 0);
        for (int c = 0; c < 4; ++c) grid->addWidget(FieldWidget(key + parts[c]), row, c + 1);
        grid->addWidget(
            new QLabel(QString::fromStdString(form.Field(key + parts[3])->suffix), this), row, 5);
        ++row;
    }

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kSetScalingButton, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancelButton, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CEndpointsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CEndpointsDlg::reject);
    FieldWidget("DP-min-integer")->setFocus();
}
