#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

// The password prompt: one hidden field whose characters are turned to upper
// case as they are typed, OK and Cancel, under the application's caption.
class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CPasswordDlg(QWidget* parent);

    std::string Password() const;

  private:
    void OnTextEdited(const QString& text);

    QLineEdit* m_password;
};
