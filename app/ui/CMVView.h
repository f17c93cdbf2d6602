#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "config/CConfigSummary.h"
#include "config/CTransmitterCompare.h"
#include "platform/IUserInterface.h"

class CMainFrame;
class COverviewPane;
class IAppDocument;
class ISettingsStore;
struct WorkflowContext;

// The main view: receives every menu, toolbar and accelerator command and runs
// it. Its client area is the configuration overview: the document's
// configuration, beside the connected transmitter's after a compare.
class CMVView : public QWidget {
    Q_OBJECT
  public:
    enum class FileDialog { Open, Save, Report };
    // Asks for a file name; empty when the user cancelled. Replaceable for tests.
    using FileDialogProvider =
        std::function<std::optional<std::string>(FileDialog kind, const std::string& proposed)>;

    CMVView(CMainFrame& frame, IAppDocument& document, ISettingsStore& settings, QWidget* parent);

    void OnCommand(int id);
    // True while a command runs (it may be waiting for the link).
    bool InCommand() const { return m_inCommand; }

    // Applies changed link settings to an open link; nothing to do while none is open.
    void SetLinkSettingsReloader(std::function<void()> reload) {
        m_reloadLinkSettings = std::move(reload);
    }
    void SetFileDialogProvider(FileDialogProvider provider) { m_fileDialog = std::move(provider); }

    // The exit question; true on Yes.
    bool ConfirmExit();
    // Offers to save a modified document; false when the user cancelled.
    bool SaveModified();
    bool OpenDocumentFile(const std::string& path);
    void NewDocument();

    // The document's own path; the view keeps no copy, so the title always
    // follows the document (a failed open or receive leaves it untitled).
    std::string PathName() const;
    // The file name shown in the title and the save prompt ("Untitled" before the first save).
    std::string DocumentName() const;

    COverviewPane& Overview() { return *m_overview; }
    // Shows the document as it is now, and follows the connection: the
    // transmitter column goes on a disconnect and turns stale after a write.
    // Run at every idle update; reads nothing from a transmitter.
    void RefreshOverview();
    // What the transmitter column holds.
    const CTransmitterCompare& Compare() const { return m_compare; }

  private:
    void OnAppExit();
    bool LoadFile(const std::string& path);
    void OnFileOpen();
    bool OnFileSave(bool askForName);
    // Asked before a save replaces an existing file that is not the one the
    // document came from: Yes replaces it, No asks for another name.
    MsgAnswer AskReplace(const std::string& path);
    void OnRecentFile(int slot);
    void OnHostComm();
    void OnAbout();
    void ShowNotAvailable();
    void OnWorkflowCommand(int id);
    void OnFormWindow(int id);
    void OnFlowSetup();
    // Reads the connected transmitter into the overview's second column.
    void OnCompare();
    // A fresh compare, then the send with what it will change before the safety text.
    void OnSendConfig(WorkflowContext& context);
    void OnAreaActivated(SummaryArea area, bool transmitterColumn);
    // File > Export Report...: the commissioning report as PDF.
    void OnExportReport();
    // RefreshOverview from inside a command.
    void RefreshOverviewAfter();
    void RefreshTitle();
    std::optional<std::string> AskFileName(FileDialog kind, const std::string& proposed);

    CMainFrame& m_frame;
    IAppDocument& m_document;
    ISettingsStore& m_settings;
    std::function<void()> m_reloadLinkSettings;
    FileDialogProvider m_fileDialog;
    bool m_inCommand = false;
    COverviewPane* m_overview = nullptr;
    CTransmitterCompare m_compare;
};
