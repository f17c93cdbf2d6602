#include "maintenance/OutputSample.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <ostream>

#include "resources/Strings.h"

namespace maintenance {
namespace {

std::string CsvText(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace

std::string SampleTimeText(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto sinceEpoch = time.time_since_epoch();
    const auto wholeSeconds = duration_cast<seconds>(sinceEpoch);
    long long millis = duration_cast<milliseconds>(sinceEpoch - wholeSeconds).count();
    std::time_t seconds = static_cast<std::time_t>(wholeSeconds.count());
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32] = {};
    char zone[8] = {};
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);
    // "+0100" becomes "+01:00".
    std::string offset = zone;
    if (offset.size() == 5) offset.insert(3, ":");
    return FormatText("%s.%03lld", stamp, millis) + offset;
}

void WriteSamplesCsv(std::ostream& out, const std::vector<OutputSample>& samples) {
    out << "time,variable,value,unit\n";
    for (const OutputSample& sample : samples) {
        out << SampleTimeText(sample.time) << ',' << CsvText(sample.variable) << ','
            << FormatText("%.9g", sample.value) << ',' << CsvText(sample.units) << '\n';
    }
}

bool WriteSamplesCsvFile(const std::string& path, const std::vector<OutputSample>& samples) {
    const std::string partial = path + ".part";
    bool written = false;
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (out) {
            WriteSamplesCsv(out, samples);
            out.close();
            written = !out.fail();
        }
    }
    if (written) written = std::rename(partial.c_str(), path.c_str()) == 0;
    if (!written) std::remove(partial.c_str());
    return written;
}

}  // namespace maintenance
