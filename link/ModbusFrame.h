#pragma once

#include <cstddef>
#include <cstdint>

// Modbus RTU request frames and reply checks, free of any port or image.
namespace modbus {

constexpr size_t kMaxFrame = 1024;
constexpr uint16_t kMaxBitAddress = 75;        // start + quantity of functions 1 and 2
constexpr uint16_t kMaxRegisterAddress = 500;  // start + quantity of functions 3 and 4
constexpr uint16_t kMaxReadRegisters = 127;
constexpr uint16_t kMaxWriteRegisters = 123;  // what fits one function 16 frame
constexpr uint32_t kMinWritePostSendMs = 300;

struct RequestCheck {
    int32_t error = 0;            // 0, or the error number refusing the request
    uint16_t expectedLength = 0;  // reply bytes, CRC included
    uint32_t postSendDelay = 0;   // ms
};

// Refuses what cannot be sent and predicts the reply length and the pause after
// sending (writes wait at least 300 ms, or the extra command time when longer).
RequestCheck CheckRequest(uint8_t function, uint16_t start, uint16_t quantity,
                          uint32_t extraCommandTime);

// Builds the request frame with its CRC into `frame` (kMaxFrame bytes); returns
// its length. Function 5 switches the coil on when the first data byte (or,
// without data, the value) is nonzero; function 16 sends 2 x quantity bytes of
// data as they lie. CheckRequest must have accepted the request.
size_t BuildRequest(uint8_t* frame, uint8_t address, uint8_t function, uint16_t start,
                    uint16_t quantityOrValue, const uint8_t* data);

// Checks `length` received bytes against the request's address and expected reply
// length. Returns 0 for a good reply (`offset` is 1 when it began one byte late),
// or 57, 56, 58, 4, or 59..65 for an exception reply. Never reads past `length`.
int32_t CheckReply(const uint8_t* reply, size_t length, uint8_t address, uint16_t expectedLength,
                   size_t& offset);

// Error number of an exception code.
int32_t ExceptionError(uint8_t code);

}  // namespace modbus
