// Read Outputs against a simulated transmitter whose line runs at the speed of
// a real 9600 bit/s wire: exchanges per second of its refresh steps, measured
// against the most the wire allows. Each values step is one exchange; its
// floor is the character time of request and reply plus the transmitter's
// turnaround delay. "Paced" runs the steps on the window's 250 ms clock (two
// steps per exchange, the clock waiting after each step); "unpaced" runs them
// back to back and shows what the exchange itself costs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/CConnectEngine.h"
#include "app/CMVDoc.h"
#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "link/LinkSettings.h"
#include "maintenance/CReadOutputsForm.h"
#include "platform/CMemorySettingsStore.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"

namespace {

constexpr double kBitRate = 9600.0;
constexpr double kBitsPerCharacter = 11.0;  // start, 8 data, parity slot, stop
constexpr uint8_t kAddress = 1;
constexpr int kSteps = 12;

void RunReadOutputs(benchmark::State& state, bool paced) {
    CSimLine line;
    CSimTransmitter& transmitter = line.AddTransmitter(kAddress, SimTransmitterOptions());
    line.SetWireTiming(kBitRate);
    std::string error;
    if (!line.Start(&error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const double turnaroundSeconds = transmitter.TurnaroundDelayMs() / 1000.0;
    CMemorySettingsStore settings;
    settings.WriteString(settingskeys::kCommPort, settingskeys::kBitRate, "9600");
    settings.WriteString(settingskeys::kCommPort, settingskeys::kDevicePath, line.SlavePath());
    CMVDoc doc;
    doc.SetLinkAvailable(true);
    CSecurity security;
    WorkflowContext context{doc, settings, security, {}};
    CConnectEngine connect(context);
    try {
        connect.ConnectTo(kAddress);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    CReadOutputsForm form(doc);
    if (!form.Open()) {
        state.SkipWithError("Read Outputs did not open");
        return;
    }

    double seconds = 0.0;
    double wireFloorSeconds = 0.0;
    uint64_t exchanges = 0;
    for (auto _ : state) {
        const uint64_t bytesBefore = line.BytesReceived() + line.BytesSent();
        const uint64_t requestsBefore = line.RequestsSeen();
        const auto start = std::chrono::steady_clock::now();
        for (int step = 0; step < kSteps; ++step) {
            if (paced)
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(CReadOutputsForm::kRefreshMs));
            if (form.Refresh().result != FormResult::StayOpen) {
                state.SkipWithError("a refresh failed");
                return;
            }
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const uint64_t requests = line.RequestsSeen() - requestsBefore;
        const uint64_t bytes = line.BytesReceived() + line.BytesSent() - bytesBefore;
        exchanges += requests;
        wireFloorSeconds += static_cast<double>(bytes) * kBitsPerCharacter / kBitRate +
                            static_cast<double>(requests) * turnaroundSeconds;
    }
    if (seconds <= 0.0 || exchanges == 0) return;
    const double perExchangeFloor = wireFloorSeconds / static_cast<double>(exchanges);
    state.counters["exchanges_per_s"] = static_cast<double>(exchanges) / seconds;
    state.counters["wire_floor_per_s"] = 1.0 / perExchangeFloor;
    // On the window's clock an exchange also waits two ticks.
    state.counters["paced_floor_per_s"] =
        1.0 / (perExchangeFloor + 2.0 * CReadOutputsForm::kRefreshMs / 1000.0);
    state.counters["ms_per_exchange"] = seconds / static_cast<double>(exchanges) * 1000.0;
}

void BM_ReadOutputsPaced(benchmark::State& state) { RunReadOutputs(state, true); }
void BM_ReadOutputsUnpaced(benchmark::State& state) { RunReadOutputs(state, false); }

}  // namespace

BENCHMARK(BM_ReadOutputsPaced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ReadOutputsUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

BENCHMARK_MAIN();
