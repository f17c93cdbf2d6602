// A fixed, seeded run of the reply-check fuzz target inside the normal test suite.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz/ReplyCheckTarget.h"
#include "link/ModbusCrc.h"

namespace {

constexpr int kRuns = 3000;

std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

}  // namespace

TEST(ReplyCheckFuzz, SeededRandomRepliesKeepEveryProperty) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int run = 0; run < kRuns; ++run) {
        std::vector<uint8_t> input(6);
        for (auto& b : input) b = static_cast<uint8_t>(byte(random));
        const uint8_t address = input[4] % 4;
        const int kind = run % 4;
        std::vector<uint8_t> reply;
        if (kind == 0) {
            // Pure noise of any length up to a full buffer.
            reply.resize(static_cast<size_t>(byte(random) * 5) % 1100);
            for (auto& b : reply) b = static_cast<uint8_t>(byte(random));
        } else {
            // A well-formed frame of random length and content, often late or cut short.
            std::vector<uint8_t> body = {address, static_cast<uint8_t>(byte(random) & 0x8F)};
            const int length = byte(random) % 260;
            for (int i = 0; i < length; ++i) body.push_back(static_cast<uint8_t>(byte(random)));
            reply = WithCrc(body);
            if (kind == 2) reply.insert(reply.begin(), static_cast<uint8_t>(byte(random)));
            if (kind == 3 && !reply.empty())
                reply.resize(static_cast<size_t>(byte(random)) % reply.size());
        }
        input.insert(input.end(), reply.begin(), reply.end());
        const std::string broken = fuzz::CheckReplyInput(input.data(), input.size());
        ASSERT_TRUE(broken.empty()) << "run " << run << ": " << broken;
    }
}

TEST(ReplyCheckFuzz, GoodRepliesOfEveryReadPass) {
    // Header: function index 2 (function 3), start 10, quantity 4, address 1, format 0.
    std::vector<uint8_t> input = {2, 0, 10, 4, 1, 0};
    const auto reply = WithCrc({1, 3, 8, 0, 1, 0, 2, 0, 3, 0, 4});
    input.insert(input.end(), reply.begin(), reply.end());
    EXPECT_EQ(fuzz::CheckReplyInput(input.data(), input.size()), "");
}
