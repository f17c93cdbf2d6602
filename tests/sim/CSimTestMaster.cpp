#include "tests/sim/CSimTestMaster.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "link/ModbusCrc.h"

namespace {

constexpr int kSilenceMs = 40;

// Independent of the simulator's own conversion: bytes A B C D of the float.
std::vector<uint8_t> FloatBytes(float value, uint16_t format) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    const uint8_t a = bits >> 24, b = (bits >> 16) & 0xFF, c = (bits >> 8) & 0xFF, d = bits & 0xFF;
    switch (format) {
        case 1:
            return {c, d, a, b};
        case 2:
            return {d, c, b, a};
        case 3:
            return {b, a, d, c};
        default:
            return {a, b, c, d};
    }
}

}  // namespace

CSimTestMaster::CSimTestMaster(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd >= 0) {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
}

CSimTestMaster::~CSimTestMaster() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

std::vector<uint8_t> CSimTestMaster::Frame(uint8_t address, const std::vector<uint8_t>& pdu) {
    std::vector<uint8_t> frame{address};
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(crc & 0xFF);
    frame.push_back(crc >> 8);
    return frame;
}

std::vector<uint8_t> CSimTestMaster::ReadPdu(uint8_t function, uint16_t start, uint16_t count) {
    return {function, static_cast<uint8_t>(start >> 8), static_cast<uint8_t>(start & 0xFF),
            static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count & 0xFF)};
}

std::vector<uint8_t> CSimTestMaster::WriteMultipleBytesPdu(uint16_t start,
                                                           const std::vector<uint8_t>& data) {
    const auto count = static_cast<uint16_t>(data.size() / 2);
    std::vector<uint8_t> pdu = ReadPdu(16, start, count);
    pdu.push_back(static_cast<uint8_t>(data.size()));
    pdu.insert(pdu.end(), data.begin(), data.end());
    return pdu;
}

std::vector<uint8_t> CSimTestMaster::WriteMultiplePdu(uint16_t start,
                                                      const std::vector<uint16_t>& values) {
    std::vector<uint8_t> data;
    for (uint16_t v : values) {
        data.push_back(v >> 8);
        data.push_back(v & 0xFF);
    }
    return WriteMultipleBytesPdu(start, data);
}

void CSimTestMaster::SendRaw(const std::vector<uint8_t>& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
        } else {
            pollfd out{m_fd, POLLOUT, 0};
            if (::poll(&out, 1, 1000) <= 0) {
                return;
            }
        }
    }
}

CSimTestMaster::Reply CSimTestMaster::Receive(size_t expected, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    Reply reply;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        size_t want = expected;
        if (reply.bytes.size() >= 2 && (reply.bytes[1] & 0x80) != 0) {
            want = 5;
        }
        if (reply.bytes.size() >= want) {
            break;
        }
        int wait = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (!reply.bytes.empty()) {
            wait = std::min(wait, kSilenceMs);
        }
        if (wait <= 0) {
            break;
        }
        pollfd in{m_fd, POLLIN, 0};
        if (::poll(&in, 1, wait) <= 0) {
            break;
        }
        uint8_t chunk[512];
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n > 0) {
            reply.bytes.insert(reply.bytes.end(), chunk, chunk + n);
        }
    }
    const auto& b = reply.bytes;
    reply.crcOk = b.size() >= 4 && modbus::Crc16(b.data(), b.size()) == 0;
    if (b.size() >= 3 && (b[1] & 0x80) != 0) {
        reply.exception = b[2];
    } else if (b.size() >= 5 && (b[1] == 3 || b[1] == 4)) {
        for (size_t i = 3; i + 1 < 3u + b[2] && i + 1 < b.size(); i += 2) {
            reply.registers.push_back(static_cast<uint16_t>((b[i] << 8) | b[i + 1]));
        }
    }
    return reply;
}

CSimTestMaster::Reply CSimTestMaster::Transact(uint8_t address, const std::vector<uint8_t>& pdu,
                                               size_t expected, int timeoutMs) {
    SendRaw(Frame(address, pdu));
    return Receive(expected, timeoutMs);
}

CSimTestMaster::Reply CSimTestMaster::ReadHolding(uint8_t address, uint16_t start, uint16_t count,
                                                  int timeoutMs) {
    return Transact(address, ReadPdu(3, start, count), 5u + 2u * count, timeoutMs);
}

CSimTestMaster::Reply CSimTestMaster::ReadInput(uint8_t address, uint16_t start, uint16_t count,
                                                int timeoutMs) {
    return Transact(address, ReadPdu(4, start, count), 5u + 2u * count, timeoutMs);
}

CSimTestMaster::Reply CSimTestMaster::WriteRegisters(uint8_t address, uint16_t start,
                                                     const std::vector<uint16_t>& values) {
    return Transact(address, WriteMultiplePdu(start, values), 8);
}

CSimTestMaster::Reply CSimTestMaster::WriteFloat(uint8_t address, uint16_t start, float value,
                                                 uint16_t format) {
    return Transact(address, WriteMultipleBytesPdu(start, FloatBytes(value, format)), 8);
}

CSimTestMaster::Reply CSimTestMaster::WriteCoil(uint8_t address, uint16_t coil, bool on) {
    return Transact(address, ReadPdu(5, coil, on ? 0xFF00 : 0x0000), 8);
}

CSimTestMaster::Reply CSimTestMaster::ReadCoil(uint8_t address, uint16_t coil) {
    return Transact(address, ReadPdu(1, coil, 1), 6);
}

float CSimTestMaster::FloatAt(const Reply& reply, size_t registerIndex, uint16_t format) {
    const size_t at = 3 + 2 * registerIndex;
    if (reply.bytes.size() < at + 4) {
        return 0.0F;
    }
    const uint8_t* p = &reply.bytes[at];
    uint8_t abcd[4];
    switch (format) {
        case 1:
            abcd[0] = p[2], abcd[1] = p[3], abcd[2] = p[0], abcd[3] = p[1];
            break;
        case 2:
            abcd[0] = p[3], abcd[1] = p[2], abcd[2] = p[1], abcd[3] = p[0];
            break;
        case 3:
            abcd[0] = p[1], abcd[1] = p[0], abcd[2] = p[3], abcd[3] = p[2];
            break;
        default:
            std::memcpy(abcd, p, 4);
            break;
    }
    const uint32_t bits =
        (uint32_t{abcd[0]} << 24) | (uint32_t{abcd[1]} << 16) | (uint32_t{abcd[2]} << 8) | abcd[3];
    float value = 0.0F;
    std::memcpy(&value, &bits, 4);
    return value;
}
