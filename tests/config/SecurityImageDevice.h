#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/CSecurity.h"
#include "transmitter/CComm.h"

// A transmitter's 64-byte security image behind the password-entry requests
// 163 (read) and 164 (write), which the simulator does not carry. Records the
// slots written, in order; `failWrites` makes every write answer "transmitter
// offline".
struct SecurityImageDevice {
    static constexpr int32_t kOffline = 23;

    CSecurity::Image image{};
    std::vector<int> writtenSlots;
    bool failWrites = false;
    // Fails the writes after this many have succeeded; -1 for never.
    int failAfter = -1;

    void Install(CComm& comm) {
        comm.SetLegacyTransport([this](int command, const std::vector<uint8_t>& request,
                                       std::vector<uint8_t>& reply) -> int32_t {
            const uint8_t index = request.at(0);
            if (command == 163) {
                reply.at(2) = index;
                std::copy(image.at(index).begin(), image.at(index).end(), reply.begin() + 3);
            } else if (command == 164) {
                if (failWrites || static_cast<int>(writtenSlots.size()) == failAfter)
                    return kOffline;
                std::copy(request.begin() + 1, request.begin() + 9, image.at(index).begin());
                writtenSlots.push_back(index);
            }
            return 0;
        });
    }

    // Fills the image as a transmitter with this state and these passwords.
    void Configure(CSecurity& builder, bool enabled, const std::string& admin,
                   const std::vector<std::string>& medium) {
        image[0] = builder.BuildStateSlot(enabled);
        image[1] = CSecurity::MaskPassword(admin);
        for (size_t i = 0; i < CSecurity::kMediumCount; ++i)
            image[2 + i] = CSecurity::MaskPassword(i < medium.size() ? medium[i] : "");
    }

    std::string PasswordInSlot(size_t slot) const {
        return CSecurity::UnmaskPassword(image.at(slot));
    }
};
