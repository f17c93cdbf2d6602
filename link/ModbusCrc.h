#pragma once

#include <cstddef>
#include <cstdint>

namespace modbus {

// CRC-16/MODBUS: reflected polynomial 0xA001, initial value 0xFFFF, no final XOR.
// On the wire the two CRC bytes follow the frame low byte first.
uint16_t Crc16(const uint8_t* data, size_t length);

}  // namespace modbus
