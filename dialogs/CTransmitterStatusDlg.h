#pragma once

#include <QDialog>

#include "platform/IUserInterface.h"

class QCheckBox;

// Shows the status that a transmitter reports after a legacy request: the list
// of reasons, "&Ignore status on next 50 commands", "&Error Info" and "&OK".
class CTransmitterStatusDlg : public QDialog {
    Q_OBJECT
  public:
    CTransmitterStatusDlg(const TransmitterStatusRequest& request, QWidget* parent);

    TransmitterStatusAnswer Answer() const { return m_answer; }

  private:
    void OnOk();
    void OnErrorInfo();

    QCheckBox* m_ignore;
    TransmitterStatusAnswer m_answer;
};
