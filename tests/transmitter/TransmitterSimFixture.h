#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/CCommException.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CTransmitter.h"

// A transmitter model connected to one simulated transmitter at address 1 over a
// pseudo-terminal, with the turnaround delay and retries at zero to keep tests fast.
class TransmitterSimTest : public ::testing::Test {
  protected:
    static SimTransmitterOptions FastOptions() {
        SimTransmitterOptions options;
        options.turnaroundDelayMs = 0;
        options.presentValueNoise = 0.0;
        return options;
    }

    // Tests that need other device settings change m_options before Connect().
    void SetUp() override { m_options = FastOptions(); }

    void Connect() {
        m_sim = &m_line.AddTransmitter(1, m_options);
        std::string error;
        ASSERT_TRUE(m_line.Start(&error)) << error;
        CProtocol& protocol = Comm().CreateProtocol();
        LinkScheduling scheduling;
        scheduling.retries = 0;
        protocol.SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = m_line.SlavePath();
        port.ctsEnabled = true;
        ASSERT_EQ(protocol.SetPortSettings(port), 0);
        ASSERT_EQ(protocol.Open(), 0);
        ASSERT_EQ(Comm().SelectDevice(1), 1);
    }

    void TearDown() override {
        m_model.Comm().DestroyProtocol();
        m_line.Stop();
    }

    CComm& Comm() { return m_model.Comm(); }
    uint64_t Exchanges() { return Comm().Protocol().ExchangeCount(); }

    template <typename Action>
    static int CommErrorOf(Action action) {
        try {
            action();
        } catch (const CCommException& e) {
            return e.Error();
        }
        return -1;
    }

    CScriptedUi m_ui;
    SimTransmitterOptions m_options;
    CSimLine m_line;
    CSimTransmitter* m_sim = nullptr;
    CTransmitter m_model;
};
