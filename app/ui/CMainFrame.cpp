#include "app/ui/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <utility>

#include "app/CommandTable.h"
#include "app/ConnectionText.h"
#include "app/ui/CMVView.h"
#include "app/ui/IAppDocument.h"
#include "app/ui/UiTexts.h"
#include "platform/ISettingsStore.h"
#include "resources/Strings.h"

namespace {

constexpr unsigned kTextEnableSecurity = 3102;
constexpr unsigned kTextDisableSecurity = 3103;
constexpr int kPaneMargin = 12;
constexpr QSize kToolButtonSize(20, 19);

// Status-bar text of each access state 0..5.
constexpr unsigned kSecurityTextIds[app::kAccessStateCount] = {59145, 59146, 59147,
                                                               59148, 59150, 59149};

struct ToolIcon {
    int id;
    const char* themeName;  // preferred from the desktop theme when it has one
    const char* resource;
};

constexpr ToolIcon kToolIcons[] = {
    {cmd::kFileNew, "document-new", ":/icons/new.svg"},
    {cmd::kFileOpen, "document-open", ":/icons/open.svg"},
    {cmd::kFileSave, "document-save", ":/icons/save.svg"},
    {cmd::kConnect, nullptr, ":/icons/connect.svg"},
    {cmd::kSensorTrim, nullptr, ":/icons/trim.svg"},
    {cmd::kXmtrSensorLimits, nullptr, ":/icons/limits.svg"},
    {cmd::kSendConfig, nullptr, ":/icons/send.svg"},
    {cmd::kRecvConfig, nullptr, ":/icons/receive.svg"},
    {cmd::kCompare, nullptr, ":/icons/compare.svg"},
    {cmd::kAppAbout, "help-about", ":/icons/about.svg"},
};

QIcon IconFor(int id) {
    for (const ToolIcon& icon : kToolIcons) {
        if (icon.id != id) continue;
        QIcon own(QString::fromLatin1(icon.resource));
        if (icon.themeName == nullptr) return own;
        return QIcon::fromTheme(QString::fromLatin1(icon.themeName), own);
    }
    return {};
}

QString ItemText(const CommandInfo& info) {
    if (info.text != nullptr) return QString::fromUtf8(info.text);
    return QString::fromStdString(LoadString(info.textId));
}

}  // namespace

namespace {

constexpr const char* kGeometryKey = "Geometry";
constexpr const char* kStateKey = "State";
constexpr const char* kStatusBarKey = "StatusBar";
// What the message area must hold whole beside the panes: the longest
// connection message a technician is likely to see.
constexpr const char* kMessageSizingText =
    "Connected to FT-123456 at address 247 on /dev/ttyUSB0, 19200 bit/s";
// The status bar's spacing between panes and its size grip.
constexpr int kStatusBarAllowance = 48;
// Room below the tallest open menu.
constexpr int kMenuAllowance = 24;
// The least height of the window as a share of its width.
constexpr std::pair<int, int> kHeightPerWidth{5, 8};

}  // namespace

CMainFrame::CMainFrame(IAppDocument& document, ISettingsStore& settings, QWidget* parent)
    : QMainWindow(parent),
      m_document(document),
      m_settings(settings),
      m_recentFiles(settings, cmd::kMruCount) {
    setObjectName(QStringLiteral("mainFrame"));
    m_view = new CMVView(*this, document, settings, this);
    setCentralWidget(m_view);

    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    UpdateRecentFileMenu();
    UpdateTitle(QString::fromLatin1(uitexts::kUntitled));
    // The view draws nothing; the window needs room for its menus and panes.
    resize(DefaultSize());
    RestoreWindowState();

    m_idleTimer = new QTimer(this);
    m_idleTimer->setInterval(kIdleIntervalMs);
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    m_idleTimer->start();
    UpdateCommandUi();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QMenu* CMainFrame::MenuFor(const char* menu, const char* submenu) {
    const std::string key =
        std::string(menu) + (submenu != nullptr ? std::string(">") + submenu : "");
    auto it = m_menus.find(key);
    if (it != m_menus.end()) return it->second;

    QMenu* created = nullptr;
    if (submenu == nullptr) {
        created = menuBar()->addMenu(QString::fromUtf8(menu));
        connect(created, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    } else {
        created = MenuFor(menu, nullptr)->addMenu(QString::fromUtf8(submenu));
    }
    created->setObjectName(QString::fromStdString("menu:" + key));
    m_menus.emplace(key, created);
    return created;
}

void CMainFrame::BuildMenus() {
    for (const CommandInfo& info : CommandTable()) {
        if (info.kind == CommandKind::Unplaced) continue;
        QMenu* menu = MenuFor(info.menu, info.submenu);
        if (info.kind == CommandKind::Separator) {
            menu->addSeparator();
            continue;
        }
        if (info.kind == CommandKind::RecentFiles) {
            for (int slot = 0; slot < cmd::kMruCount; ++slot) {
                const int id = info.id + slot;
                QAction* action = menu->addAction(QString());
                action->setObjectName(QStringLiteral("command:%1").arg(id));
                action->setStatusTip(QString::fromUtf8(info.prompt));
                connect(action, &QAction::triggered, this, [this, id] { m_view->OnCommand(id); });
                m_actions.emplace(id, action);
            }
            continue;
        }
        QAction* action = menu->addAction(ItemText(info));
        action->setObjectName(QStringLiteral("command:%1").arg(info.id));
        action->setStatusTip(QString::fromUtf8(info.prompt));
        if (info.toolTip != nullptr) action->setToolTip(QString::fromUtf8(info.toolTip));
        if (info.accelerator != nullptr) {
            action->setShortcut(QKeySequence(QString::fromLatin1(info.accelerator)));
        }
        if (info.id == cmd::kViewToolbar || info.id == cmd::kViewStatusBar) {
            action->setCheckable(true);
        }
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { m_view->OnCommand(id); });
        m_actions.emplace(id, action);
    }

    // Accelerators that reach a command without appearing in its menu text.
    for (const ExtraAccelerator& extra : ExtraAccelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(extra.keys)), this);
        const int id = extra.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            UpdateCommandUi();
            QAction* action = Action(id);
            if (action != nullptr && action->isEnabled()) action->trigger();
        });
    }
}

void CMainFrame::BuildToolBar() {
    m_toolBar = addToolBar(QString::fromLatin1("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(kToolButtonSize);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : ToolbarLayout()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        if (action == nullptr) continue;
        action->setIcon(IconFor(id));
        m_toolBar->addAction(action);
    }
}

QLabel* CMainFrame::AddPane(const char* name, const char* sizingText) {
    auto* pane = new QLabel(this);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const QFontMetrics metrics(pane->font());
    pane->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(sizingText)) + kPaneMargin);
    statusBar()->addPermanentWidget(pane);
    return pane;
}

void CMainFrame::BuildStatusBar() {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_readyPane = new QLabel(QString::fromLatin1(uitexts::kReady), this);
    m_readyPane->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(m_readyPane, 1);
    m_tagPane = AddPane("tagPane", uitexts::kTagSizing);
    m_securityPane = AddPane("securityPane", uitexts::kSecuritySizing);
    m_commPane = AddPane("commPane", uitexts::kCommSizing);
}

QSize CMainFrame::DefaultSize() const {
    const QFontMetrics metrics(statusBar()->font());
    int statusWidth =
        metrics.horizontalAdvance(QString::fromLatin1(kMessageSizingText)) + kStatusBarAllowance;
    for (const QLabel* pane : {m_tagPane, m_securityPane, m_commPane}) {
        statusWidth += pane->minimumWidth();
    }
    int menuHeight = 0;
    for (const auto& [key, menu] : m_menus) {
        menu->ensurePolished();
        menuHeight = qMax(menuHeight, menu->sizeHint().height());
    }
    const int width =
        qMax(qMax(menuBar()->sizeHint().width(), m_toolBar->sizeHint().width()), statusWidth);
    // Tall enough that every menu opens inside the window, and of the usual
    // proportions of a main window rather than a strip.
    const int height = qMax(menuBar()->sizeHint().height() + menuHeight + kMenuAllowance +
                                statusBar()->sizeHint().height(),
                            width * kHeightPerWidth.first / kHeightPerWidth.second);
    QSize size(width, height);
    if (const QScreen* display = screen()) {
        size = size.boundedTo(display->availableGeometry().size());
    }
    return size;
}

bool CMainFrame::RestoreWindowState() {
    if (!m_settings.Has(kWindowSection, kGeometryKey)) return false;
    const auto stored = [this](const char* key) {
        return QByteArray::fromBase64(
            QByteArray::fromStdString(m_settings.GetString(kWindowSection, key, {})));
    };
    // A damaged entry leaves the window as it is.
    if (!restoreGeometry(stored(kGeometryKey))) return false;
    restoreState(stored(kStateKey));
    statusBar()->setVisible(m_settings.GetInt(kWindowSection, kStatusBarKey, 1) != 0);
    return true;
}

void CMainFrame::SaveWindowState() {
    m_settings.WriteString(kWindowSection, kGeometryKey, saveGeometry().toBase64().toStdString());
    m_settings.WriteString(kWindowSection, kStateKey, saveState().toBase64().toStdString());
    m_settings.WriteInt(kWindowSection, kStatusBarKey, statusBar()->isVisibleTo(this) ? 1 : 0);
}

void CMainFrame::ShowConnectionMessage(const std::string& text) {
    if (text.empty()) return;
    statusBar()->showMessage(QString::fromStdString(text), kConnectionMessageMs);
    UpdateStatusPanes();
}

void CMainFrame::UpdateCommandUi() {
    const int state = m_document.AccessState();
    const bool link = m_document.LinkAvailable();
    for (auto& [id, action] : m_actions) {
        if (id >= cmd::kFileMru1 && id < cmd::kFileMru1 + cmd::kMruCount) continue;
        action->setEnabled(IsCommandEnabled(id, state, link));
    }
    Action(cmd::kViewToolbar)->setChecked(m_toolBar->isVisibleTo(this));
    Action(cmd::kViewStatusBar)->setChecked(statusBar()->isVisibleTo(this));
    setWindowModified(m_document.IsModified());
    UpdateStatusPanes();
    m_view->RefreshOverview();
}

void CMainFrame::UpdateStatusPanes() {
    int state = m_document.AccessState();
    if (state < 0 || state >= app::kAccessStateCount) state = app::kAccessNoTransmitter;
    const bool connected = state != app::kAccessNoTransmitter;

    QString tag = QString::fromLatin1(uitexts::kTagPrefix);
    if (connected) tag += QString::fromStdString(m_document.CurrentTag()).left(8);
    m_tagPane->setText(tag);
    // The tool tip names the transmitter in full: tag, address, port, bit rate.
    WorkflowContext* workflow = connected ? m_document.Workflow() : nullptr;
    m_tagPane->setToolTip(
        workflow != nullptr ? QString::fromStdString(app::ConnectedText(*workflow)) : QString());
    m_securityPane->setText(QString::fromStdString(LoadString(kSecurityTextIds[state]) + " "));
    const char* comm =
        !connected ? uitexts::kCommNoXmtr : (m_linkBusy ? uitexts::kCommBusy : uitexts::kCommIdle);
    m_commPane->setText(QString::fromLatin1(comm));
}

void CMainFrame::SetLinkBusy(bool busy) {
    m_linkBusy = busy;
    UpdateStatusPanes();
    m_tagPane->repaint();
    m_securityPane->repaint();
    m_commPane->repaint();
}

void CMainFrame::SetSecurityMenuText(bool securityEnabled) {
    Action(cmd::kSecurityOnOff)
        ->setText(QString::fromStdString(
            LoadString(securityEnabled ? kTextDisableSecurity : kTextEnableSecurity)));
}

void CMainFrame::UpdateRecentFileMenu() {
    const auto& files = m_recentFiles.Files();
    for (int slot = 0; slot < cmd::kMruCount; ++slot) {
        QAction* action = Action(cmd::kFileMru1 + slot);
        const size_t index = static_cast<size_t>(slot);
        if (index < files.size()) {
            const QString path = QString::fromStdString(files[index]);
            action->setText(QStringLiteral("&%1 %2").arg(slot + 1).arg(path));
            action->setVisible(true);
            action->setEnabled(true);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::UpdateTitle(const QString& documentName) {
    // A "[*]" in the name itself is shown as it stands.
    QString name = documentName;
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(name + QStringLiteral("[*] - ") + QString::fromLatin1(uitexts::kAppTitle));
    setWindowModified(m_document.IsModified());
}

void CMainFrame::CloseConfirmed() {
    if (!m_view->SaveModified()) return;
    m_exitConfirmed = true;
    close();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A command waiting for the link is finished first.
    if (!m_exitConfirmed && m_view->InCommand()) {
        QApplication::beep();
        event->ignore();
        return;
    }
    // The close box asks exactly like File > Exit.
    if (m_exitConfirmed || (m_view->ConfirmExit() && m_view->SaveModified())) {
        m_exitConfirmed = true;
        m_idleTimer->stop();
        SaveWindowState();
        event->accept();
        return;
    }
    event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) m_view->OpenDocumentFile(url.toLocalFile().toStdString());
    }
    event->acceptProposedAction();
}
