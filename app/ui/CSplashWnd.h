#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QFrame;

// The start-up/About window: logo, file description, version and legal notice
// on a white background without caption or border, centred on its parent. At
// start-up it is modeless and shows a greyed status line under a separator; as
// the About window it is modal and a left click anywhere closes it.
class CSplashWnd : public QDialog {
    Q_OBJECT
  public:
    enum class Use { Startup, About };

    CSplashWnd(Use use, const QString& statusText, QWidget* parent);

    QString StatusText() const;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    Use m_use;
    QLabel* m_status = nullptr;
};
