#pragma once

#include <QApplication>
#include <QLabel>
#include <string>

#include "app/CReceiveEngine.h"
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
