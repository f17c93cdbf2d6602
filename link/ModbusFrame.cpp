#include "link/ModbusFrame.h"

#include <algorithm>
#include <cstring>

#include "link/ErrorReport.h"
#include "link/ModbusCrc.h"

namespace modbus {
namespace {

constexpr size_t kExceptionLength = 5;

void PutWord(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value & 0xFF);
}

}  // namespace

RequestCheck CheckRequest(uint8_t function, uint16_t start, uint16_t quantity,
                          uint32_t extraCommandTime) {
    RequestCheck check;
    const uint32_t end = uint32_t{start} + quantity;
    switch (function) {
        case 1:
        case 2:
            if (end > kMaxBitAddress) {
                check.error = commerr::kIllegalAddress;
                break;
            }
            check.expectedLength =
                quantity == 0 ? 0 : static_cast<uint16_t>((quantity - 1) / 8 + 6);
            break;
        case 3:
        case 4:
            if (end > kMaxRegisterAddress || quantity > kMaxReadRegisters) {
                check.error = commerr::kIllegalAddress;
                break;
            }
            check.expectedLength = static_cast<uint16_t>(2 * quantity + 5);
            break;
        case 16:
            // The byte count is one byte and the frame must fit its buffer.
            if (quantity > kMaxWriteRegisters) {
                check.error = commerr::kIllegalValue;
                break;
            }
            [[fallthrough]];
        case 5:
        case 6:
        case 15:
            check.expectedLength = 8;
            check.postSendDelay = std::max(extraCommandTime, kMinWritePostSendMs);
            break;
        case 8:
            check.expectedLength = 8;
            break;
        default:
            check.error = commerr::kIllegalFunction;
            break;
    }
    if (check.error != 0) check.expectedLength = 0;
    return check;
}

size_t BuildRequest(uint8_t* frame, uint8_t address, uint8_t function, uint16_t start,
                    uint16_t quantityOrValue, const uint8_t* data) {
    frame[0] = address;
    frame[1] = function;
    PutWord(frame + 2, start);
    size_t length = 6;
    switch (function) {
        case 5: {
            const bool on = data ? data[0] != 0 : quantityOrValue != 0;
            PutWord(frame + 4, on ? 0xFF00 : 0x0000);
            break;
        }
        case 16: {
            PutWord(frame + 4, quantityOrValue);
            const size_t bytes = size_t{2} * quantityOrValue;
            frame[6] = static_cast<uint8_t>(bytes);
            if (data) {
                std::memcpy(frame + 7, data, bytes);
            } else {
                std::memset(frame + 7, 0, bytes);
            }
            length = 7 + bytes;
            break;
        }
        default:
            PutWord(frame + 4, quantityOrValue);
            break;
    }
    const uint16_t crc = Crc16(frame, length);
    frame[length] = static_cast<uint8_t>(crc & 0xFF);
    frame[length + 1] = static_cast<uint8_t>(crc >> 8);
    return length + 2;
}

int32_t ExceptionError(uint8_t code) {
    switch (code) {
        case 1:
            return 59;
        case 2:
            return 60;
        case 3:
            return 61;
        case 4:
            return 62;
        case 5:
            return 63;
        case 6:
            return 64;
        default:
            return 65;
    }
}

int32_t CheckReply(const uint8_t* reply, size_t length, uint8_t address, uint16_t expectedLength,
                   size_t& offset) {
    offset = 0;
    if (length == 0) return commerr::kNoResponse;
    if (reply[0] != address) {
        if (length < 2 || reply[1] != address) return commerr::kWrongDevice;
        offset = 1;  // the reply began one byte late
    }
    const uint8_t* frame = reply + offset;
    const size_t available = length - offset;
    // The function byte may be missing from a one- or two-byte reception.
    const bool exception = available >= 2 && (frame[1] & 0x80) != 0;
    const size_t frameLength = exception ? kExceptionLength : expectedLength;
    if (available < frameLength || frameLength < 2) return commerr::kShortResponse;
    if (Crc16(frame, frameLength) != 0) return commerr::kChecksum;
    if (exception) return ExceptionError(frame[2]);
    return 0;
}

}  // namespace modbus
