#pragma once

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

// One value that Read Outputs read: when, which variable, the value and the
// name of its unit. The trend draws them, the CSV export writes them.
struct OutputSample {
    std::chrono::system_clock::time_point time;
    std::string variable;
    double value = 0.0;
    std::string units;
};

namespace maintenance {

// ISO 8601 in local time with the offset from UTC and milliseconds:
// "2026-12-09T06:05:01.250+01:00".
std::string SampleTimeText(std::chrono::system_clock::time_point time);
// The header "time,variable,value,unit", then one line per sample; a text
// holding a comma, a quote or a line break is quoted. Values keep the nine
// digits that a float needs.
void WriteSamplesCsv(std::ostream& out, const std::vector<OutputSample>& samples);
// The same into a file, which appears whole or not at all (written beside it,
// then renamed). False when it could not be written.
bool WriteSamplesCsvFile(const std::string& path, const std::vector<OutputSample>& samples);

}  // namespace maintenance
