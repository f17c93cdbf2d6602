// Time to compute the whole coefficient array of the default gas configuration
// from fresh fits: the five curve fits (with their database reads), the base
// density and the flow upper limit, written as the flow test files to a
// scratch directory in test mode (nothing is sent). Goal: under 5 ms.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "flow/CGasExpansion.h"
#include "flow/CGasFlow.h"
#include "flow/FlowTestFiles.h"

namespace {

void BM_DefaultGasCoefficientArray(benchmark::State& state) {
    char pattern[] = "/tmp/benchflowXXXXXX";
    const char* dir = ::mkdtemp(pattern);
    if (!dir) {
        state.SkipWithError("no scratch directory");
        return;
    }
    const std::string directory = dir;
    for (auto _ : state) {
        // Rewriting an existing file makes ext4 flush it on close (a disk wait
        // of several ms that has nothing to do with this code): start each
        // pass with no files, as a technician's fresh directory has.
        state.PauseTiming();
        ::unlink((directory + "/1-gas.txt").c_str());
        ::unlink((directory + "/162-send.txt").c_str());
        state.ResumeTiming();
        CGasFlow gas;
        const bool written = flow::WriteFlowTestFiles(&gas, directory);
        if (!written) {
            state.SkipWithError("the flow test files could not be written");
            break;
        }
        benchmark::DoNotOptimize(gas.Array()[100]);
    }
    std::system(("rm -rf '" + directory + "'").c_str());
}
BENCHMARK(BM_DefaultGasCoefficientArray)->Unit(benchmark::kMillisecond);

// The same computation without the two test files: fits, isentropic exponent,
// base density and the array with its flow upper limit, in memory.
void BM_DefaultGasCoefficientArrayInMemory(benchmark::State& state) {
    for (auto _ : state) {
        CGasFlow gas;
        gas.SetBoreDiameter(CLength(1.5, CUnit(47, 35)));
        gas.SetTubeDiameter(CLength(4.0, CUnit(47, 35)));
        gas.SetOperatingPressureMin(CPressure(1.0, CUnit(6, 1)));
        gas.SetOperatingPressureMax(CPressure(50.0, CUnit(6, 1)));
        gas.SetOperatingTemperatureMax(CTemperature(100.0, CUnit(33, 2)));
        bool ok = gas.ComputeIsentropicExponent() != 0;
        for (CCurveFit* fit : gas.Fits()) ok = ok && fit->GenerateAndFit();
        gas.SetTestMode(1);
        ok = ok && gas.ComputeCoefficientArray();
        if (!ok) {
            state.SkipWithError("the coefficient array could not be computed");
            break;
        }
        benchmark::DoNotOptimize(gas.Array()[100]);
    }
}
BENCHMARK(BM_DefaultGasCoefficientArrayInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
