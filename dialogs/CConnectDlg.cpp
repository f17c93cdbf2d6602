#include "dialogs/CConnectDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>
#include <string>

#include "app/CAddressChangeEngine.h"
#include "dialogs/CSearchDlg.h"
#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"

namespace {

constexpr unsigned kIdNotCorvel = 2100;
constexpr unsigned kIdNoResponse = 725;
constexpr unsigned kIdNothingSelected = 722;
constexpr int kAddressFieldWidth = 60;

int NextAddress(int address) {
    return address + 1 > CConnectEngine::kLastAddress ? CConnectEngine::kFirstAddress : address + 1;
}

}  // namespace

CConnectDlg::CConnectDlg(WorkflowContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_connect(context),
      m_searchTickMs(CSearchDlg::kTickIntervalMs) {
    setObjectName(QStringLiteral("connectDlg"));
    setWindowTitle(QString::fromUtf8(texts::kConnectCaption));

    m_modeAddress = new QRadioButton(QString::fromUtf8(texts::kModeAddress), this);
    m_modeAddress->setObjectName(QStringLiteral("modeAddressRadio"));
    m_modeOnline = new QRadioButton(QString::fromUtf8(texts::kModeOnline), this);
    m_modeOnline->setObjectName(QStringLiteral("modeOnlineRadio"));
    m_modeChange = new QRadioButton(QString::fromUtf8(texts::kModeChangeAddress), this);
    m_modeChange->setObjectName(QStringLiteral("modeChangeRadio"));
    m_modes = new QButtonGroup(this);
    m_modes->addButton(m_modeAddress, kModeAddress);
    m_modes->addButton(m_modeOnline, kModeOnline);
    m_modes->addButton(m_modeChange, kModeChangeAddress);
    connect(m_modes, &QButtonGroup::idClicked, this, &CConnectDlg::SetMode);

    m_address = AddAddressEdit("addressEdit");
    m_oldAddress = AddAddressEdit("oldAddressEdit");
    m_newAddress = AddAddressEdit("newAddressEdit");

    m_search = new QPushButton(QString::fromUtf8(texts::kSearchButton), this);
    m_search->setObjectName(QStringLiteral("searchButton"));
    m_search->setAutoDefault(false);
    connect(m_search, &QPushButton::clicked, this, &CConnectDlg::OnSearch);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("transmitterList"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHeaderLabels({QString::fromUtf8(texts::kColumnAddr),
                             QString::fromUtf8(texts::kColumnTag),
                             QString::fromUtf8(texts::kColumnDescription)});
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CConnectDlg::OnOK);

    m_ok = new QPushButton(QString::fromUtf8(texts::kOk), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CConnectDlg::OnOK);
    m_cancel = new QPushButton(QString::fromUtf8(texts::kCancel), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CConnectDlg::reject);

    auto* oldLabel = new QLabel(QString::fromUtf8(texts::kOldAddressLabel), this);
    oldLabel->setBuddy(m_oldAddress);
    auto* newLabel = new QLabel(QString::fromUtf8(texts::kNewAddressLabel), this);
    newLabel->setBuddy(m_newAddress);

    auto* grid = new QGridLayout;
    grid->addWidget(m_modeAddress, 0, 0);
    grid->addWidget(m_address, 0, 1, Qt::AlignLeft);
    grid->addWidget(m_modeOnline, 1, 0);
    grid->addWidget(m_search, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_list, 2, 0, 1, 2);
    auto* change = new QHBoxLayout;
    change->addWidget(oldLabel);
    change->addWidget(m_oldAddress);
    change->addWidget(newLabel);
    change->addWidget(m_newAddress);
    change->addStretch();
    grid->addWidget(m_modeChange, 3, 0);
    grid->addLayout(change, 3, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);

    // The connected transmitter's address is proposed for both the address and
    // the old address; the new one is the next address, 247 wrapping to 1.
    int address = CConnectEngine::kFirstAddress;
    if (m_context.Connected()) {
        const int polling = m_context.Comm().CurrentPollingAddress();
        if (polling >= CConnectEngine::kFirstAddress && polling <= CConnectEngine::kLastAddress) {
            address = polling;
        }
    }
    m_address->setText(QString::number(address));
    m_oldAddress->setText(QString::number(address));
    m_newAddress->setText(QString::number(NextAddress(address)));
    SetMode(kModeAddress);
}

QLineEdit* CConnectDlg::AddAddressEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(3);
    edit->setFixedWidth(kAddressFieldWidth);
    return edit;
}

void CConnectDlg::SetMode(int mode) {
    m_mode = mode;
    m_modes->button(mode)->setChecked(true);
    UpdateControls();
    FocusModeField();
}

void CConnectDlg::FocusModeField() {
    switch (m_mode) {
        case kModeAddress:
            m_address->setFocus();
            m_address->selectAll();
            break;
        case kModeOnline:
            m_list->setFocus();
            break;
        default:
            m_oldAddress->setFocus();
            m_oldAddress->selectAll();
            break;
    }
}

void CConnectDlg::UpdateControls() {
    const bool idle = !m_busy;
    m_address->setEnabled(idle && m_mode == kModeAddress);
    m_search->setEnabled(idle && m_mode == kModeOnline);
    m_list->setEnabled(idle && m_mode == kModeOnline);
    m_oldAddress->setEnabled(idle && m_mode == kModeChangeAddress);
    m_newAddress->setEnabled(idle && m_mode == kModeChangeAddress);
    for (QAbstractButton* button : m_modes->buttons()) button->setEnabled(idle);
    m_ok->setEnabled(idle);
}

void CConnectDlg::SetBusy(bool busy) {
    m_busy = busy;
    UpdateControls();
}

int CConnectDlg::ValidAddress(QLineEdit* edit) {
    bool ok = false;
    const int address = edit->text().trimmed().toInt(&ok, 10);
    if (ok && address >= CConnectEngine::kFirstAddress && address <= CConnectEngine::kLastAddress) {
        return address;
    }
    const QString message = QString::fromUtf8(texts::kEnterIntegerBetween)
                                .arg(CConnectEngine::kFirstAddress)
                                .arg(CConnectEngine::kLastAddress);
    Ui().MessageBox(message.toStdString(), MsgButtons::Ok, MsgIcon::None);
    edit->setFocus();
    edit->selectAll();
    return 0;
}

void CConnectDlg::OnOK() {
    if (m_busy) return;
    int address = 0;
    int newAddress = 0;
    switch (m_mode) {
        case kModeAddress:
            address = ValidAddress(m_address);
            if (address == 0) return;
            break;
        case kModeOnline: {
            const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
            if (row < 0 || !m_list->currentItem()->isSelected() ||
                static_cast<size_t>(row) >= m_foundAddresses.size()) {
                Ui().MessageBox(LoadString(kIdNothingSelected), MsgButtons::Ok, MsgIcon::None);
                m_list->setFocus();
                return;
            }
            address = m_foundAddresses[static_cast<size_t>(row)];
            break;
        }
        default:
            address = ValidAddress(m_oldAddress);
            if (address == 0) return;
            newAddress = ValidAddress(m_newAddress);
            if (newAddress == 0) return;
            break;
    }

    SetBusy(true);
    Outcome outcome = Outcome::StayOpen;
    {
        CWaitCursor wait;
        try {
            switch (m_mode) {
                case kModeAddress:
                    outcome = ConnectToAddress(address);
                    break;
                case kModeOnline:
                    outcome = ConnectToFound(address);
                    break;
                default:
                    outcome = ChangeAddress(address, newAddress);
                    break;
            }
        } catch (const std::exception& e) {
            if (!m_cancelling) ReportException(e);
            outcome = Outcome::StayOpen;
        }
    }
    // A new connection always sets the access level, even when the user has
    // cancelled meanwhile: the level of the previous transmitter must not carry over.
    if (outcome == Outcome::Connected) m_connect.LogInAfterConnect();
    SetBusy(false);

    if (m_cancelling) {
        QDialog::done(QDialog::Rejected);
    } else if (outcome == Outcome::Connected) {
        if (m_mode == kModeChangeAddress) m_movedFrom = address;
        accept();
    } else if (m_mode == kModeChangeAddress && address == newAddress) {
        m_newAddress->setFocus();
        m_newAddress->selectAll();
    } else {
        FocusModeField();
    }
}

CConnectDlg::Outcome CConnectDlg::ConnectToAddress(int address) {
    const int probe = m_connect.Probe(address);
    if (m_cancelling) return Outcome::Cancelled;
    if (probe == CConnectEngine::kOtherDevice) {
        Ui().MessageBox(LoadString(kIdNotCorvel), MsgButtons::Ok, MsgIcon::None);
        return Outcome::StayOpen;
    }
    if (probe != CConnectEngine::kCorvel) {
        Ui().MessageBox(LoadString(kIdNoResponse), MsgButtons::Ok, MsgIcon::None);
        return Outcome::StayOpen;
    }
    m_connect.DropDevice();
    m_connect.ConnectTo(address);
    return Outcome::Connected;
}

CConnectDlg::Outcome CConnectDlg::ConnectToFound(int address) {
    m_connect.DropDevice();
    m_connect.ConnectTo(address);
    return Outcome::Connected;
}

CConnectDlg::Outcome CConnectDlg::ChangeAddress(int oldAddress, int newAddress) {
    CAddressChangeEngine change(m_context, oldAddress, newAddress);
    // The engine honours a cancel until the address write is sent, and
    // completes the move after it.
    change.SetCancelSource([this] { return m_cancelling; });
    while (change.Step()) {
    }
    switch (change.Result()) {
        case WorkflowResult::Done:
            return Outcome::Connected;
        case WorkflowResult::Cancelled:
            return Outcome::Cancelled;
        default:
            return Outcome::StayOpen;
    }
}

void CConnectDlg::OnSearch() {
    if (m_busy) return;
    m_list->clear();
    m_foundAddresses.clear();
    SetBusy(true);
    CSearchDlg search(m_context, this);
    search.SetTickIntervalMs(m_searchTickMs);
    const int result = search.exec();
    SetBusy(false);
    if (result != QDialog::Accepted) {
        WaitForLinkWorkers();
        return;
    }
    const CSearchEngine& found = search.Search();
    m_foundAddresses = found.FoundAddresses();
    for (const std::string& line : found.FoundLines()) {
        // "\tAddr\tTag\tDescription": the leading tab gives an empty first field.
        QStringList fields = QString::fromStdString(line).split(QLatin1Char('\t'));
        if (!fields.isEmpty()) fields.removeFirst();
        m_list->addTopLevelItem(new QTreeWidgetItem(fields));
    }
    if (m_list->topLevelItemCount() == 0) {
        Ui().MessageBox(texts::kNoTransmittersFound, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    m_list->setCurrentItem(m_list->topLevelItem(0));
    m_list->setFocus();
}

void CConnectDlg::reject() {
    m_cancelling = true;
    WaitForLinkWorkers();
    // A running transaction closes the dialog as cancelled once it has ended.
    if (!m_busy) QDialog::reject();
}

void CConnectDlg::WaitForLinkWorkers() {
    CWaitCursor wait;
    CCommLink::WaitForWorkers(CCommLink::kWorkerWaitMs);
}
