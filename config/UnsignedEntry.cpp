#include "config/UnsignedEntry.h"

#include "platform/Numbers.h"
#include "resources/Texts.h"

namespace config {

std::string ReadUnsigned(const std::string& text, unsigned long minimum, unsigned long maximum,
                         unsigned long& value) {
    long parsed = 0;
    if (!platform::ParseLong(text, parsed) || parsed < 0) return texts::kEnterPositiveInteger;
    const auto number = static_cast<unsigned long>(parsed);
    if (number < minimum || number > maximum) {
        std::string message = texts::kEnterIntegerBetween;
        message.replace(message.find("%1"), 2, std::to_string(minimum));
        message.replace(message.find("%2"), 2, std::to_string(maximum));
        return message;
    }
    value = number;
    return std::string();
}

}  // namespace config
