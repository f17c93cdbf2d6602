#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "platform/SerialPortList.h"

class ISettingsStore;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Modbus® Communication Parameters": edits the port and poll settings in the
// settings store. On OK it validates every number, writes every key and asks
// the owner to hand the settings to an open link; without one, the next
// connection reads them from the store.
//
// The port list offers COM1..COM4 and every serial device present; choosing a
// device stores its path as "DevicePath", choosing COMn clears it, so the list
// always shows what the link opens. `deviceRoot` is put before the device
// folders searched (a test's fake /dev); empty for the system's own.
class CHostCommDlg : public QDialog {
    Q_OBJECT
  public:
    CHostCommDlg(ISettingsStore& settings, std::function<void()> applyToOpenLink, QWidget* parent,
                 const std::string& deviceRoot = std::string());

    void OnOK();

  private:
    struct NumberField {
        QLineEdit* edit;
        long minimum;
        long maximum;
        long value;
    };

    QLineEdit* AddNumber(const char* name, long minimum, long maximum);
    void Load();
    bool Validate();
    void Store();

    ISettingsStore& m_settings;
    std::function<void()> m_applyToOpenLink;
    std::vector<SerialPortChoice> m_portChoices;  // in list order
    QComboBox* m_port;
    QComboBox* m_bitRate;
    QCheckBox* m_ctsEnabled;
    QLineEdit* m_ctsDelay;
    QLineEdit* m_retries;
    QLineEdit* m_replyTimeout;
    QLineEdit* m_interpollDelay;
    QLineEdit* m_pollInterval;
    QLineEdit* m_extraCmdTime;
    std::vector<NumberField> m_numbers;  // in the order they are checked
};
