// Transactions per second of our Modbus master against libmodbus's, both reading
// six holding registers from the same simulated transmitter (turnaround delay 0,
// no wire timing) on a pseudo-terminal, so that only the masters differ.
//
//   bench_link [N]   (N reads by each master, default 2000)
#include <modbus.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "link/CProtocol.h"
#include "sim/CSimLine.h"
#include "sim/SimTransmitterOptions.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint16_t kStart = 400;
constexpr uint16_t kCount = 6;
constexpr double kGoalRatio = 1.5;

// Seconds for n reads through CProtocol, or a negative value on a failure.
double TimeOurMaster(const std::string& path, int n) {
    CProtocol protocol;
    LinkScheduling scheduling;
    scheduling.retries = 0;
    protocol.SetLinkScheduling(scheduling);
    PortSettings port;
    port.devicePath = path;
    port.ctsDelay = 0;
    if (protocol.SetPortSettings(port) != 0 || protocol.Open() != 0) return -1;
    if (protocol.SendPoll(1, 3, kStart, kCount, nullptr, false) != 0) return -1;  // warm up
    const auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        if (const int32_t error = protocol.SendPoll(1, 3, kStart, kCount, nullptr, false);
            error != 0) {
            std::fprintf(stderr, "our master: error %d on read %d\n", error, i);
            return -1;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    protocol.Close();
    return seconds;
}

double TimeLibmodbus(const std::string& path, int n) {
    modbus_t* ctx = modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1);
    if (!ctx) return -1;
    double seconds = -1;
    uint16_t registers[kCount];
    if (modbus_set_slave(ctx, 1) == 0 && modbus_connect(ctx) == 0) {
        modbus_set_response_timeout(ctx, 1, 0);
        if (modbus_read_registers(ctx, kStart, kCount, registers) == kCount) {
            const auto start = Clock::now();
            int i = 0;
            for (; i < n; ++i) {
                if (modbus_read_registers(ctx, kStart, kCount, registers) != kCount) {
                    std::fprintf(stderr, "libmodbus: %s on read %d\n", modbus_strerror(errno), i);
                    break;
                }
            }
            if (i == n) seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        modbus_close(ctx);
    }
    modbus_free(ctx);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    CSimLine line;
    std::string reason;
    if (!line.Start(&reason)) {
        std::fprintf(stderr, "simulated transmitter: %s\n", reason.c_str());
        return 1;
    }
    line.SetWireTiming(0);
    SimTransmitterOptions options;
    options.turnaroundDelayMs = 0;
    line.AddTransmitter(1, options);

    const double ours = TimeOurMaster(line.SlavePath(), n);
    const double theirs = TimeLibmodbus(line.SlavePath(), n);
    if (ours <= 0 || theirs <= 0) return 1;
    const double ratio = ours / theirs;
    std::printf("%d reads of %u registers each\n", n, kCount);
    std::printf("CProtocol:  %9.1f transactions/s  (%.1f us each)\n", n / ours, 1e6 * ours / n);
    std::printf("libmodbus:  %9.1f transactions/s  (%.1f us each)\n", n / theirs, 1e6 * theirs / n);
    std::printf("time per transaction, ours / libmodbus: %.2f (goal at most %.1f)\n", ratio,
                kGoalRatio);
    return ratio <= kGoalRatio ? 0 : 2;
}
