#pragma once

#include <QDialog>
#include <functional>

#include "platform/IUserInterface.h"

class QCheckBox;

// Shows the status that a transmitter reports after a legacy request: the list
// of reasons, "&Ignore status on next 50 commands", "&Error Info" and "&OK".
// "&Error Info" opens Error Information over this window, which stays open.
class CTransmitterStatusDlg : public QDialog {
    Q_OBJECT
  public:
    // Opens Error Information over the given window.
    using ErrorInfoOpener = std::function<void(QWidget* parent)>;

    // Without an opener "&Error Info" stays disabled: there is nothing to open.
    CTransmitterStatusDlg(const TransmitterStatusRequest& request, QWidget* parent,
                          ErrorInfoOpener openErrorInfo = {});

    TransmitterStatusAnswer Answer() const { return m_answer; }

  private:
    void OnOk();
    void OnErrorInfo();

    ErrorInfoOpener m_openErrorInfo;
    QCheckBox* m_ignore;
    TransmitterStatusAnswer m_answer;
};
