// The terminal's diagnostics commands over the diagnostic forms.
#include "cli/DiagnosticsCommands.h"

#include <sstream>

#include "cli/CliProgram.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"

namespace {

constexpr uint8_t kWriteCoil = 5;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class DiagnosticsCommandsTest : public DiagnosticsTest {
  protected:
    struct Run {
        int status = -1;
        std::string out;
        std::string err;
    };

    // The simulated line without a connection of the test's own: the program
    // opens the port itself.
    void StartLine(const SimTransmitterOptions& options = Options()) {
        m_sim = &m_bench.Add(1, options);
        m_bench.Start();
    }

    // The program as a user starts it, on the simulated line.
    Run Program(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", m_bench.line.SlavePath()});
        std::ostringstream out, err;
        Run run;
        run.status = cli::RunProgram(args, m_bench.settings, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The timing of the fake clock: every sleep moves it on.
    cli::StepTiming FakeTiming() {
        std::shared_ptr<CFakeClock> clock = m_clock;
        return {Clock(), [clock](int ms) { clock->Advance(ms); }};
    }

    template <typename Command>
    Run Timed(Command command, const std::vector<std::string>& args) {
        std::ostringstream out, err;
        Run run;
        run.status = command(m_bench.context, args, out, err, FakeTiming());
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    bool CoilWritten() const {
        for (const auto& write : Writes()) {
            if (write.function == kWriteCoil) return true;
        }
        return false;
    }
};

TEST_F(DiagnosticsCommandsTest, DiagnosticsPrintsOneLineAStatusBit) {
    SimTransmitterOptions options = Options();
    options.statusBytes = {0, 0, 0x01, 0x04, 0, 0x02};
    StartLine(options);
    const Run run = Program({"diagnostics"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "RTD is disconnected\nStatus Bit Not Labelled (byte 3, bit 2)\n");
}

TEST_F(DiagnosticsCommandsTest, IdentificationAndModuleInformationAsLinesOrJson) {
    StartLine();
    const Run json = Program({"identification", "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"manufacturer\": \"Brackwell\", \"model\": \"Corvel w/Modbus\", "
              "\"transmitter-serial-number\": \"7654321\", \"sensor-serial-number\": \"1234567\", "
              "\"universal-revision\": \"5\", \"specific-revision\": \"3\", "
              "\"hardware-revision\": \"1\", \"output-board-revision\": \"1.2\", "
              "\"sensor-module-revision\": \"5\"}\n");
    const Run lines = Program({"module-info"});
    EXPECT_EQ(lines.status, 0) << lines.err;
    EXPECT_TRUE(Contains(lines.out, "\ndp-url: 250\n")) << lines.out;
    EXPECT_TRUE(Contains(lines.out, "\nsp-units: psia\n")) << lines.out;
    EXPECT_TRUE(Contains(lines.out, "\nfixed-pt: Disabled\n")) << lines.out;
}

TEST_F(DiagnosticsCommandsTest, ModuleInformationNeverRepairsAUnitsCodeByItself) {
    SimTransmitterOptions options = Options();
    options.unitsCodes[1] = SimTransmitterOptions::kInvalidUnitsCode;
    StartLine(options);
    const Run run = Program({"module-info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(364))) << run.err;
    EXPECT_TRUE(Contains(run.err, "answered with Cancel")) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_sim->UnitsCode(SimVariable::kSp), SimTransmitterOptions::kInvalidUnitsCode);
}

TEST_F(DiagnosticsCommandsTest, WithoutYesResetAndSelfTestShowTheSafetyTextAndSendNothing) {
    StartLine();
    for (const char* command : {"master-reset", "self-test"}) {
        const Run run = Program({command});
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_TRUE(Contains(run.err, LoadString(kIdSafetyPrompt))) << run.err;
        EXPECT_TRUE(Contains(run.err, "repeat the command with --yes")) << run.err;
    }
    EXPECT_FALSE(CoilWritten());
    EXPECT_FALSE(m_sim->IsSilent());
    EXPECT_FALSE(m_sim->IsSelfTestRunning());
}

TEST_F(DiagnosticsCommandsTest, UnknownArgumentsAreUsageErrors) {
    StartLine();
    EXPECT_EQ(Program({"diagnostics", "--json"}).status, 2);
    EXPECT_EQ(Program({"module-info", "--yes"}).status, 2);
    EXPECT_EQ(Program({"master-reset", "--json"}).status, 2);
    EXPECT_FALSE(CoilWritten());
}

TEST_F(DiagnosticsCommandsTest, MasterResetWaitsForTheTransmitter) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 8000;
    ConnectWithFakeClock(options);
    const Run run = Timed(cli::RunMasterReset, {"--yes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, LoadString(3250) + "\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, LoadString(kIdProcessValueNotice))) << run.err;
    EXPECT_EQ(run.out, "The transmitter answered after the reset.\n");
    EXPECT_TRUE(CoilWritten());
    EXPECT_TRUE(m_bench.context.Connected());
}

TEST_F(DiagnosticsCommandsTest, MasterResetGivesUpOnASilentTransmitter) {
    SimTransmitterOptions options = Options();
    options.masterResetDurationMs = 3600000;
    ConnectWithFakeClock(options);
    const Run run = Timed(cli::RunMasterReset, {"--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(3251))) << run.err;
    EXPECT_FALSE(Contains(run.err, LoadString(kIdProcessValueNotice))) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(m_bench.context.Connected());
}

TEST_F(DiagnosticsCommandsTest, SelfTestPrintsTheStatusItLeft) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 1000;
    ConnectWithFakeClock(options);
    m_sim->SetSelfTestResult({0, 0, 0, 0, 0x20, 0});
    const Run run = Timed(cli::RunSelfTest, {"--yes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Sensor Microprocessor does Not Respond\n");
    EXPECT_TRUE(Contains(run.err, LoadString(3252) + "\n")) << run.err;
    EXPECT_TRUE(Contains(run.err, LoadString(kIdProcessValueNotice))) << run.err;
}

TEST_F(DiagnosticsCommandsTest, ASelfTestStillRunningFails) {
    SimTransmitterOptions options = Options();
    options.selfTestDurationMs = 5000;
    ConnectWithFakeClock(options);
    const Run run = Timed(cli::RunSelfTest, {"--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(3253))) << run.err;
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
