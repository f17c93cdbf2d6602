// Receive configuration from a simulated transmitter whose line runs at the
// speed of a real 9600 bit/s wire, measured against the least time the
// exchanges can take: every byte's character time, the transmitter's
// turnaround delay before each reply, and the delays the protocol itself must
// keep. A receive writes nothing, so no post-send delay applies; the one
// 123-byte read (the identity block) ends only on the 200 ms character gap.
// Goal: within 1.10 x that floor.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "app/CConnectEngine.h"
#include "app/CMVDoc.h"
#include "app/CReceiveEngine.h"
#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "link/CProtocol.h"
#include "link/LinkSettings.h"
#include "platform/CMemorySettingsStore.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"
#include "transmitter/CComm.h"

namespace {

constexpr double kBitRate = 9600.0;
constexpr double kBitsPerCharacter = 11.0;  // start, 8 data, parity slot, stop
constexpr double kCharacterGapSeconds = 0.200;
constexpr uint8_t kAddress = 1;

void BM_ReceiveConfiguration(benchmark::State& state) {
    CSimLine line;
    SimTransmitterOptions options;  // default turnaround delay
    options.tag = "FT 101";
    CSimTransmitter& transmitter = line.AddTransmitter(kAddress, options);
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
    CComm& comm = context.Comm();

    double measuredSeconds = 0.0;
    double floorSeconds = 0.0;
    for (auto _ : state) {
        // Each receive starts from a freshly selected transmitter, so that
        // every cached register group is read again.
        state.PauseTiming();
        comm.ResetDevice();
        comm.SelectDevice(kAddress);
        const bool blockCached = comm.Protocol().CacheValid(CacheGroup::IdentityBlock);
        const uint64_t bytesBefore = line.BytesReceived() + line.BytesSent();
        const uint64_t requestsBefore = line.RequestsSeen();
        CReceiveEngine receive(context);
        receive.Start({});
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        while (receive.Step()) {
        }
        const auto end = std::chrono::steady_clock::now();

        state.PauseTiming();
        if (receive.Result() != WorkflowResult::Done) {
            state.SkipWithError("receive did not complete");
            break;
        }
        const uint64_t bytes = line.BytesReceived() + line.BytesSent() - bytesBefore;
        const uint64_t requests = line.RequestsSeen() - requestsBefore;
        const bool blockRead =
            !blockCached && comm.Protocol().CacheValid(CacheGroup::IdentityBlock);
        measuredSeconds += std::chrono::duration<double>(end - start).count();
        floorSeconds += static_cast<double>(bytes) * kBitsPerCharacter / kBitRate +
                        static_cast<double>(requests) * turnaroundSeconds +
                        (blockRead ? kCharacterGapSeconds : 0.0);
        state.ResumeTiming();
    }
    if (floorSeconds > 0.0) {
        const double iterations = static_cast<double>(state.iterations());
        state.counters["floor_ms"] = floorSeconds / iterations * 1000.0;
        state.counters["measured_ms"] = measuredSeconds / iterations * 1000.0;
        state.counters["ratio_to_floor"] = measuredSeconds / floorSeconds;
        state.counters["goal_ratio"] = 1.10;
    }
}

}  // namespace

BENCHMARK(BM_ReceiveConfiguration)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
