#include "dialogs/CChangeLogDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "app/ChangeLogQuery.h"
#include "app/FileBytes.h"
#include "link/ErrorReport.h"

namespace {

constexpr const char* kTitle = "Change Log";
constexpr const char* kAllTags = "(all tags)";
constexpr const char* kCsvFilter = "CSV files (*.csv)";
constexpr const char* kProposedName = "changes.csv";

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CChangeLogDlg::CChangeLogDlg(const std::string& logPath, QWidget* parent, AskSavePath askSavePath)
    : QDialog(parent), m_askSavePath(std::move(askSavePath)) {
    setObjectName(QStringLiteral("changeLogDlg"));
    setWindowTitle(QString::fromLatin1(kTitle));

    size_t skipped = 0;
    m_records = CChangeLog::Read(logPath, &skipped);

    m_tag = new QComboBox(this);
    m_tag->setObjectName(QStringLiteral("tagFilter"));
    m_tag->addItem(QString::fromLatin1(kAllTags));
    for (const std::string& tag : changelog::Tags(m_records)) m_tag->addItem(Q(tag));
    auto* tagLabel = new QLabel(QStringLiteral("&Tag:"), this);
    tagLabel->setBuddy(m_tag);

    m_sinceCheck = new QCheckBox(QStringLiteral("&Since:"), this);
    m_sinceCheck->setObjectName(QStringLiteral("sinceCheck"));
    m_since = new QDateEdit(QDate::currentDate(), this);
    m_since->setObjectName(QStringLiteral("sinceDate"));
    m_since->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_since->setCalendarPopup(true);
    m_since->setEnabled(false);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("changeTable"));
    const QStringList headers = {QStringLiteral("Time"),      QStringLiteral("Tag"),
                                 QStringLiteral("Port"),      QStringLiteral("Bit Rate"),
                                 QStringLiteral("Address"),   QStringLiteral("Window"),
                                 QStringLiteral("Field"),     QStringLiteral("Old Value"),
                                 QStringLiteral("New Value"), QStringLiteral("Outcome")};
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("countLabel"));
    if (skipped > 0) {
        m_count->setToolTip(
            QStringLiteral("%1 damaged line(s) of the log were skipped").arg(skipped));
    }

    auto* exportButton = new QPushButton(QStringLiteral("&Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("exportCsvButton"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);

    auto* filters = new QHBoxLayout;
    filters->addWidget(tagLabel);
    filters->addWidget(m_tag, 1);
    filters->addSpacing(12);
    filters->addWidget(m_sinceCheck);
    filters->addWidget(m_since);
    filters->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(1120, 440);

    connect(m_tag, &QComboBox::currentIndexChanged, this, &CChangeLogDlg::Refill);
    connect(m_sinceCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_since->setEnabled(on);
        Refill();
    });
    connect(m_since, &QDateEdit::dateChanged, this, &CChangeLogDlg::Refill);
    connect(exportButton, &QPushButton::clicked, this, &CChangeLogDlg::OnExport);
    connect(close, &QPushButton::clicked, this, &CChangeLogDlg::accept);
    setTabOrder(m_tag, m_sinceCheck);
    setTabOrder(m_sinceCheck, m_since);
    setTabOrder(m_since, m_table);
    setTabOrder(m_table, exportButton);
    setTabOrder(exportButton, close);
    Refill();
}

void CChangeLogDlg::Refill() {
    changelog::Filter filter;
    if (m_tag->currentIndex() > 0) filter.tag = m_tag->currentText().toStdString();
    if (m_sinceCheck->isChecked())
        filter.since = m_since->date().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    m_shown = changelog::Select(m_records, filter);

    m_table->setRowCount(static_cast<int>(m_shown.size()));
    for (int row = 0; row < static_cast<int>(m_shown.size()); ++row) {
        const ChangeRecord& r = m_shown[static_cast<size_t>(row)];
        const QString cells[] = {Q(r.time),
                                 Q(r.tag).trimmed(),
                                 Q(r.port),
                                 r.bitRate > 0 ? QString::number(r.bitRate, 'g', 15) : QString(),
                                 r.address >= 0 ? QString::number(r.address) : QString(),
                                 Q(r.area),
                                 Q(r.field),
                                 Q(r.oldValue),
                                 Q(r.newValue),
                                 Q(changelog::OutcomeText(r))};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            m_table->setItem(row, column, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_count->setText(QStringLiteral("%1 of %2 records").arg(m_shown.size()).arg(m_records.size()));
}

bool CChangeLogDlg::ExportCsv(const std::string& path) {
    const std::string csv = changelog::Csv(m_shown);
    try {
        app::WriteFileAtomically(path, std::vector<uint8_t>(csv.begin(), csv.end()));
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
    return true;
}

void CChangeLogDlg::OnExport() {
    std::optional<std::string> path;
    if (m_askSavePath) {
        path = m_askSavePath(kProposedName);
    } else {
        const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"),
                                                            QString::fromLatin1(kProposedName),
                                                            QString::fromLatin1(kCsvFilter));
        if (!chosen.isEmpty()) path = chosen.toStdString();
    }
    if (path) ExportCsv(*path);
}
