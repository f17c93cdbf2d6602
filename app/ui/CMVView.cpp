#include "app/ui/CMVView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <exception>

#include "app/CChangeLog.h"
#include "app/CConnectEngine.h"
#include "app/CSecurity.h"
#include "app/CommandTable.h"
#include "app/WorkflowContext.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/COverviewPane.h"
#include "app/ui/CSplashWnd.h"
#include "app/ui/IAppDocument.h"
#include "app/ui/UiTexts.h"
#include "config/CCommissioningReport.h"
#include "config/CFlowSetup.h"
#include "config/TransmitterSummary.h"
#include "dialogs/CChangeLogDlg.h"
#include "dialogs/CHostCommDlg.h"
#include "dialogs/FormWindows.h"
#include "dialogs/WorkflowDialogs.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "report/ReportContent.h"
#include "report/ReportPdf.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {
constexpr unsigned kTextExitQuestion = 400;
constexpr unsigned kTextNotCompleted = 2102;
constexpr const char* kReportFilter = "PDF document (*.pdf)";
constexpr const char* kReportNotWritten = "The report could not be written to %1:\n%2";
constexpr const char* kReportWritten = "Report written to %1";
constexpr const char* kReportFileSuffix = "-report.pdf";
constexpr const char* kReportTransmitterSource = "transmitter at polling address %1";
constexpr const char* kReplaceQuestion =
    "%1 already exists and holds another configuration.\n"
    "Do you want to replace it, or save this configuration under another name?";

// Files are named by their absolute path, so that the title, the recent-file
// list and a later save mean the same file wherever the program was started.
std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    return QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
}
}  // namespace

CMVView::CMVView(CMainFrame& frame, IAppDocument& document, ISettingsStore& settings,
                 QWidget* parent)
    : QWidget(parent), m_frame(frame), m_document(document), m_settings(settings) {
    setObjectName(QStringLiteral("mainView"));
    m_overview = new COverviewPane(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_overview);
    connect(m_overview, &COverviewPane::AreaActivated, this, &CMVView::OnAreaActivated);
}

void CMVView::OnCommand(int id) {
    // A command that waits for the link lets events through; a second command
    // arriving meanwhile must not start inside the first.
    if (m_inCommand) {
        QApplication::beep();
        return;
    }
    m_inCommand = true;
    try {
        switch (id) {
            case cmd::kFileNew:
                if (SaveModified()) NewDocument();
                break;
            case cmd::kFileOpen:
                OnFileOpen();
                break;
            case cmd::kFileSave:
                OnFileSave(false);
                break;
            case cmd::kFileSaveAs:
                OnFileSave(true);
                break;
            case cmd::kAppExit:
                OnAppExit();
                break;
            case cmd::kHostComm:
                OnHostComm();
                break;
            case cmd::kViewToolbar:
                m_frame.ToolBar()->setVisible(!m_frame.ToolBar()->isVisibleTo(&m_frame));
                break;
            case cmd::kViewStatusBar:
                m_frame.statusBar()->setVisible(!m_frame.statusBar()->isVisibleTo(&m_frame));
                break;
            case cmd::kAppAbout:
                OnAbout();
                break;
            case cmd::kViewChangeLog: {
                CChangeLogDlg changes(ChangeLog().Path(), this);
                changes.exec();
                break;
            }
            case cmd::kSetupFlow:
                OnFlowSetup();
                break;
            case cmd::kCompare:
                OnCompare();
                break;
            case cmd::kExportReport:
                OnExportReport();
                break;
            case cmd::kConnect:
            case cmd::kDisconnect:
            case cmd::kSendConfig:
            case cmd::kRecvConfig:
            case cmd::kLogIn:
            case cmd::kSecurityOnOff:
                OnWorkflowCommand(id);
                break;
            default:
                if (id >= cmd::kFileMru1 && id < cmd::kFileMru1 + cmd::kMruCount) {
                    OnRecentFile(id - cmd::kFileMru1);
                } else if (dialogs::FindFormWindow(id) != nullptr) {
                    OnFormWindow(id);
                } else {
                    ShowNotAvailable();
                }
                break;
        }
    } catch (const std::exception& e) {
        ReportException(e);
    }
    m_inCommand = false;
    m_frame.UpdateCommandUi();
}

bool CMVView::ConfirmExit() {
    return Ui().MessageBox(LoadString(kTextExitQuestion), MsgButtons::YesNo, MsgIcon::Question) ==
           MsgAnswer::Yes;
}

void CMVView::OnAppExit() {
    if (ConfirmExit()) m_frame.CloseConfirmed();
}

std::string CMVView::PathName() const { return m_document.PathName(); }

std::string CMVView::DocumentName() const {
    const std::string path = PathName();
    if (path.empty()) return uitexts::kUntitled;
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

void CMVView::RefreshTitle() { m_frame.UpdateTitle(QString::fromStdString(DocumentName())); }

bool CMVView::SaveModified() {
    if (!m_document.IsModified()) return true;
    const std::string prompt = QString::fromLatin1(uitexts::kSaveChanges)
                                   .arg(QString::fromStdString(DocumentName()))
                                   .toStdString();
    switch (Ui().MessageBox(prompt, MsgButtons::YesNoCancel, MsgIcon::Question)) {
        case MsgAnswer::Yes:
            try {
                return OnFileSave(false);
            } catch (const std::exception& e) {
                ReportException(e);
                return false;
            }
        case MsgAnswer::No:
            return true;
        default:
            return false;
    }
}

void CMVView::NewDocument() {
    m_document.NewDocument();
    RefreshTitle();
}

bool CMVView::OpenDocumentFile(const std::string& path) { return SaveModified() && LoadFile(path); }

bool CMVView::LoadFile(const std::string& name) {
    const std::string path = AbsolutePath(name);
    try {
        m_document.Load(path);
    } catch (const std::exception& e) {
        // A file that was read but not loaded has left the document untitled.
        RefreshTitle();
        ReportException(e);
        return false;
    }
    RefreshTitle();
    m_frame.RecentFiles().Add(path);
    m_frame.UpdateRecentFileMenu();
    return true;
}

std::optional<std::string> CMVView::AskFileName(FileDialog kind, const std::string& proposed) {
    if (m_fileDialog) return m_fileDialog(kind, proposed);
    const bool report = kind == FileDialog::Report;
    const QString filter =
        report ? QString::fromLatin1(kReportFilter) : QString::fromLatin1(uitexts::kFileFilter);
    QFileDialog dialog(this, QString(), QString::fromStdString(proposed), filter);
    dialog.setDefaultSuffix(report ? QStringLiteral("pdf")
                                   : QString::fromLatin1(uitexts::kDefaultExtension));
    if (kind == FileDialog::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void CMVView::OnFileOpen() {
    if (!SaveModified()) return;
    std::optional<std::string> path = AskFileName(FileDialog::Open, {});
    if (path) LoadFile(*path);
}

MsgAnswer CMVView::AskReplace(const std::string& path) {
    const std::string question =
        QString::fromLatin1(kReplaceQuestion).arg(QString::fromStdString(path)).toStdString();
    return Ui().MessageBox(question, MsgButtons::ReplaceSaveAsCancel, MsgIcon::Exclamation);
}

bool CMVView::OnFileSave(bool askForName) {
    std::string path = PathName();
    // A received configuration carries the tag's name, and every new
    // transmitter has the same tag: the file of that name may hold another
    // transmitter's configuration.
    if (!askForName && !path.empty() && m_document.ReplacesAnotherFile(AbsolutePath(path))) {
        switch (AskReplace(AbsolutePath(path))) {
            case MsgAnswer::Yes:
                break;
            case MsgAnswer::No:
                askForName = true;
                break;
            default:
                return false;
        }
    }
    if (askForName || path.empty()) {
        const std::string proposed =
            path.empty() ? std::string(uitexts::kUntitled) + "." + uitexts::kDefaultExtension
                         : path;
        // The file dialog asks itself before it replaces a file.
        std::optional<std::string> chosen = AskFileName(FileDialog::Save, proposed);
        if (!chosen) return false;
        path = *chosen;
    }
    path = AbsolutePath(path);
    m_document.Save(path);
    RefreshTitle();
    m_frame.RecentFiles().Add(path);
    m_frame.UpdateRecentFileMenu();
    return true;
}

void CMVView::OnRecentFile(int slot) {
    const auto& files = m_frame.RecentFiles().Files();
    if (slot < 0 || static_cast<size_t>(slot) >= files.size()) return;
    const std::string path = files[static_cast<size_t>(slot)];
    if (!OpenDocumentFile(path) && !QFileInfo::exists(QString::fromStdString(path))) {
        m_frame.RecentFiles().Remove(path);
        m_frame.UpdateRecentFileMenu();
    }
}

void CMVView::OnHostComm() {
    CHostCommDlg dialog(m_settings, m_reloadLinkSettings, this);
    dialog.exec();
}

void CMVView::OnAbout() {
    CSplashWnd about(CSplashWnd::Use::About, QString(), &m_frame);
    about.exec();
}

void CMVView::OnWorkflowCommand(int id) {
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr) {
        ShowNotAvailable();
        return;
    }
    switch (id) {
        case cmd::kConnect: {
            std::string connected;
            if (dialogs::RunConnectDialog(&m_frame, *context, &connected) == QDialog::Accepted) {
                m_frame.ShowConnectionMessage(connected);
            }
            break;
        }
        case cmd::kDisconnect:
            CConnectEngine(*context).Disconnect();
            break;
        case cmd::kSendConfig:
            OnSendConfig(*context);
            break;
        case cmd::kRecvConfig:
            // The received document takes the tag's name as its path, without
            // a place in the recent-file list.
            dialogs::RunReceiveConfiguration(
                &m_frame, *context, [this] { return SaveModified(); },
                [this](const std::string&) { RefreshTitle(); });
            // A receive that did not complete has left the document untitled.
            RefreshTitle();
            break;
        case cmd::kLogIn:
            dialogs::RunLogIn(*context);
            break;
        case cmd::kSecurityOnOff:
            context->security.ToggleSecurity(context->Comm(), context->Access());
            m_frame.SetSecurityMenuText(context->security.Enabled());
            break;
        default:
            break;
    }
    m_frame.UpdateStatusPanes();
}

void CMVView::OnFlowSetup() {
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr) {
        ShowNotAvailable();
        return;
    }
    // The setup pages' data grids are Qt's table widgets: the grid component is
    // the widgets library, looked for in the system's library folder, then here.
    const config::GridComponent grid{QLibraryInfo::path(QLibraryInfo::LibrariesPath).toStdString(),
                                     QDir::currentPath().toStdString(), "libQt6Widgets.so.6"};
    config::RunFlowSetup(context->doc, grid);
}

void CMVView::OnFormWindow(int id) {
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr) {
        ShowNotAvailable();
        return;
    }
    dialogs::RunFormWindow(&m_frame, *context, id);
    // A window may have renamed the transmitter or changed the document.
    m_frame.UpdateStatusPanes();
}

void CMVView::ShowNotAvailable() {
    Ui().MessageBox(LoadString(kTextNotCompleted), MsgButtons::Ok, MsgIcon::Stop);
}

void CMVView::RefreshOverview() {
    // A command may be half way through changing the document.
    if (m_inCommand) return;
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr) {
        m_overview->ShowNothing();
        return;
    }
    try {
        m_compare.Follow(context->Comm(), context->Connected());
        const CConfigSummary document = CConfigSummary::FromModel(context->Model());
        m_overview->Show(document, m_compare.HasSummary() ? &m_compare.Summary() : nullptr,
                         m_compare.Stale());
    } catch (const std::exception&) {
        // The document's copy is read without I/O; should a value still not
        // be shown, the overview keeps what it showed.
    }
}

void CMVView::OnCompare() {
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr || !context->Connected()) {
        ShowNotAvailable();
        return;
    }
    try {
        m_compare.Read(context->Comm());
    } catch (...) {
        RefreshOverviewAfter();
        throw;
    }
    RefreshOverviewAfter();
    const std::vector<SummaryDifference> differences =
        config::CompareSummaries(CConfigSummary::FromModel(context->Model()), m_compare.Summary());
    m_frame.statusBar()->showMessage(
        QString::fromStdString(config::DifferenceListText(differences)),
        CMainFrame::kConnectionMessageMs);
}

void CMVView::OnSendConfig(WorkflowContext& context) {
    std::string preface;
    try {
        m_compare.Read(context.Comm());
        preface = config::DifferenceListText(config::CompareSummaries(
            CConfigSummary::FromModel(context.Model()), m_compare.Summary()));
    } catch (const std::exception& e) {
        // The send may still be wanted: its own steps say what fails.
        ReportException(e);
    }
    RefreshOverviewAfter();
    dialogs::RunSendConfiguration(&m_frame, context, preface);
}

void CMVView::RefreshOverviewAfter() {
    const bool inCommand = m_inCommand;
    m_inCommand = false;
    RefreshOverview();
    m_inCommand = inCommand;
}

void CMVView::OnAreaActivated(SummaryArea area, bool transmitterColumn) {
    const int command = config::AreaCommand(area, transmitterColumn);
    if (command == 0 ||
        !IsCommandEnabled(command, m_document.AccessState(), m_document.LinkAvailable())) {
        // Setup windows open offline, Transmitter windows online only.
        QApplication::beep();
        return;
    }
    OnCommand(command);
}

void CMVView::OnExportReport() {
    CCommissioningReport report;
    WorkflowContext* context = m_document.Workflow();
    if (context == nullptr) {
        ShowNotAvailable();
        return;
    }
    report.document = CConfigSummary::FromModel(context->Model());
    const std::string path = PathName();
    report.source = path.empty() ? DocumentName() : path;
    if (context->Connected()) {
        // The compare column and identification as the transmitter holds them now.
        try {
            m_compare.Read(context->Comm());
            report.transmitter = m_compare.Summary();
        } catch (const std::exception& e) {
            ReportException(e);
        }
        RefreshOverviewAfter();
        report.identification = report::ReadIdentification(context->doc);
        report.source += ", " + QString::fromLatin1(kReportTransmitterSource)
                                    .arg(context->Comm().CurrentPollingAddress())
                                    .toStdString();
    }
    report.date = report::LocalTimeText();
    const SummaryField* tag = report.document.Field("device", "tag");
    report.changes = CCommissioningReport::ChangesOfThisRun(tag != nullptr ? tag->value : "");

    const QFileInfo document(QString::fromStdString(path.empty() ? DocumentName() : path));
    const QString proposed = document.dir().filePath(document.completeBaseName() +
                                                     QString::fromLatin1(kReportFileSuffix));
    std::optional<std::string> chosen = AskFileName(FileDialog::Report, proposed.toStdString());
    if (!chosen) return;
    std::string error;
    const PaperSize paper =
        CCommissioningReport::PaperForLocale(QLocale::system().name().toStdString());
    if (!report::WritePdf(report, *chosen, paper, error)) {
        Ui().MessageBox(QString::fromLatin1(kReportNotWritten)
                            .arg(QString::fromStdString(*chosen), QString::fromStdString(error))
                            .toStdString(),
                        MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    m_frame.statusBar()->showMessage(
        QString::fromLatin1(kReportWritten).arg(QString::fromStdString(*chosen)),
        CMainFrame::kConnectionMessageMs);
}
