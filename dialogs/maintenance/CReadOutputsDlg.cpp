#include "dialogs/maintenance/CReadOutputsDlg.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/maintenance/COutputTrend.h"
#include "maintenance/CReadOutputsForm.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace {
constexpr const char* kWindowLabel = "&Window:";
constexpr const char* kMinutes[] = {"1 minute", "5 minutes", "15 minutes"};
constexpr const char* kPause = "&Pause";
constexpr const char* kResume = "&Resume";
constexpr const char* kExport = "&Export CSV...";
constexpr const char* kExportCaption = "Export CSV";
constexpr const char* kCsvFilter = "CSV files (*.csv);;All files (*)";
constexpr const char* kExportFailed = "The samples could not be written to %s.";
}  // namespace

CReadOutputsDlg::CReadOutputsDlg(CReadOutputsForm& form, QWidget* parent)
    : CFormDialog(form, parent),
      m_outputs(form),
      m_timer(new QTimer(this)),
      m_trend(new COutputTrend(this)) {
    setObjectName(QStringLiteral("readOutputsDlg"));
    // The pictures of the windows draw the trend once it holds a few seconds.
    setProperty("screenshotSettleMs", 4000);
    auto* group = new QGroupBox(QString::fromLatin1(texts::kTransmitterVariablesGroup), this);
    auto* rows = new QGridLayout(group);
    for (int row = 0; row < CReadOutputsForm::kRows; ++row) {
        auto* value = static_cast<QLabel*>(FieldWidget(CReadOutputsForm::ValueKey(row)));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(
            value->fontMetrics().horizontalAdvance(QStringLiteral("-0000.0000")));
        rows->addWidget(FieldWidget(CReadOutputsForm::LabelKey(row)), row, 0);
        rows->addWidget(value, row, 1);
        rows->addWidget(FieldWidget(CReadOutputsForm::UnitsKey(row)), row, 2);
    }
    rows->setColumnStretch(0, 1);
    rows->setColumnMinimumWidth(2, 90);

    auto* window = new QComboBox(this);
    window->setObjectName(QStringLiteral("trendWindow"));
    for (const char* text : kMinutes) window->addItem(QString::fromLatin1(text));
    auto* windowLabel = new QLabel(QString::fromLatin1(kWindowLabel), this);
    windowLabel->setBuddy(window);
    m_pause = new QPushButton(QString::fromLatin1(kPause), this);
    m_pause->setObjectName(QStringLiteral("pauseButton"));
    auto* exportButton = new QPushButton(QString::fromLatin1(kExport), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    auto* trendRow = new QHBoxLayout;
    trendRow->addWidget(windowLabel);
    trendRow->addWidget(window);
    trendRow->addStretch();
    trendRow->addWidget(m_pause);
    trendRow->addWidget(exportButton);

    QHBoxLayout* buttons = ButtonRow();
    QPushButton* ok = AddButton(buttons, texts::kOk, "okButton");
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(FieldWidget(CReadOutputsForm::kTimeKey));
    layout->addWidget(FieldWidget(CReadOutputsForm::kDateKey));
    layout->addWidget(m_trend, 1);
    layout->addLayout(trendRow);
    layout->addLayout(buttons);

    connect(window, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_trend->SetWindowMinutes(COutputTrend::kWindowsMinutes[index]); });
    connect(m_pause, &QPushButton::clicked, this, &CReadOutputsDlg::OnPause);
    connect(exportButton, &QPushButton::clicked, this, &CReadOutputsDlg::OnExport);
    connect(ok, &QPushButton::clicked, this, &CReadOutputsDlg::OnOk);

    m_trend->Update(m_outputs.Samples());
    m_timer->setObjectName(QStringLiteral("refreshTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CReadOutputsDlg::OnTimer);
    m_timer->start(CReadOutputsForm::kRefreshMs);
    ok->setFocus();
}

void CReadOutputsDlg::OnTimer() {
    const FormOutcome outcome = m_outputs.Refresh();
    if (outcome.result != FormResult::StayOpen) {
        Handle(outcome);
        return;
    }
    Refresh();
    m_trend->Update(m_outputs.Samples());
    // A window closed during the exchange stays closed.
    if (isVisible()) m_timer->start(CReadOutputsForm::kRefreshMs);
}

void CReadOutputsDlg::OnPause() {
    m_trend->SetPaused(!m_trend->Paused());
    m_pause->setText(QString::fromLatin1(m_trend->Paused() ? kResume : kPause));
    m_trend->Update(m_outputs.Samples());
}

void CReadOutputsDlg::OnExport() {
    const QString path = QFileDialog::getSaveFileName(this, QString::fromLatin1(kExportCaption),
                                                      QString(), QString::fromLatin1(kCsvFilter));
    if (!path.isEmpty()) ExportCsv(path);
}

bool CReadOutputsDlg::ExportCsv(const QString& path) {
    const std::string file = path.toStdString();
    if (maintenance::WriteSamplesCsvFile(file, m_outputs.Samples())) return true;
    Ui().MessageBox(FormatText(kExportFailed, file.c_str()), MsgButtons::Ok, MsgIcon::Stop);
    return false;
}

void CReadOutputsDlg::done(int result) {
    m_timer->stop();
    CFormDialog::done(result);
}
