#include "dialogs/config/CLcdDisplayDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/CLcdDisplayForm.h"
#include "resources/Texts.h"
#include "transmitter/CLCDDisplay.h"

namespace {

constexpr int kCodeRole = Qt::UserRole;

QListWidget* MakeList(QWidget* parent, const char* objectName) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumWidth(
        list->fontMetrics().horizontalAdvance(QStringLiteral("Process Temperature")) + 40);
    list->setMinimumHeight(list->fontMetrics().lineSpacing() * 5 + 8);
    return list;
}

void FillList(QListWidget* list, const std::vector<uint16_t>& codes,
              const std::vector<uint16_t>& selected) {
    list->clear();
    for (uint16_t code : codes) {
        auto* item = new QListWidgetItem(QString::fromStdString(CLCDDisplay::ItemName(code)), list);
        item->setData(kCodeRole, code);
        item->setSelected(std::find(selected.begin(), selected.end(), code) != selected.end());
    }
}

}  // namespace

CLcdDisplayDlg::CLcdDisplayDlg(CLcdDisplayForm& form, QWidget* parent)
    : CFormDialog(form, parent), m_lcd(form) {
    setObjectName(QStringLiteral("lcdDisplayDlg"));
    m_displayed = MakeList(this, "displayedList");
    m_notDisplayed = MakeList(this, "notDisplayedList");
    auto* displayedLabel = new QLabel(QString::fromLatin1(texts::kDisplayedList), this);
    displayedLabel->setBuddy(m_displayed);
    auto* notDisplayedLabel = new QLabel(QString::fromLatin1(texts::kNotDisplayedList), this);
    notDisplayedLabel->setBuddy(m_notDisplayed);

    auto* moveOut = new QPushButton(QString::fromLatin1(texts::kMoveToNotDisplayed), this);
    moveOut->setObjectName(QStringLiteral("moveOutButton"));
    auto* moveIn = new QPushButton(QString::fromLatin1(texts::kMoveToDisplayed), this);
    moveIn->setObjectName(QStringLiteral("moveInButton"));
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    moves->addWidget(moveOut);
    moves->addWidget(moveIn);
    moves->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(displayedLabel, 0, 0);
    lists->addWidget(notDisplayedLabel, 0, 2);
    lists->addWidget(m_displayed, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_notDisplayed, 1, 2);

    auto* interval = new QGridLayout;
    AddFieldRow(interval, 0, "interval");
    FieldWidget("interval")
        ->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    interval->setColumnStretch(3, 1);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);
    QPushButton* cancel = AddButton(buttons, texts::kCancel, "cancelButton");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addSpacing(8);
    layout->addLayout(interval);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(moveOut, &QPushButton::clicked, this, [this] { Move(true); });
    connect(moveIn, &QPushButton::clicked, this, [this] { Move(false); });
    // A double click moves one entry across.
    connect(m_displayed, &QListWidget::itemDoubleClicked, this, [this] { Move(true); });
    connect(m_notDisplayed, &QListWidget::itemDoubleClicked, this, [this] { Move(false); });
    connect(ok, &QPushButton::clicked, this, &CLcdDisplayDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CLcdDisplayDlg::reject);
    ShowLists({});
    m_displayed->setFocus();
}

std::vector<int> CLcdDisplayDlg::SelectedRows(const QListWidget& list) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected()) rows.push_back(row);
    }
    return rows;
}

void CLcdDisplayDlg::Move(bool toNotDisplayed) {
    const std::vector<uint16_t> moved = toNotDisplayed
                                            ? m_lcd.MoveToNotDisplayed(SelectedRows(*m_displayed))
                                            : m_lcd.MoveToDisplayed(SelectedRows(*m_notDisplayed));
    if (moved.empty()) return;
    ShowLists(moved);
}

void CLcdDisplayDlg::ShowLists(const std::vector<uint16_t>& selected) {
    FillList(m_displayed, m_lcd.Displayed(), selected);
    FillList(m_notDisplayed, m_lcd.NotDisplayed(), selected);
}
