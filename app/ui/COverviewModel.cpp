#include "app/ui/COverviewModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <vector>

namespace {

constexpr const char* kFieldHeader = "Field";
constexpr const char* kDocumentHeader = "Configuration";
constexpr const char* kTransmitterHeader = "Transmitter";
constexpr const char* kStaleHeader = "Transmitter (stale: written since compared)";
constexpr const char* kDiffersTip = "Differs between the configuration and the transmitter";
constexpr const char* kStaleTip =
    "The transmitter has been written since this compare; compare again (F5) to see what it "
    "holds now";

const QColor kDifferenceTint(255, 214, 153);  // amber, readable with black text
const QColor kStaleText(110, 110, 110);

// One row of the merged view: a value of either summary.
struct Row {
    const SummaryField* document = nullptr;
    const SummaryField* transmitter = nullptr;
    std::string path;
    bool differs = false;
};

struct GroupRows {
    std::string title;
    std::vector<Row> rows;
};

// The groups and values of both summaries: the document's in its order, then
// what only the transmitter has.
std::vector<GroupRows> Merge(const CConfigSummary& document, const CConfigSummary* transmitter,
                             const std::set<std::string>& differing) {
    std::vector<GroupRows> out;
    auto fill = [&](const SummaryGroup& group, bool fromTransmitter) {
        GroupRows* target = nullptr;
        for (GroupRows& g : out) {
            if (g.title == group.title) target = &g;
        }
        if (target == nullptr) {
            out.push_back({group.title, {}});
            target = &out.back();
        }
        for (const SummaryField& field : group.fields) {
            const std::string path = group.key + "." + field.key;
            Row* row = nullptr;
            for (Row& r : target->rows) {
                if (r.path == path) row = &r;
            }
            if (row == nullptr) {
                target->rows.push_back({nullptr, nullptr, path, differing.count(path) != 0});
                row = &target->rows.back();
            }
            (fromTransmitter ? row->transmitter : row->document) = &field;
        }
    };
    for (const SummaryGroup& group : document.Groups()) fill(group, false);
    if (transmitter != nullptr) {
        for (const SummaryGroup& group : transmitter->Groups()) fill(group, true);
    }
    return out;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

COverviewModel::COverviewModel(QObject* parent) : QStandardItemModel(parent) {
    setColumnCount(kColumnCount);
    setHorizontalHeaderLabels({QString::fromLatin1(kFieldHeader),
                               QString::fromLatin1(kDocumentHeader),
                               QString::fromLatin1(kTransmitterHeader)});
}

void COverviewModel::Show(const CConfigSummary& document, const CConfigSummary* transmitter,
                          bool stale, bool differencesOnly) {
    // What the rows would show, as one text: rebuilt only when it changes.
    std::string signature =
        std::string(transmitter ? "T" : "-") + (stale ? "S" : "-") + (differencesOnly ? "D" : "-");
    auto sign = [&signature](const CConfigSummary& summary) {
        for (const SummaryGroup& group : summary.Groups()) {
            signature += '\x1d' + group.title;
            for (const SummaryField& field : group.fields)
                signature += '\x1e' + field.key + '\x1f' + field.label + '\x1f' + field.value;
        }
        signature += '\x1c';
    };
    sign(document);
    if (transmitter != nullptr) sign(*transmitter);
    if (signature == m_signature) return;
    m_signature = signature;
    Rebuild(document, transmitter, stale, differencesOnly);
}

void COverviewModel::Rebuild(const CConfigSummary& document, const CConfigSummary* transmitter,
                             bool stale, bool differencesOnly) {
    m_differing.clear();
    if (transmitter != nullptr) {
        for (const SummaryDifference& d : config::CompareSummaries(document, *transmitter))
            m_differing.insert(d.Path());
    }
    removeRows(0, rowCount());
    setHeaderData(kTransmitterColumn, Qt::Horizontal,
                  QString::fromLatin1(stale ? kStaleHeader : kTransmitterHeader));

    for (const GroupRows& group : Merge(document, transmitter, m_differing)) {
        int differences = 0;
        for (const Row& row : group.rows) differences += row.differs ? 1 : 0;
        if (differencesOnly && differences == 0) continue;

        // A group opens the window of its area when all its values share one.
        int groupArea = -1;
        for (const Row& row : group.rows) {
            const SummaryField* f = row.document ? row.document : row.transmitter;
            const int area = static_cast<int>(f->area);
            groupArea = groupArea == -1 || groupArea == area ? area : -2;
        }
        if (groupArea < 0) groupArea = -1;

        QString title = Text(group.title);
        if (differences > 0) {
            title = QString::fromUtf8(kDifferenceMark) + QLatin1Char(' ') + title +
                    QStringLiteral(" (%1 differ)").arg(differences);
        }
        auto* groupItem = new QStandardItem(title);
        QFont bold = groupItem->font();
        bold.setBold(true);
        groupItem->setFont(bold);
        QList<QStandardItem*> groupRow{groupItem, new QStandardItem, new QStandardItem};
        for (QStandardItem* item : groupRow) {
            item->setEditable(false);
            item->setData(groupArea, kAreaRole);
            item->setData(QString(), kPathRole);
            item->setData(differences > 0, kDiffersRole);
        }

        for (const Row& row : group.rows) {
            if (differencesOnly && !row.differs) continue;
            const SummaryField* field = row.document ? row.document : row.transmitter;
            QString label = Text(field->label);
            if (row.differs) label = QString::fromUtf8(kDifferenceMark) + QLatin1Char(' ') + label;
            QList<QStandardItem*> items{
                new QStandardItem(label),
                new QStandardItem(row.document ? Text(row.document->value) : QString()),
                new QStandardItem(row.transmitter ? Text(row.transmitter->value) : QString())};
            for (QStandardItem* item : items) {
                item->setEditable(false);
                item->setData(static_cast<int>(field->area), kAreaRole);
                item->setData(Text(row.path), kPathRole);
                item->setData(row.differs, kDiffersRole);
                if (row.differs) {
                    item->setBackground(QBrush(kDifferenceTint));
                    item->setForeground(QBrush(Qt::black));
                    item->setToolTip(QString::fromLatin1(kDiffersTip));
                }
            }
            if (stale && row.transmitter != nullptr) {
                QFont italic = items[kTransmitterColumn]->font();
                italic.setItalic(true);
                items[kTransmitterColumn]->setFont(italic);
                items[kTransmitterColumn]->setForeground(QBrush(kStaleText));
                items[kTransmitterColumn]->setToolTip(QString::fromLatin1(kStaleTip));
            }
            groupItem->appendRow(items);
        }
        appendRow(groupRow);
    }
}
