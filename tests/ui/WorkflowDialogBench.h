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
#include "transmitter/CComm.h"

// The document, settings and security of the windows, wired to a simulated
// multidrop line on a pseudo-terminal. Every exchange is kept short: no
// turnaround delay in the transmitters, no retries and the shortest reply
// time-out, so that a silent address costs about a tenth of a second.
class CWorkflowDialogBench {
  public:
    CWorkflowDialogBench() {
        using namespace settingskeys;
        settings.WriteString(kCommPort, kBitRate, "9600");
        settings.WriteString(kCommPort, kCtsDelay, "0");
        settings.WriteString(kCommPort, kCtsEnabled, "FALSE");
        settings.WriteInt(kLinkScheduling, kRetries, 0);
        settings.WriteString(kLinkScheduling, kReplyTimeout, "0");
        settings.WriteString(kLinkScheduling, kBusyDelay, "0");
        settings.WriteString(kLinkScheduling, kInterpollDelay, "0");
        doc.SetLinkAvailable(true);
    }

    static SimTransmitterOptions Options(const std::string& tag) {
        SimTransmitterOptions options;
        options.tag = tag;
        options.turnaroundDelayMs = 0;
        options.presentValueNoise = 0.0;
        return options;
    }

    CSimTransmitter& Add(uint8_t address, const std::string& tag) {
        return line.AddTransmitter(address, Options(tag));
    }
    CSimTransmitter& Add(uint8_t address, const SimTransmitterOptions& options) {
        return line.AddTransmitter(address, options);
    }

    // Starts the line and points the link at it.
    void Start() {
        std::string error;
        ASSERT_TRUE(line.Start(&error)) << error;
        settings.WriteString(settingskeys::kCommPort, settingskeys::kDevicePath, line.SlavePath());
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

    CSimLine line;
    CMemorySettingsStore settings;
    CMVDoc doc;
    CSecurity security{20261208};
    WorkflowContext context{doc, settings, security, {}};
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
