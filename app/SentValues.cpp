#include "app/SentValues.h"

#include <cstdio>
#include <exception>
#include <functional>

#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CDeviceInfo.h"
#include "transmitter/CLCDDisplay.h"
#include "transmitter/CMeasuredVariable.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr const char* kUnreadable = "?";
// The short names the windows and the terminal give DP, SP and PT.
constexpr const char* kVariableKeys[] = {"DP", "SP", "PT"};

// The value `shown` gives; "?" when reading it fails.
std::string Shown(const std::function<std::string()>& shown) {
    try {
        return shown();
    } catch (const std::exception&) {
        return kUnreadable;
    }
}

template <typename Codes>
std::string CodeList(const Codes& codes) {
    std::string text;
    for (const auto code : codes) {
        if (!text.empty()) text += ", ";
        text += std::to_string(code);
    }
    return text;
}

// As the device information window shows a date: "14/JUN/25".
std::string DateShown(const CalendarDate& date) {
    const int month = date.month >= 1 && date.month <= 12 ? date.month : 1;
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%s/%02d", date.day % 100,
                  texts::kMonthAbbreviations[month - 1], date.year % 100);
    return text;
}

}  // namespace

namespace app {

ShownValues SentValues(CTransmitter& model, int step, int access) {
    ShownValues values;
    auto add = [&values](std::string field, const std::function<std::string()>& shown) {
        values.emplace_back(std::move(field), Shown(shown));
    };
    switch (step) {
        case 1:
            add("turnaround delay", [&] {
                return std::to_string(model.ReadTurnaroundDelay(access)) + " " +
                       texts::kMilliseconds;
            });
            add("float format", [&] { return std::to_string(model.ReadFloatFormat(access)); });
            add("integer scaling method",
                [&] { return std::to_string(model.ReadIntegerScalingMethod(access)); });
            break;
        case 2:
        case 3:
        case 4: {
            const int v = step - 2;
            CMeasuredVariable& variable = model.Variable(v);
            const std::string name = kVariableKeys[v];
            add(name + " units", [&] { return variable.ReadUnits(access).Name(); });
            add(name + " damping", [&] {
                return FormatText("%g", variable.ReadDamping(access)) + " " + texts::kSeconds;
            });
            add(name + " operating limits", [&] {
                const auto limits = variable.ReadOperatingLimits(access);
                return FormatText("%g", limits.first) + " to " + FormatText("%g", limits.second) +
                       " " + variable.ReadUnits(access).Name();
            });
            break;
        }
        case 5: {
            CDeviceInfo& info = model.DeviceInfo();
            CDeviceInfo::TagDescriptorDate texts{};
            bool read = true;
            try {
                texts = info.ReadTagDescriptorDate(access);
            } catch (const std::exception&) {
                read = false;
            }
            add("tag", [&] { return read ? texts.tag : kUnreadable; });
            add("descriptor", [&] { return read ? texts.descriptor : kUnreadable; });
            add("date", [&] { return read ? DateShown(texts.date) : kUnreadable; });
            add("message", [&] { return info.ReadMessage(access); });
            add("construction codes",
                [&] { return CodeList(info.ReadCodes(access).construction.InRegisterOrder()); });
            break;
        }
        case 6: {
            const CLCDDisplay::Settings lcd = [&] {
                try {
                    return model.LcdDisplay().Read(access);
                } catch (const std::exception&) {
                    return CLCDDisplay::Settings{};
                }
            }();
            add("LCD items", [&] { return CodeList(lcd.items); });
            add("LCD interval",
                [&] { return std::to_string(lcd.interval) + " " + texts::kSeconds; });
            break;
        }
        default:
            break;
    }
    return values;
}

}  // namespace app
