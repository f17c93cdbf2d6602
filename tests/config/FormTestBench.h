#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CConnectEngine.h"
#include "config/CConfigForm.h"
#include "resources/Strings.h"
#include "sim/CSimTransmitter.h"
#include "tests/app/WorkflowTestBench.h"
#include "tests/support/CScriptedUi.h"

// A configuration form's world: the document of the workflow bench, and (for
// Transmitter mode) one simulated transmitter at address 1 whose requests are
// recorded, so that a test sees exactly which registers a window wrote.
class FormTest : public ::testing::Test {
  protected:
    static constexpr unsigned kIdSafetyPrompt = 390;
    static constexpr unsigned kIdProcessValueNotice = 392;
    static constexpr unsigned kIdConfigurationFailed = 393;

    // Connects to a simulated transmitter with these options.
    void Connect(const SimTransmitterOptions& options = CWorkflowTestBench::Options("CORVEL")) {
        m_sim = &m_bench.Add(1, options);
        m_bench.Start();
        CConnectEngine connect(m_bench.context);
        connect.DropDevice();
        connect.ConnectTo(1);
        ASSERT_TRUE(m_bench.context.Connected());
        m_sim->ClearRequests();
    }

    // The writes the transmitter received since the connection, in order.
    std::vector<CSimTransmitter::RequestRecord> Writes() const {
        std::vector<CSimTransmitter::RequestRecord> writes;
        for (const auto& request : m_sim->Requests()) {
            if (request.function == 5 || request.function == 6 || request.function == 16)
                writes.push_back(request);
        }
        return writes;
    }

    // The first registers written, one per write request.
    std::vector<uint16_t> WrittenRegisters() const {
        std::vector<uint16_t> registers;
        for (const auto& write : Writes()) registers.push_back(write.address);
        return registers;
    }

    // The two boxes around a successful write to a transmitter.
    void ExpectSafetyAndNotice() {
        m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
        m_ui.Expect(LoadString(kIdProcessValueNotice));
    }

    CMVDoc& Doc() { return m_bench.doc; }
    CTransmitter& Model() { return m_bench.doc.Transmitter(); }

    CScriptedUi m_ui;
    CWorkflowTestBench m_bench;
    CSimTransmitter* m_sim = nullptr;
};
