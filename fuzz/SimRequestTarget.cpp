#include "fuzz/SimRequestTarget.h"

#include <vector>

#include "sim/CSimTransmitter.h"

namespace fuzz {
namespace {

uint16_t Word(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

std::string CheckReply(const std::vector<uint8_t>& pdu, const std::vector<uint8_t>& reply) {
    const uint8_t function = pdu[0];
    if (reply.empty()) return "an empty reply";
    if (reply[0] == (function | 0x80)) {
        if (reply.size() != 2 || reply[1] < 1 || reply[1] > 4)
            return "a malformed exception reply to function " + std::to_string(function);
        return {};
    }
    if (reply[0] != function) return "a reply to another function";
    switch (function) {
        case 1:
        case 3:
        case 4: {
            if (pdu.size() < 5) return "a read reply to a short request";
            const unsigned count = Word(&pdu[3]);
            const unsigned bytes = function == 1 ? (count + 7) / 8 : 2 * count;
            if (reply.size() < 2 || reply[1] != bytes || reply.size() != 2u + bytes)
                return "a read reply of the wrong size to function " + std::to_string(function);
            return {};
        }
        case 5:
        case 6:
        case 16:
            if (pdu.size() < 5 || reply != std::vector<uint8_t>(pdu.begin(), pdu.begin() + 5))
                return "a write reply that does not echo function " + std::to_string(function);
            return {};
        default:
            return "a normal reply to function " + std::to_string(function);
    }
}

}  // namespace

std::string CheckSimRequestInput(const uint8_t* data, size_t size) {
    SimTransmitterOptions options;
    // Nothing in a run waits on the clock: no silence after a master reset, a
    // self test that ends at once, and exact present values.
    options.masterResetDurationMs = 0;
    options.selfTestDurationMs = 0;
    options.presentValueNoise = 0.0;
    CSimTransmitter transmitter(1, options);
    size_t at = 0;
    while (at < size) {
        const size_t length = data[at++];
        if (length == 0 || length > size - at) break;
        const std::vector<uint8_t> pdu(data + at, data + at + length);
        at += length;
        std::vector<uint8_t> reply;
        if (!transmitter.HandleRequest(pdu.data(), pdu.size(), reply)) continue;
        const std::string broken = CheckReply(pdu, reply);
        if (!broken.empty()) return broken;
        transmitter.ApplyAddressChange();
        const uint8_t address = transmitter.Address();
        if (address < 1 || address > 247) return "polling address " + std::to_string(address);
    }
    return {};
}

}  // namespace fuzz
