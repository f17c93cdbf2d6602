#include "fuzz/ReplyCheckTarget.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "link/CProtocol.h"
#include "link/ModbusFrame.h"
#include "platform/ISerialPort.h"

namespace fuzz {
namespace {

constexpr size_t kHeader = 6;
const uint8_t kFunctions[] = {1, 2, 3, 4, 5, 6, 8, 15, 16};

// A port whose device answers every frame with the same bytes.
class CReplayPort : public ISerialPort {
  public:
    explicit CReplayPort(std::vector<uint8_t> reply) : m_reply(std::move(reply)) {}
    int Open(const std::string&) override { return 0; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    int GetLine(SerialLineSettings&) override { return 0; }
    int SetLine(const SerialLineSettings&) override { return 0; }
    int SetTimeouts(const SerialTimeouts&) override { return 0; }
    int Purge() override {
        m_pending.clear();
        return 0;
    }
    int ClearErrors() override { return 0; }
    int SetRts(bool) override { return 0; }
    int GetCts(bool& on) override {
        on = true;
        return 0;
    }
    int Drain(uint32_t) override { return 0; }
    int Write(const uint8_t*, size_t count, size_t* written) override {
        *written = count;
        m_pending = m_reply;
        return 0;
    }
    int Read(uint8_t* buffer, size_t count, size_t* read) override {
        *read = std::min(count, m_pending.size());
        if (*read == 0) return 0;
        std::memcpy(buffer, m_pending.data(), *read);
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<ptrdiff_t>(*read));
        return 0;
    }

  private:
    std::vector<uint8_t> m_reply;
    std::vector<uint8_t> m_pending;
};

const std::set<int32_t> kReplyErrors = {0, 4, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65};

}  // namespace

std::string CheckReplyInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return {};
    const uint8_t function = kFunctions[data[0] % sizeof kFunctions];
    const uint16_t start = static_cast<uint16_t>(((data[1] << 8) | data[2]) % 520);
    const uint16_t quantity = static_cast<uint16_t>(data[3] % 130);
    const uint8_t address = data[4] % 4;
    const uint16_t format = data[5] % 5;
    const modbus::RequestCheck request = modbus::CheckRequest(function, start, quantity, 0);
    if (request.error != 0) return {};

    // The reply in a buffer of exactly its size, so that any read past it is caught.
    const size_t length = size - kHeader;
    std::unique_ptr<uint8_t[]> reply(new uint8_t[length == 0 ? 1 : length]);
    std::memcpy(reply.get(), data + kHeader, length);
    size_t offset = 0;
    const int32_t error =
        modbus::CheckReply(reply.get(), length, address, request.expectedLength, offset);
    if (!kReplyErrors.count(error)) return "reply check returned " + std::to_string(error);
    if (error == 0 && offset + request.expectedLength > length)
        return "good reply extends past the bytes received";

    // The same reply through a whole exchange, retries off. Writes are left out:
    // each would wait its post-send pause, and their replies store nothing.
    if (request.postSendDelay != 0) return {};
    std::vector<uint8_t> bytes(data + kHeader, data + size);
    CProtocol protocol([bytes] { return std::make_unique<CReplayPort>(bytes); });
    LinkScheduling scheduling;
    scheduling.retries = 0;
    protocol.SetLinkScheduling(scheduling);
    PortSettings port;
    port.devicePath = "replay";
    protocol.SetPortSettings(port);
    protocol.SetFloatFormat(format);
    std::vector<uint8_t> payload(2u * quantity, 0x5A);
    const int32_t result =
        protocol.SendPoll(address, function, start, quantity, payload.data(), false);
    if (!kReplyErrors.count(result)) return "exchange returned " + std::to_string(result);
    return {};
}

}  // namespace fuzz
