#pragma once

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "app/CReceiveEngine.h"
#include "tests/support/CScriptedUi.h"
#include "tests/ui/WorkflowDialogBench.h"

// A transmitter at address 1 configured unlike the defaults, whose
// configuration is received into the document, and a transmitter with default
// settings at address 2 that is connected to receive it.
class CSendReceiveBench : public CWorkflowDialogBench {
  public:
    static constexpr uint8_t kSource = 1;
    static constexpr uint8_t kTarget = 2;

    CSendReceiveBench() {
        SimTransmitterOptions o = Options("FT 101");
        o.descriptor = "STEAM TO UNIT 4";
        o.floatFormat = 2;
        o.damping = {1.5, 2.0, 0.5};
        source = &Add(kSource, o);
        target = &Add(kTarget, "TARGET");
    }

    // Fills the document from the source and connects the target.
    void LoadSourceAndConnectTarget() {
        ConnectTo(kSource);
        CReceiveEngine receive(context);
        ASSERT_TRUE(receive.Start({}));
        ASSERT_EQ(receive.RunToEnd([](const CWorkflowEngine&) {}), WorkflowResult::Done);
        doc.SetModified(false);
        ConnectTo(kTarget);
    }

    CSimTransmitter* source = nullptr;
    CSimTransmitter* target = nullptr;
};

// The status line of the modal window on top, or empty.
inline QString ModalStatus() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return {};
    auto* status = modal->findChild<QLabel*>(QStringLiteral("statusLabel"));
    return status != nullptr ? status->text() : QString();
}

// Records, in order, the questions the scripted user interface is asked and
// the moments a window with the given object name is shown. At each question
// it also notes whether such a window exists at all (shown or not).
class CWindowOrderLog : public QObject {
  public:
    CWindowOrderLog(CScriptedUi& ui, QString windowName) : m_name(std::move(windowName)) {
        qApp->installEventFilter(this);
        ui.SetMessageHook([this](const std::string& text) {
            events.push_back("asked: " + text);
            for (QWidget* widget : QApplication::allWidgets()) {
                if (widget->objectName() == m_name) windowExistedAtAQuestion = true;
            }
        });
    }
    ~CWindowOrderLog() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == m_name) {
            events.push_back("window shown");
        }
        return false;
    }

    std::vector<std::string> events;
    bool windowExistedAtAQuestion = false;

  private:
    QString m_name;
};
