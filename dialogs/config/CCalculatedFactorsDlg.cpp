#include "dialogs/config/CCalculatedFactorsDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/CCalculatedFactorsForm.h"
#include "config/CFactorsViewForm.h"
#include "dialogs/config/CEnteredFactorsDlg.h"
#include "dialogs/config/ScalingLayout.h"
#include "resources/Texts.h"

CCalculatedFactorsDlg::CCalculatedFactorsDlg(CCalculatedFactorsForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_calculated(form) {
    setObjectName(QStringLiteral("calculatedFactorsDlg"));
    auto* counts = new QHBoxLayout;
    counts->addWidget(FieldLabel("counts"));
    QWidget* countsField = FieldWidget("counts");
    countsField->setFixedWidth(80);
    counts->addWidget(countsField);
    counts->addWidget(new QLabel(QString::fromUtf8(texts::kCountsLineEnd), this));
    counts->addStretch();

    // The rounding is a choice of three, shown as radio buttons.
    auto* rounding = new QGroupBox(QString::fromUtf8(texts::kRoundingGroup), this);
    rounding->setObjectName(QStringLiteral("field_rounding"));
    auto* roundingLayout = new QHBoxLayout(rounding);
    const char* names[] = {"roundNearest", "roundDown", "roundUp"};
    const FormField* roundingField = form.Field("rounding");
    for (size_t i = 0; i < m_rounding.size(); ++i) {
        m_rounding[i] =
            new QRadioButton(QString::fromUtf8(roundingField->choices[i].c_str()), rounding);
        m_rounding[i]->setObjectName(QString::fromLatin1(names[i]));
        roundingLayout->addWidget(m_rounding[i]);
        connect(m_rounding[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) m_calculated.SetChoice("rounding", static_cast<int>(i));
        });
    }
    roundingLayout->addStretch();

    auto* grid = new QGridLayout;
    grid->addWidget(dialogs::ColumnHeading(texts::kMinimumColumn, this), 0, 1);
    grid->addWidget(dialogs::ColumnHeading(texts::kMaximumColumn, this), 0, 2);
    grid->addWidget(dialogs::ColumnHeading(texts::kProcessVariableColumn, this), 1, 1);
    grid->addWidget(dialogs::ColumnHeading(texts::kProcessVariableColumn, this), 1, 2);
    grid->setColumnMinimumWidth(1, 110);
    grid->setColumnMinimumWidth(2, 110);
    int row = 2;
    for (const char* variable : {"DP", "SP", "PT"}) {
        const std::string key = variable;
        grid->addWidget(FieldLabel(key + "-min-pv"), row, 0);
        grid->addWidget(FieldWidget(key + "-min-pv"), row, 1);
        grid->addWidget(FieldWidget(key + "-max-pv"), row, 2);
        grid->addWidget(
            new QLabel(QString::fromStdString(form.Field(key + "-max-pv")->suffix), this), row, 3);
        ++row;
    }

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* view = AddButton(buttons, texts::kViewFactorsButton, "viewFactorsButton");
    QPushButton* ok = AddButton(buttons, texts::kSetScalingButton, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancelButton, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(counts);
    layout->addWidget(rounding);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(view, &QPushButton::clicked, this, &CCalculatedFactorsDlg::OnViewFactors);
    connect(ok, &QPushButton::clicked, this, &CCalculatedFactorsDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CCalculatedFactorsDlg::reject);
    UpdateControls();
    countsField->setFocus();
}

void CCalculatedFactorsDlg::UpdateControls() {
    const int selected = m_calculated.Field("rounding")->selected;
    if (selected >= 0 && selected < static_cast<int>(m_rounding.size()))
        m_rounding[static_cast<size_t>(selected)]->setChecked(true);
}

void CCalculatedFactorsDlg::OnViewFactors() {
    FormOutcome outcome;
    std::unique_ptr<CFactorsViewForm> view;
    if (!RunAction([&] { view = m_calculated.ViewFactors(outcome); })) return;
    Handle(outcome);
    if (!view || !view->Open()) return;
    CEnteredFactorsDlg window(*view, this, CEnteredFactorsDlg::Buttons::None);
    window.exec();
}
