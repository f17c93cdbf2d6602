#include "dialogs/maintenance/CIdentificationDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "diagnostics/CIdentificationForm.h"
#include "resources/Texts.h"

namespace {

QGroupBox* Group(const char* title, QWidget* parent) {
    return new QGroupBox(QString::fromLatin1(title), parent);
}

}  // namespace

CIdentificationDlg::CIdentificationDlg(CIdentificationForm& form, QWidget* parent)
    : CFormDialog(form, parent) {
    setObjectName(QStringLiteral("identificationDlg"));
    QGroupBox* numbers = Group(texts::kIdentificationGroup, this);
    auto* numbersGrid = new QGridLayout(numbers);
    int row = 0;
    for (const char* key :
         {"manufacturer", "model", "transmitter-serial-number", "sensor-serial-number"})
        AddFieldRow(numbersGrid, row++, key);
    numbersGrid->setColumnMinimumWidth(1, 140);

    QGroupBox* revisions = Group(texts::kRevisionsGroup, this);
    auto* revisionsGrid = new QGridLayout(revisions);
    row = 0;
    for (const char* key : {"universal-revision", "specific-revision", "hardware-revision",
                            "output-board-revision", "sensor-module-revision"})
        AddFieldRow(revisionsGrid, row++, key);
    revisionsGrid->setColumnMinimumWidth(1, 140);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(numbers);
    layout->addWidget(revisions);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CIdentificationDlg::OnOk);
    ok->setFocus();
}
