#pragma once

#include <QDialog>
#include <vector>

#include "app/CConnectEngine.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// "Connect to Transmitter / Multidrop Address": connects to a typed polling
// address, to one of the transmitters a search found, or moves a transmitter
// to another address and connects to it there. Closes with OK once connected
// (after the password prompt when the transmitter's security is on); a refusal
// or failure is shown and the dialog stays open. Cancel during a transaction is
// acted on when the transaction ends.
class CConnectDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kModeAddress = 0;
    static constexpr int kModeOnline = 1;
    static constexpr int kModeChangeAddress = 2;

    CConnectDlg(WorkflowContext& context, QWidget* parent);

    int Mode() const { return m_mode; }
    void SetMode(int mode);
    // Polling addresses of the listed transmitters, in list order.
    const std::vector<int>& FoundAddresses() const { return m_foundAddresses; }
    bool Cancelling() const { return m_cancelling; }
    // The old polling address when the dialog closed after moving a
    // transmitter to a new one, else 0.
    int MovedFrom() const { return m_movedFrom; }
    // The pause between two probes of a search.
    void SetSearchTickIntervalMs(int ms) { m_searchTickMs = ms; }

    void OnOK();
    void OnSearch();
    void reject() override;

  private:
    enum class Outcome { Connected, StayOpen, Cancelled };

    QLineEdit* AddAddressEdit(const char* name);
    // The field's value when it holds an integer from 1 to 247; otherwise says
    // so, selects the field's text and returns 0.
    int ValidAddress(QLineEdit* edit);
    Outcome ConnectToAddress(int address);
    Outcome ConnectToFound(int address);
    Outcome ChangeAddress(int oldAddress, int newAddress);
    void SetBusy(bool busy);
    void UpdateControls();
    // The field of the current mode gets the focus, its text selected.
    void FocusModeField();
    void WaitForLinkWorkers();

    WorkflowContext& m_context;
    CConnectEngine m_connect;
    QButtonGroup* m_modes;
    QRadioButton* m_modeAddress;
    QRadioButton* m_modeOnline;
    QRadioButton* m_modeChange;
    QLineEdit* m_address;
    QLineEdit* m_oldAddress;
    QLineEdit* m_newAddress;
    QPushButton* m_search;
    QTreeWidget* m_list;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    std::vector<int> m_foundAddresses;
    int m_mode = kModeAddress;
    int m_movedFrom = 0;
    int m_searchTickMs;
    bool m_busy = false;
    bool m_cancelling = false;
};
