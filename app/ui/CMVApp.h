#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "app/ui/CQtUserInterface.h"
#include "app/ui/IAppDocument.h"
#include "platform/ISettingsStore.h"

class CMainFrame;
class CProtocol;
class COverlaySettingsStore;
class CScopedUi;
class CSimulatorHost;
class CSplashWnd;

struct StartupOptions {
    std::string documentPath;       // the configuration file named on the command line, or empty
    bool simulate = false;          // run against an in-process simulated transmitter
    bool installUiServices = true;  // tests keep their scripted double instead
};

// The application object: owns the settings, the document, the main window and
// the user-interface services for the whole run, and runs the start-up.
class CMVApp {
  public:
    // Without arguments the program's own settings store and document are created.
    explicit CMVApp(std::unique_ptr<ISettingsStore> store = {},
                    std::unique_ptr<IAppDocument> document = {});
    ~CMVApp();
    CMVApp(const CMVApp&) = delete;
    CMVApp& operator=(const CMVApp&) = delete;

    // Arguments without the program name: "--simulate", the rest is the file path.
    static StartupOptions ParseCommandLine(const QStringList& arguments);
    // "Initializing... Connecting on COM1 at 9600 bps" (or the device path).
    static std::string StartupText(const ISettingsStore& settings);

    // The start-up sequence. Always succeeds: without a transmitter the program
    // runs offline.
    bool InitInstance(const StartupOptions& options);

    // The settings as the program sees them (with the simulator's overlay).
    ISettingsStore& Settings();
    IAppDocument& Document() { return *m_document; }
    CMainFrame* Frame() { return m_frame.get(); }
    CQtUserInterface& UiServices() { return m_ui; }
    CSplashWnd* StartupWindow() { return m_startupWnd.get(); }

    const std::string& OperatingSystemText() const { return m_osText; }
    // Selects the automatic RTS turnaround of the serial link.
    bool IsNtFamily() const { return m_ntFamily; }

    // Opens the serial link and runs the first connection at polling address 1
    // with its retry prompt and the security log-in. The connection engine
    // plugs in here; until it exists the program starts offline.
    void ConnectAtStartup();
    // Hands changed link settings to an open link; with no link open the next
    // connection reads them from the settings store.
    void ReloadLinkSettings();
    // The connection engine tells where its protocol object is (nullptr while
    // none exists).
    void SetCurrentProtocol(std::function<CProtocol*()> current) {
        m_currentProtocol = std::move(current);
    }
    // Port settings first (the link reopens when one of them changed or when it
    // is not open), then request timing; nothing unless a protocol with a link
    // exists. True when the link is open afterwards.
    static bool ApplyLinkSettings(const ISettingsStore& settings, CProtocol* protocol);

  private:
    static std::unique_ptr<ISettingsStore> CreateSettingsStore();
    static std::unique_ptr<IAppDocument> CreateDocument(ISettingsStore& settings);
    void BuildOperatingSystemText();
    void StartSimulator();
    void DestroyStartupWindow();

    std::unique_ptr<ISettingsStore> m_store;
    std::unique_ptr<COverlaySettingsStore> m_settings;
    std::unique_ptr<IAppDocument> m_document;
    std::unique_ptr<CSimulatorHost> m_simulator;
    CQtUserInterface m_ui;
    std::unique_ptr<CScopedUi> m_scopedUi;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CSplashWnd> m_startupWnd;
    std::function<CProtocol*()> m_currentProtocol;
    std::string m_osText;
    bool m_ntFamily = false;
};
