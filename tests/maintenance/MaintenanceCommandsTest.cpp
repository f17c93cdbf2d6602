// The terminal's maintenance commands over the maintenance forms, on the
// simulated line.
#include "cli/MaintenanceCommands.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <sstream>

#include "cli/CliProgram.h"
#include "tests/config/FormTestBench.h"

namespace {

constexpr uint8_t kWriteCoil = 5;
constexpr uint16_t kDpOffsetTrim = 436;
constexpr uint16_t kDpSlopeTrim = 438;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class MaintenanceCommandsTest : public FormTest {
  protected:
    struct Run {
        int status = -1;
        std::string out;
        std::string err;
    };

    void StartLine(bool rtdMode = true) {
        SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
        options.presentValueNoise = 0.0;
        options.rtdMode = rtdMode;
        m_sim = &m_bench.Add(1, options);
        m_bench.Start();
    }

    Run Program(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", m_bench.line.SlavePath()});
        std::ostringstream out, err;
        Run run;
        run.status = cli::RunProgram(args, m_bench.settings, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // The trim with typed lines: each read takes the next line; an empty
    // queue is a read that timed out (the measured value is read again).
    // `interruptAfter` reads in, Ctrl+C is pressed.
    Run Trim(const std::vector<std::string>& args, std::deque<std::optional<std::string>> lines,
             int interruptAfter = -1) {
        int reads = 0;
        cli::TrimInput input;
        input.readLine = [&](int) -> std::optional<std::string> {
            ++reads;
            ++m_reads;
            if (lines.empty()) return std::nullopt;
            std::optional<std::string> line = lines.front();
            lines.pop_front();
            return line;
        };
        input.interrupted = [&] { return interruptAfter >= 0 && reads >= interruptAfter; };
        std::ostringstream out, err;
        Run run;
        run.status = cli::RunTrim(m_bench.context, args, out, err, input);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    // Write requests to coil 2, the trim mode.
    int TrimModeWrites() const {
        int count = 0;
        for (const auto& request : m_sim->Requests())
            count += request.function == kWriteCoil && request.address == 2 ? 1 : 0;
        return count;
    }

    int WritesTo(uint16_t address) const {
        int count = 0;
        for (uint16_t written : WrittenRegisters()) count += written == address ? 1 : 0;
        return count;
    }

    int m_reads = 0;
};

TEST_F(MaintenanceCommandsTest, TrimWithYesConfirmsEveryStepAndLeavesTrimModeOff) {
    StartLine();
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 2.0);
    const Run run = Trim({"DP", "offset=0.5", "--yes"}, {});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(m_reads, 0) << "nothing waits for the user";
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 1);
    EXPECT_EQ(WritesTo(kDpSlopeTrim), 0);
    EXPECT_EQ(TrimModeWrites(), 2);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
    EXPECT_NEAR(m_sim->PresentValue(SimVariable::kDp), 0.5, 1e-4);
    EXPECT_TRUE(Contains(run.out, "offset-point: 0.5 InH2O-60°F")) << run.out;
    EXPECT_TRUE(Contains(run.out, "slope-point: 250 InH2O-60°F")) << run.out;
}

TEST_F(MaintenanceCommandsTest, AnInteractiveStepShowsTheMeasuredValueUntilEnter) {
    StartLine();
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 4.0);
    // OK at the safety prompt, two reads with nothing typed, then Enter.
    const Run run =
        Trim({"DP", "offset=3"}, {std::string(), std::nullopt, std::nullopt, std::string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, "\rMeasured Value: 4 InH2O-60°F")) << run.err;
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 1);
    EXPECT_NEAR(m_sim->PresentValue(SimVariable::kDp), 3.0, 1e-4);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
}

TEST_F(MaintenanceCommandsTest, CancellingTheOffsetStepStillOffersTheSlopeStep) {
    StartLine();
    const Run run = Trim({"DP", "offset=0", "slope=40"}, {std::string(), "c", std::string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.err, LoadString(380)));
    EXPECT_EQ(WritesTo(kDpOffsetTrim), 0);
    EXPECT_EQ(WritesTo(kDpSlopeTrim), 1);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
}

TEST_F(MaintenanceCommandsTest, CtrlCInAStepSendsNoTrimAndLeavesTrimModeOff) {
    StartLine();
    const Run run = Trim({"DP", "offset=0", "slope=40"}, {std::string()}, 2);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(WritesTo(kDpOffsetTrim) + WritesTo(kDpSlopeTrim), 0);
    EXPECT_EQ(TrimModeWrites(), 2) << "on, then off";
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
}

TEST_F(MaintenanceCommandsTest, WithoutAnAnswerToTheSafetyPromptNothingIsSent) {
    StartLine();
    const Run run = Trim({"DP", "offset=0"}, {"c"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "repeat the command with --yes")) << run.err;
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MaintenanceCommandsTest, TrimRefusesASpanTooSmallAndAFixedPt) {
    StartLine(false);
    Run run = Trim({"DP", "offset=249", "--yes"}, {});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "Trim span from offset to slope values too small"));
    run = Trim({"PT", "offset=0", "--yes"}, {});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "fixed process temperature"));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Trim({"XP", "offset=0"}, {}).status, 2);
    EXPECT_EQ(Trim({"DP"}, {}).status, 2);
}

TEST_F(MaintenanceCommandsTest, GetAndSetFixedPtRunOverTheWindowsForm) {
    StartLine();
    Run run = Program({"get", "fixed-pt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "fixed: off")) << run.out;
    run = Program({"set", "fixed-pt", "fixed=on", "temperature=1300", "--yes"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(2422))) << run.err;
    run = Program({"set", "fixed-pt", "fixed=on", "temperature=88.5"});
    EXPECT_EQ(run.status, 1) << "no --yes, nothing written";
    EXPECT_TRUE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
    run = Program({"set", "fixed-pt", "fixed=on", "temperature=88.5", "--yes"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
    EXPECT_DOUBLE_EQ(m_sim->FixedProcessTemperature(), 88.5);
    run = Program({"get", "fixed-pt"});
    EXPECT_TRUE(Contains(run.out, "fixed: on")) << run.out;
    EXPECT_TRUE(Contains(run.out, "temperature: 88.5 °F")) << run.out;
}

TEST_F(MaintenanceCommandsTest, ReadOutputsPacesItsTicksAndWritesTheSamples) {
    StartLine();
    m_sim->ClearRequests();
    std::vector<int> sleeps;
    std::vector<size_t> requestsAtSleep;
    cli::OutputsTiming timing;
    timing.sleep = [&](int ms) {
        sleeps.push_back(ms);
        requestsAtSleep.push_back(m_sim->Requests().size());
    };
    timing.interrupted = [] { return false; };
    const std::string csv = ::testing::TempDir() + "read-outputs.csv";
    std::ostringstream out, err;
    const int status = cli::RunReadOutputs(
        m_bench.context, {"--count", "3", "--interval", "10", "--csv", csv}, out, err, timing);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(sleeps, std::vector<int>(4, 250)) << "two ticks per further sample, 250 ms each";
    for (size_t i = 1; i < requestsAtSleep.size(); ++i)
        EXPECT_LE(requestsAtSleep[i] - requestsAtSleep[i - 1], 1u) << "tick " << i;
    const std::string printed = out.str();
    std::istringstream lines(printed);
    std::string first;
    std::getline(lines, first);
    EXPECT_EQ(first, "Differential Pressure: 25.0000 InH2O-60°F");
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 9);

    std::ifstream file(csv);
    std::string header;
    std::getline(file, header);
    EXPECT_EQ(header, "time,variable,value,unit");
    int samples = 0;
    for (std::string line; std::getline(file, line);) ++samples;
    EXPECT_EQ(samples, 9);
}

TEST_F(MaintenanceCommandsTest, ReadOutputsReportsACsvItCannotWrite) {
    StartLine();
    cli::OutputsTiming timing{[](int) {}, [] { return false; }};
    std::ostringstream out, err;
    EXPECT_EQ(
        cli::RunReadOutputs(m_bench.context, {"--csv", "/nonexistent-dir/x.csv"}, out, err, timing),
        1);
    EXPECT_TRUE(Contains(err.str(), "could not be written")) << err.str();
    EXPECT_EQ(cli::RunReadOutputs(m_bench.context, {"--count", "0"}, out, err, timing), 2);
}

}  // namespace
