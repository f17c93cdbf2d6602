#pragma once

#include <QMainWindow>
#include <map>
#include <string>

#include "app/ui/CRecentFileList.h"

class IAppDocument;
class ISettingsStore;
class CMVView;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;

// The main window: menus, toolbar and status bar built from the command table,
// enabled at idle time from the access state. Every command goes to the view.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kIdleIntervalMs = 100;
    // How long the status bar's message area says which transmitter is connected.
    static constexpr int kConnectionMessageMs = 6000;
    // Where the window's geometry and toolbar state are kept between runs.
    static constexpr const char* kWindowSection = "Main Window";

    CMainFrame(IAppDocument& document, ISettingsStore& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMVView& View() { return *m_view; }
    IAppDocument& Document() { return m_document; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }

    // The action of a command (recent files: one per slot), or nullptr.
    QAction* Action(int id) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* TagPane() const { return m_tagPane; }
    QLabel* SecurityPane() const { return m_securityPane; }
    QLabel* CommPane() const { return m_commPane; }

    // The idle update: enabling of every command, the View ticks and the panes.
    void UpdateCommandUi();
    void UpdateStatusPanes();
    // Shows, for a few seconds, which transmitter is now connected (or where it
    // was moved) in the message area of the status bar.
    void ShowConnectionMessage(const std::string& text);
    // The link changed between idle and busy: panes updated and repainted at once.
    void SetLinkBusy(bool busy);
    bool LinkBusy() const { return m_linkBusy; }
    // "Disable &Security" while security is on, "Enable &Security" otherwise.
    void SetSecurityMenuText(bool securityEnabled);

    void UpdateRecentFileMenu();
    // "<name>[*] - <program title>": the mark shows while the document has
    // unsaved changes (followed at idle time).
    void UpdateTitle(const QString& documentName);

    // The size at which menus, toolbar and status-bar panes are shown whole.
    QSize DefaultSize() const;
    // Geometry, toolbar and status bar as they were when the window last
    // closed; false (nothing changed) when none were saved.
    bool RestoreWindowState();
    void SaveWindowState();

    // Closes the window after the exit question has been answered Yes and a
    // modified document has been dealt with.
    void CloseConfirmed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    QMenu* MenuFor(const char* menu, const char* submenu);
    QLabel* AddPane(const char* name, const char* sizingText);

    IAppDocument& m_document;
    ISettingsStore& m_settings;
    CRecentFileList m_recentFiles;
    CMVView* m_view = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<std::string, QMenu*> m_menus;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_readyPane = nullptr;
    QLabel* m_tagPane = nullptr;
    QLabel* m_securityPane = nullptr;
    QLabel* m_commPane = nullptr;
    QTimer* m_idleTimer = nullptr;
    bool m_linkBusy = false;
    bool m_exitConfirmed = false;
};
