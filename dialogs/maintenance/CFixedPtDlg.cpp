#include "dialogs/maintenance/CFixedPtDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "maintenance/CFixedPtForm.h"
#include "resources/Texts.h"

CFixedPtDlg::CFixedPtDlg(CFixedPtForm& form, QWidget* parent)
    : CFormDialog(form, parent),
      m_fixed(form),
      m_check(new QCheckBox(QString::fromLatin1(texts::kFixedTempCheck), this)) {
    setObjectName(QStringLiteral("fixedPtDlg"));
    m_check->setObjectName(QStringLiteral("field_fixed"));
    auto* line = new QLabel(QString::fromLatin1(texts::kFixedTempCheckLine), this);

    const std::string key = CFixedPtForm::kTemperatureKey;
    auto* grid = new QGridLayout;
    m_label = FieldLabel(key);
    grid->addWidget(m_label, 0, 0);
    FieldWidget(key)->setMaximumWidth(120);
    grid->addWidget(FieldWidget(key), 0, 1);
    grid->addWidget(new QLabel(QString::fromStdString(form.Field(key)->suffix), this), 0, 2);
    grid->setColumnStretch(3, 1);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_check);
    layout->addWidget(line);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_check, &QCheckBox::clicked, this, [this](bool on) {
        m_fixed.SetChoice(CFixedPtForm::kFixedKey, on ? 1 : 0);
        Refresh();
        if (on) FocusField(CFixedPtForm::kTemperatureKey);
    });
    connect(ok, &QPushButton::clicked, this, &CFixedPtDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CFixedPtDlg::reject);
    UpdateControls();
    m_check->setFocus();
}

void CFixedPtDlg::UpdateControls() {
    m_check->setChecked(m_fixed.Fixed());
    m_label->setEnabled(m_fixed.Field(CFixedPtForm::kTemperatureKey)->enabled);
}
