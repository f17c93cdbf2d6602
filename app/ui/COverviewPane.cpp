#include "app/ui/COverviewPane.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/ui/COverviewModel.h"

namespace {
constexpr const char* kDifferencesOnly = "Show differences &only";
constexpr const char* kNoCompare =
    "Transmitter column: empty. Compare with Transmitter (F5) reads the connected transmitter.";
constexpr const char* kStale =
    "Transmitter column: stale, the transmitter has been written since. Compare again (F5).";
constexpr const char* kEqual = "Transmitter column: no values differ.";
constexpr const char* kDiffer = "Transmitter column: %1 marked %2 differ.";
}  // namespace

COverviewPane::COverviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("overviewPane"));
    m_model = new COverviewModel(this);

    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("overviewTree"));
    m_tree->setModel(m_model);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setAlternatingRowColors(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_tree->setAccessibleName(QStringLiteral("Configuration overview"));

    m_differencesOnly = new QCheckBox(QString::fromLatin1(kDifferencesOnly), this);
    m_differencesOnly->setObjectName(QStringLiteral("differencesOnly"));
    m_compareLine = new QLabel(this);
    m_compareLine->setObjectName(QStringLiteral("compareLine"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_compareLine, 1);
    top->addWidget(m_differencesOnly);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(m_tree, 1);
    setTabOrder(m_tree, m_differencesOnly);

    connect(m_differencesOnly, &QCheckBox::toggled, this, [this] { Refresh(); });
    // A double-click or Enter on a row.
    connect(m_tree, &QTreeView::activated, this, &COverviewPane::OnActivated);
}

void COverviewPane::Show(const CConfigSummary& document, const CConfigSummary* transmitter,
                         bool stale) {
    m_document = document;
    m_hasDocument = true;
    if (transmitter != nullptr) {
        m_transmitter = *transmitter;
    } else {
        m_transmitter.reset();
    }
    m_stale = transmitter != nullptr && stale;
    Refresh();
}

void COverviewPane::ShowNothing() {
    m_hasDocument = false;
    m_transmitter.reset();
    m_model->removeRows(0, m_model->rowCount());
    m_compareLine->clear();
}

void COverviewPane::Refresh() {
    if (!m_hasDocument) return;
    // Without a compare there is nothing to filter by.
    m_differencesOnly->setEnabled(m_transmitter.has_value());
    m_model->Show(m_document, m_transmitter ? &*m_transmitter : nullptr, m_stale,
                  m_transmitter.has_value() && m_differencesOnly->isChecked());
    m_tree->expandAll();
    if (!m_transmitter) {
        m_compareLine->setText(QString::fromLatin1(kNoCompare));
    } else if (m_stale) {
        m_compareLine->setText(QString::fromLatin1(kStale));
    } else if (m_model->DifferenceCount() == 0) {
        m_compareLine->setText(QString::fromLatin1(kEqual));
    } else {
        const int n = m_model->DifferenceCount();
        m_compareLine->setText(
            QString::fromLatin1(kDiffer)
                .arg(n == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(n))
                .arg(QString::fromUtf8(COverviewModel::kDifferenceMark)));
    }
    for (int c = 0; c < COverviewModel::kTransmitterColumn; ++c) m_tree->resizeColumnToContents(c);
}

void COverviewPane::OnActivated(const QModelIndex& index) {
    if (!index.isValid()) return;
    const int area = index.data(COverviewModel::kAreaRole).toInt();
    if (area < 0) {
        m_tree->setExpanded(index.siblingAtColumn(0),
                            !m_tree->isExpanded(index.siblingAtColumn(0)));
        return;
    }
    emit AreaActivated(static_cast<SummaryArea>(area),
                       index.column() == COverviewModel::kTransmitterColumn);
}
