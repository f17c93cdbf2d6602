#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/CMVDoc.h"
#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"

// A document, settings and security object wired to a simulated multidrop line
// on a pseudo-terminal. The settings keep every exchange short: no turnaround
// delay in the simulated transmitters, no CTS wait, no retries and the
// shortest reply time-out the link allows, so that a silent address costs
// about a tenth of a second.
class CWorkflowTestBench {
public:
  CWorkflowTestBench() {
    using namespace settingskeys;
    settings.WriteString(kCommPort, kBitRate,
                         "38400"); // no per-character time-out share
    settings.WriteString(kCommPort, kCtsDelay, "0");
    settings.WriteString(kCommPort, kCtsEnabled, "FALSE");
    settings.WriteInt(kLinkScheduling, kRetries, 0);
    settings.WriteString(kLinkScheduling, kReplyTimeout, "0");
    settings.WriteString(kLinkScheduling, kBusyDelay, "0");
    settings.WriteString(kLinkScheduling, kInterpollDelay, "0");
    doc.SetLinkAvailable(true);
  }

  static SimTransmitterOptions Options(const std::string &tag) {
    SimTransmitterOptions options;
    options.tag = tag;
    options.turnaroundDelayMs = 0;
    options.presentValueNoise = 0.0;
    return options;
  }

  CSimTransmitter &Add(uint8_t address, const std::string &tag) {
    return line.AddTransmitter(address, Options(tag));
  }
  CSimTransmitter &Add(uint8_t address, const SimTransmitterOptions &options) {
    return line.AddTransmitter(address, options);
  }

  // Starts the line and points the link at it.
  void Start() {
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;
    settings.WriteString(settingskeys::kCommPort, settingskeys::kDevicePath,
                         line.SlavePath());
  }

  CSimLine line;
  CMemorySettingsStore settings;
  CMVDoc doc;
  CSecurity security{20261208};
  WorkflowContext context{doc, settings, security, {}};
};
