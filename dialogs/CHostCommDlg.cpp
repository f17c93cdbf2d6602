#include "dialogs/CHostCommDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <string>

#include "app/ui/UiTexts.h"
#include "link/ErrorReport.h"
#include "link/LinkSettings.h"
#include "platform/ISettingsStore.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace {

using namespace settingskeys;

constexpr const char* kTitle = "Modbus\u00AE Communication Parameters";
constexpr const char* kPortTemplate = "COM0";
constexpr int kPortCount = 4;
constexpr unsigned kFirstBitRateText = 3353;  // "1200" .. "9600"
constexpr int kBitRateCount = 4;

QString Number(long value) { return QString::number(value); }

QString StoredNumber(const ISettingsStore& settings, const char* section, const char* key,
                     const char* defaultText) {
    return QString::number(ParseSettingNumber(settings.GetString(section, key, defaultText)));
}

}  // namespace

CHostCommDlg::CHostCommDlg(ISettingsStore& settings, std::function<void()> applyToOpenLink,
                           QWidget* parent, const std::string& deviceRoot)
    : QDialog(parent),
      m_settings(settings),
      m_applyToOpenLink(std::move(applyToOpenLink)),
      m_portChoices(platform::ListSerialPorts(deviceRoot)) {
    setObjectName(QStringLiteral("hostCommDlg"));
    setWindowTitle(QString::fromUtf8(kTitle));

    // Port parameters.
    auto* portGroup = new QGroupBox(QStringLiteral("Port Parameters"), this);
    auto* portGrid = new QGridLayout(portGroup);
    m_port = new QComboBox(portGroup);
    m_port->setObjectName(QStringLiteral("portCombo"));
    for (const SerialPortChoice& choice : m_portChoices) {
        QString name = QString::fromStdString(choice.label);
        if (choice.comPort != 0) {
            name = QString::fromLatin1(kPortTemplate);
            name.replace(QLatin1Char('0'), QString::number(choice.comPort));
        }
        m_port->addItem(name);
        m_port->setItemData(m_port->count() - 1, QString::fromStdString(choice.resolvesTo),
                            Qt::ToolTipRole);
    }
    m_bitRate = new QComboBox(portGroup);
    m_bitRate->setObjectName(QStringLiteral("bitRateCombo"));
    for (int i = 0; i < kBitRateCount; ++i) {
        m_bitRate->addItem(
            QString::fromStdString(LoadString(kFirstBitRateText + static_cast<unsigned>(i))));
    }
    m_ctsDelay = AddNumber("ctsDelayEdit", 0, 999);
    m_ctsEnabled = new QCheckBox(QStringLiteral("&Hardware CTS Enabled"), portGroup);
    m_ctsEnabled->setObjectName(QStringLiteral("ctsEnabledCheck"));

    auto addRow = [](QGridLayout* grid, int row, const QString& label, QWidget* field,
                     const QString& unit, QWidget* owner) {
        auto* text = new QLabel(label, owner);
        text->setBuddy(field);
        grid->addWidget(text, row, 0);
        grid->addWidget(field, row, 1);
        if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, owner), row, 2);
    };
    addRow(portGrid, 0, QStringLiteral("&Port:"), m_port, {}, portGroup);
    addRow(portGrid, 1, QStringLiteral("&Bit Rate:"), m_bitRate, QStringLiteral("bps"), portGroup);
    addRow(portGrid, 2, QStringLiteral("&CTS Delay:"), m_ctsDelay, QStringLiteral("mS"), portGroup);
    portGrid->addWidget(m_ctsEnabled, 3, 0, 1, 3);

    // Poll parameters.
    auto* pollGroup = new QGroupBox(QStringLiteral("Poll Parameters"), this);
    auto* pollGrid = new QGridLayout(pollGroup);
    m_retries = AddNumber("retriesEdit", 0, 99);
    m_replyTimeout = AddNumber("replyTimeoutEdit", 0, 9999);
    m_interpollDelay = AddNumber("interpollDelayEdit", 0, 99);
    m_pollInterval = AddNumber("pollIntervalEdit", 0, 999999);
    m_extraCmdTime = AddNumber("extraCmdTimeEdit", 0, 9999);
    addRow(pollGrid, 0, QStringLiteral("&Retries:"), m_retries, {}, pollGroup);
    addRow(pollGrid, 1, QStringLiteral("Reply &Timeout:"), m_replyTimeout, QStringLiteral("mS"),
           pollGroup);
    addRow(pollGrid, 2, QStringLiteral("Interpoll &Delay:"), m_interpollDelay, QStringLiteral("mS"),
           pollGroup);
    addRow(pollGrid, 3, QStringLiteral("Poll &Interval:"), m_pollInterval, QStringLiteral("mS"),
           pollGroup);
    addRow(pollGrid, 4, QStringLiteral("&Extra Cmd Time:"), m_extraCmdTime, QStringLiteral("mS"),
           pollGroup);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* groups = new QVBoxLayout;
    groups->addWidget(portGroup);
    groups->addWidget(pollGroup);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CHostCommDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &CHostCommDlg::reject);

    try {
        Load();
    } catch (const std::exception& e) {
        ReportException(e);
    }
}

QLineEdit* CHostCommDlg::AddNumber(const char* name, long minimum, long maximum) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    m_numbers.push_back({edit, minimum, maximum, 0});
    return edit;
}

void CHostCommDlg::Load() {
    CWaitCursor wait;
    const int port = m_settings.GetInt(kCommPort, kPortNumber, 1);
    m_port->setCurrentIndex(port >= 1 && port <= kPortCount ? port - 1 : kPortCount - 1);
    // A stored device wins over the port number when the link opens, so the
    // list shows it; one that is not present now is still offered as it is.
    const std::string devicePath = m_settings.GetString(kCommPort, kDevicePath, "");
    if (!devicePath.empty()) {
        auto found =
            std::find_if(m_portChoices.begin(), m_portChoices.end(),
                         [&](const SerialPortChoice& c) { return c.devicePath == devicePath; });
        if (found == m_portChoices.end()) {
            m_portChoices.push_back({devicePath, 0, devicePath, devicePath});
            m_port->addItem(QString::fromStdString(devicePath));
            found = m_portChoices.end() - 1;
        }
        m_port->setCurrentIndex(static_cast<int>(found - m_portChoices.begin()));
    }

    const QString bitRate =
        QString::fromStdString(m_settings.GetString(kCommPort, kBitRate, "9600"));
    const int match = m_bitRate->findText(bitRate, Qt::MatchExactly);
    m_bitRate->setCurrentIndex(match >= 0 ? match : m_bitRate->count() - 1);

    m_ctsDelay->setText(StoredNumber(m_settings, kCommPort, kCtsDelay, "25"));
    m_ctsEnabled->setChecked(m_settings.GetString(kCommPort, kCtsEnabled, "TRUE") == "TRUE");
    m_retries->setText(Number(m_settings.GetInt(kLinkScheduling, kRetries, 3)));
    m_replyTimeout->setText(StoredNumber(m_settings, kLinkScheduling, kReplyTimeout, "0"));
    m_interpollDelay->setText(StoredNumber(m_settings, kLinkScheduling, kInterpollDelay, "0"));
    m_pollInterval->setText(StoredNumber(m_settings, kLinkScheduling, kPollInterval, "2000"));
    m_extraCmdTime->setText(StoredNumber(m_settings, kLinkScheduling, kBusyDelay, "0"));
}

bool CHostCommDlg::Validate() {
    for (NumberField& field : m_numbers) {
        bool isInteger = false;
        const long value = field.edit->text().trimmed().toLong(&isInteger, 10);
        if (isInteger && value >= field.minimum && value <= field.maximum) {
            field.value = value;
            continue;
        }
        const QString message =
            QString::fromLatin1(uitexts::kIntegerRange).arg(field.minimum).arg(field.maximum);
        Ui().MessageBox(message.toStdString(), MsgButtons::Ok, MsgIcon::None);
        field.edit->setFocus();
        field.edit->selectAll();
        return false;
    }
    return true;
}

void CHostCommDlg::Store() {
    auto valueOf = [this](const QLineEdit* edit) {
        long value = 0;
        for (const NumberField& field : m_numbers) {
            if (field.edit == edit) value = field.value;
        }
        return value;
    };
    auto textOf = [&valueOf](const QLineEdit* edit) { return std::to_string(valueOf(edit)); };
    m_settings.WriteString(kGeneral, kTransmitterType, "CorvelFX");
    m_settings.WriteString(kGeneral, kProtocolRev, "5");

    const SerialPortChoice& port = m_portChoices.at(static_cast<size_t>(m_port->currentIndex()));
    if (port.comPort != 0)
        m_settings.WriteInt(kCommPort, kPortNumber, static_cast<int>(port.comPort));
    m_settings.WriteString(kCommPort, kDevicePath, port.devicePath);
    m_settings.WriteString(kCommPort, kBitRate, m_bitRate->currentText().toStdString());
    m_settings.WriteString(kCommPort, kCtsDelay, textOf(m_ctsDelay));
    m_settings.WriteString(kCommPort, kCtsEnabled, m_ctsEnabled->isChecked() ? "TRUE" : "FALSE");
    m_settings.WriteInt(kLinkScheduling, kRetries, static_cast<int>(valueOf(m_retries)));
    m_settings.WriteString(kLinkScheduling, kReplyTimeout, textOf(m_replyTimeout));
    m_settings.WriteString(kLinkScheduling, kInterpollDelay, textOf(m_interpollDelay));
    m_settings.WriteString(kLinkScheduling, kPollInterval, textOf(m_pollInterval));
    m_settings.WriteString(kLinkScheduling, kBusyDelay, textOf(m_extraCmdTime));
}

void CHostCommDlg::OnOK() {
    if (!Validate()) return;
    try {
        Store();
        if (m_applyToOpenLink) m_applyToOpenLink();
    } catch (const std::exception& e) {
        ReportException(e);
        return;
    }
    accept();
}
