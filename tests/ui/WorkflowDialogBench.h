#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <string>

#include "app/CConnectEngine.h"
#include "app/CMVDoc.h"
#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"
#include "tests/app/WorkflowTestBench.h"
#include "transmitter/CComm.h"

// The workflow bench of the engine tests, as the windows use it: at 9600 bit/s,
// with a longer reply time-out on request and a direct connection helper.
class CWorkflowDialogBench : public CWorkflowTestBench {
  public:
    CWorkflowDialogBench() {
        settings.WriteString(settingskeys::kCommPort, settingskeys::kBitRate, "9600");
    }

    // A reply time-out long enough for a transmitter slowed down on purpose.
    void SetReplyTimeoutMs(unsigned ms) {
        settings.WriteString(settingskeys::kLinkScheduling, settingskeys::kReplyTimeout,
                             std::to_string(ms));
    }

    void ConnectTo(int address) {
        CConnectEngine connect(context);
        connect.DropDevice();
        connect.ConnectTo(address);
    }
};

template <typename T>
T* FindChild(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Shows the window and lets its ticks run until `done` holds (or ten seconds pass).
template <typename Done>
bool RunUntil(QWidget& window, Done done, int timeoutMs = 10000) {
    window.show();
    return QTest::qWaitFor(done, timeoutMs);
}
