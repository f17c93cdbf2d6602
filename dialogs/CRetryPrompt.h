#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

// Shown when the first connection at start-up fails: the reason, and the choice
// between the Connect dialog, another try at polling address 1 and going on
// without a transmitter. exec() returns the answer.
class CRetryPrompt : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kCancel = 0;
    static constexpr int kRetryAddress1 = 1;
    static constexpr int kConnectDialog = 2;

    CRetryPrompt(const std::string& message, QWidget* parent);

    int Answer() const { return m_answer; }

  private:
    QPushButton* AddButton(const char* text, const char* name, int answer);
    void Choose(int answer);

    QLabel* m_message;
    int m_answer = kCancel;
};
