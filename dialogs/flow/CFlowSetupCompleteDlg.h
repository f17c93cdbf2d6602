#pragma once

#include <QDialog>
#include <functional>

namespace config {
class CFlowSetupCompletion;
}

// "Flow Setup is Complete": save the configuration to a file, connect to a
// transmitter, or return. A Ctrl+Shift double click in the window's top-left
// corner writes the flow test files into the current folder.
class CFlowSetupCompleteDlg : public QDialog {
    Q_OBJECT
  public:
    // The result of "&Connect".
    static constexpr int kConnectResult = 2;
    // How far from the left and the top the hidden corner reaches, in pixels.
    static constexpr int kCornerWidth = 10;
    static constexpr int kCornerHeight = 13;

    // `saveAs` runs the save-as of the document; the window stays open.
    CFlowSetupCompleteDlg(config::CFlowSetupCompletion& completion, std::function<void()> saveAs,
                          QWidget* parent);

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    config::CFlowSetupCompletion& m_completion;
    std::function<void()> m_saveAs;
};
