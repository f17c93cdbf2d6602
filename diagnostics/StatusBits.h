#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The transmitter's six status bytes and what each bit means.
namespace diagnostics {

inline constexpr size_t kStatusByteCount = 6;
using StatusBytes = std::array<uint8_t, kStatusByteCount>;

// One bit of the status: byte 0 to 5, bit 0 (least significant) to 7, and
// the number of its text. Text 3000 marks a bit without a text of its own.
struct StatusBit {
    uint8_t byte;
    uint8_t bit;
    unsigned textId;
};

inline constexpr unsigned kUnlabelledBitText = 3000;
inline constexpr unsigned kNoErrorStatusText = 3022;
// Byte 5 bit 1: write protect, shown by the sensor limits and not reported here.
inline constexpr uint8_t kWriteProtectByte = 5;
inline constexpr uint8_t kWriteProtectMask = 0x02;

// Every bit, byte by byte and within a byte from bit 0 up.
const std::array<StatusBit, 8 * kStatusByteCount>& StatusBitTable();

// The list Error Information shows for a status as read: the text of every set
// bit in table order, the unlabelled ones with " (byte B, bit N)" after the
// text, write protect left out; "There is no error status reported" alone when
// nothing else is set.
std::vector<std::string> StatusLines(const StatusBytes& status);

}  // namespace diagnostics
