#include "platform/SerialPortList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/CPosixSerialPort.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kComPorts = 4;

// The names in `folder` that begin with `prefix`; none when it cannot be read.
std::vector<std::string> NamesIn(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    return names;
}

// The device a path ends at; the path itself when it cannot be resolved.
std::string Resolved(const fs::path& path) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    return error ? path.string() : target.string();
}

// "ttyUSB2" before "ttyUSB10": the trailing number compared as a number.
bool DeviceOrder(const std::string& a, const std::string& b) {
    auto split = [](const std::string& name) {
        size_t digits = name.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
        const std::string number = name.substr(digits);
        return std::make_pair(name.substr(0, digits),
                              number.empty() ? -1L : std::stol(number.substr(0, 9)));
    };
    return split(a) < split(b);
}

}  // namespace

namespace platform {

std::vector<SerialPortChoice> ListSerialPorts(const std::string& root) {
    std::vector<SerialPortChoice> list;
    for (unsigned n = 1; n <= kComPorts; ++n) {
        list.push_back({"COM" + std::to_string(n), n, std::string(), ComPortDevice(n)});
    }

    const fs::path dev = fs::path(root.empty() ? "/" : root) / "dev";
    std::set<std::string> listed;
    std::vector<std::string> byId = NamesIn(dev / "serial" / "by-id", "");
    std::sort(byId.begin(), byId.end());
    for (const std::string& name : byId) {
        const fs::path path = dev / "serial" / "by-id" / name;
        const std::string target = Resolved(path);
        listed.insert(target);
        list.push_back({name, 0, path.string(), target});
    }

    for (const char* prefix : {"ttyUSB", "ttyACM"}) {
        std::vector<std::string> names = NamesIn(dev, prefix);
        std::sort(names.begin(), names.end(), DeviceOrder);
        for (const std::string& name : names) {
            const fs::path path = dev / name;
            const std::string target = Resolved(path);
            if (!listed.insert(target).second) continue;
            list.push_back({name, 0, path.string(), target});
        }
    }
    return list;
}

}  // namespace platform
