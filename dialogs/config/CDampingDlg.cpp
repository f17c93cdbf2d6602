#include "dialogs/config/CDampingDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "config/CDampingForm.h"
#include "resources/Texts.h"

CDampingDlg::CDampingDlg(CDampingForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_damping(form) {
    setObjectName(QStringLiteral("dampingDlg"));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const char* key : {"DP", "SP", "PT"}) AddFieldRow(grid, row++, key);

    auto* noteGroup = new QGroupBox(QString::fromLatin1(texts::kDampingNoteGroup), this);
    auto* icon = new QLabel(noteGroup);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size, size));
    m_note = new QLabel(noteGroup);
    m_note->setObjectName(QStringLiteral("noteText"));
    m_note->setWordWrap(true);
    m_note->setMinimumWidth(260);
    auto* noteLayout = new QHBoxLayout(noteGroup);
    noteLayout->addWidget(icon, 0, Qt::AlignTop);
    noteLayout->addWidget(m_note, 1);

    QHBoxLayout* buttons = ButtonRow();
    m_ok = AddButton(buttons, form.OkCaption().c_str(), "okButton");
    m_ok->setDefault(true);
    m_close = AddButton(buttons, texts::kCloseButton, "closeButton");
    QPushButton* cancel = AddButton(buttons, texts::kCancelButton, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(noteGroup);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CDampingDlg::OnOk);
    connect(m_close, &QPushButton::clicked, this, [this] {
        RunAction([this] { Handle(m_damping.Close()); });
    });
    connect(cancel, &QPushButton::clicked, this, &CDampingDlg::reject);
    UpdateControls();
    FieldWidget("DP")->setFocus();
}

void CDampingDlg::UpdateControls() {
    m_note->setText(QString::fromStdString(m_damping.Note()));
    m_ok->setEnabled(m_damping.OkEnabled());
    m_close->setEnabled(m_damping.CloseEnabled());
    // With "Send &Values" disabled, Enter keeps the approximated values.
    m_ok->setDefault(m_damping.OkEnabled());
    m_close->setDefault(!m_damping.OkEnabled());
}
