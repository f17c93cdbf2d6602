#include "app/ui/CMVApp.h"

#include <sys/utsname.h>

#include <QApplication>

#include "app/ConnectionText.h"
#include "app/CommandTable.h"
#include "app/WorkflowContext.h"
#include "app/ui/CDocumentAdapter.h"
#include "app/ui/CMVView.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CSimulatorHost.h"
#include "app/ui/CSplashWnd.h"
#include "app/ui/UiTexts.h"
#include "dialogs/FormWindows.h"
#include "dialogs/WorkflowDialogs.h"
#include "link/CCommLink.h"
#include "link/CProtocol.h"
#include "link/LinkSettings.h"
#include "platform/CIniSettingsStore.h"
#include "platform/COverlaySettingsStore.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {
constexpr const char* kSimulateOption = "--simulate";
constexpr unsigned kWorkerWaitMs = 5000;
const std::string kSimulatorFailed = "The simulated transmitter could not be started: ";
}  // namespace

CMVApp::CMVApp(std::unique_ptr<ISettingsStore> store, std::unique_ptr<IAppDocument> document)
    : m_store(store ? std::move(store) : CreateSettingsStore()),
      m_settings(std::make_unique<COverlaySettingsStore>(*m_store)),
      m_document(document ? std::move(document) : CreateDocument(*m_settings)) {}

CMVApp::~CMVApp() {
    DestroyStartupWindow();
    // The link's workers get their time to end (5000 ms each) before the
    // windows and the link go away.
    if (CProtocol* protocol = m_currentProtocol ? m_currentProtocol() : nullptr) {
        if (protocol->HasLink()) protocol->Link()->WaitForWorkers(kWorkerWaitMs);
    }
    m_frame.reset();
    m_scopedUi.reset();
    // The link is closed with the frame; only then may the simulated line stop.
    m_simulator.reset();
}

std::unique_ptr<ISettingsStore> CMVApp::CreateSettingsStore() {
    return std::make_unique<CIniSettingsStore>(CIniSettingsStore::DefaultPath());
}

std::unique_ptr<IAppDocument> CMVApp::CreateDocument(ISettingsStore& settings) {
    return std::make_unique<CDocumentAdapter>(settings);
}

ISettingsStore& CMVApp::Settings() { return *m_settings; }

StartupOptions CMVApp::ParseCommandLine(const QStringList& arguments) {
    StartupOptions options;
    QStringList path;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String(kSimulateOption)) {
            options.simulate = true;
        } else {
            path << argument;
        }
    }
    // The rest of the command line is one path, blanks included.
    options.documentPath = path.join(QLatin1Char(' ')).toStdString();
    return options;
}

std::string CMVApp::StartupText(const ISettingsStore& settings) {
    using namespace settingskeys;
    const std::string bitRate = settings.GetString(kCommPort, kBitRate, "9600");
    const std::string devicePath = settings.GetString(kCommPort, kDevicePath, "");
    if (!devicePath.empty()) {
        return FormatText(uitexts::kStartupTextPath, devicePath.c_str(), bitRate.c_str());
    }
    return FormatText(uitexts::kStartupText, settings.GetInt(kCommPort, kPortNumber, 1),
                      bitRate.c_str());
}

void CMVApp::BuildOperatingSystemText() {
    // The serial driver switches RTS itself on this system family.
    m_ntFamily = true;
    utsname name{};
    if (uname(&name) == 0) m_osText = std::string(name.sysname) + " " + name.release;
}

void CMVApp::StartSimulator() {
    m_simulator = std::make_unique<CSimulatorHost>();
    std::string error;
    if (!m_simulator->Start(&error)) {
        m_simulator.reset();
        Ui().MessageBox(kSimulatorFailed + error, MsgButtons::Ok, MsgIcon::Stop);
        return;
    }
    m_settings->Overlay().WriteString(settingskeys::kCommPort, settingskeys::kDevicePath,
                                      m_simulator->SlavePath());
}

bool CMVApp::InitInstance(const StartupOptions& options) {
    if (options.installUiServices) m_scopedUi = std::make_unique<CScopedUi>(m_ui);

    // 1. Settings (and the simulated line, seen only through the overlay).
    if (options.simulate) StartSimulator();

    // 2. The document, the main window and its view.
    m_frame = std::make_unique<CMainFrame>(*m_document, *m_settings);
    m_ui.SetFrame(m_frame.get());
    m_ui.SetErrorInfoOpener([this](QWidget* parent) {
        if (WorkflowContext* context = m_document->Workflow())
            dialogs::RunFormWindow(parent, *context, cmd::kErrorInfo);
    });
    m_frame->View().SetLinkSettingsReloader([this] { ReloadLinkSettings(); });

    // 3. The operating system.
    BuildOperatingSystemText();

    // 4.-5. The file named on the command line, or a new document.
    if (options.documentPath.empty() || !m_frame->View().OpenDocumentFile(options.documentPath)) {
        m_frame->View().NewDocument();
    }

    // 6. Files dropped on the main window are opened.
    m_frame->setAcceptDrops(true);
    m_frame->show();
    m_frame->repaint();

    // 7. The start-up window.
    m_startupWnd = std::make_unique<CSplashWnd>(
        CSplashWnd::Use::Startup, QString::fromStdString(StartupText(*m_settings)), m_frame.get());
    m_startupWnd->show();
    m_startupWnd->repaint();
    Ui().BeginWaitCursor();

    // 8.-9. The link and the first connection.
    ConnectAtStartup();

    // 10.
    DestroyStartupWindow();
    Ui().EndWaitCursor();
    m_frame->UpdateCommandUi();
    return true;
}

void CMVApp::ConnectAtStartup() {
    WorkflowContext* context = m_document->Workflow();
    if (context == nullptr) {
        // A document that cannot reach a transmitter: the program runs offline.
        m_document->SetLinkAvailable(false);
        m_document->SetPollingAddress(-1);
        return;
    }
    SetCurrentProtocol([context]() -> CProtocol* {
        return context->Comm().HasProtocol() ? &context->Comm().Protocol() : nullptr;
    });
    context->security.SetMenuTextCallback([this](const std::string&) {
        m_frame->SetSecurityMenuText(m_document->Workflow()->security.Enabled());
    });
    if (dialogs::RunStartupConnection(m_frame.get(), *context,
                                      [this] { DestroyStartupWindow(); })) {
        m_frame->ShowConnectionMessage(app::ConnectedText(*context));
    }
    m_frame->SetSecurityMenuText(context->security.Enabled());
}

bool CMVApp::ApplyLinkSettings(const ISettingsStore& settings, CProtocol* protocol) {
    return protocol != nullptr && ::ReloadLinkSettings(settings, *protocol);
}

void CMVApp::ReloadLinkSettings() {
    // A port opened here (after a failed start-up or reopen) makes Connect available.
    if (ApplyLinkSettings(Settings(), m_currentProtocol ? m_currentProtocol() : nullptr))
        m_document->SetLinkAvailable(true);
}

void CMVApp::DestroyStartupWindow() { m_startupWnd.reset(); }
