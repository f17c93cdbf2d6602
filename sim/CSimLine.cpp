#include "sim/CSimLine.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "link/ModbusCrc.h"
#include "sim/CSimTransmitter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReadChunk = 512;
constexpr double kBitsPerCharacter = 11.0;
constexpr int kWriteTimeoutMs = 1000;

struct ForeignDevice {
    uint8_t address;
    uint8_t manufacturerId;
    uint8_t deviceId;
};

struct Faults {
    bool noReply = false;
    bool badCrc = false;
    bool otherAddress = false;
    bool extraLeadingByte = false;
    uint16_t exceptionFirst = 0;
    uint16_t exceptionLast = 0;
    uint8_t exceptionCode = 0;
    unsigned replyDelayMs = 0;
    bool hangUp = false;
};

bool SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
    return false;
}

uint16_t Word(const uint8_t* bytes) { return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]); }

void AppendCrc(std::vector<uint8_t>& frame) {
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
}

bool CrcOk(const uint8_t* frame, size_t length) {
    return length >= 4 && modbus::Crc16(frame, length) == 0;
}

// The registers a request touches: [first, first + count), count 0 for others.
std::pair<uint16_t, uint32_t> RegisterSpan(const std::vector<uint8_t>& frame) {
    switch (frame[1]) {
        case 3:
        case 4:
        case 16:
            return {Word(&frame[2]), Word(&frame[4])};
        case 6:
            return {Word(&frame[2]), 1};
        default:
            return {0, 0};
    }
}

// The reply of a device of another make: its identity on input registers 0 and 1.
std::vector<uint8_t> ForeignReply(const ForeignDevice& device, const std::vector<uint8_t>& pdu) {
    const uint8_t function = pdu[0];
    const auto exception = [function](uint8_t code) {
        return std::vector<uint8_t>{static_cast<uint8_t>(function | 0x80), code};
    };
    const bool known = function == 1 || (function >= 3 && function <= 6) || function == 16;
    if (!known) {
        return exception(1);
    }
    const uint16_t start = Word(&pdu[1]);
    const uint16_t count = Word(&pdu[3]);
    if (function != 4 || count < 1 || start + count > 2) {
        return exception(2);
    }
    std::vector<uint8_t> reply{function, static_cast<uint8_t>(2 * count)};
    for (uint16_t a = start; a < start + count; ++a) {
        reply.push_back(0);
        reply.push_back(a == 0 ? device.manufacturerId : device.deviceId);
    }
    return reply;
}

}  // namespace

struct CSimLine::Impl {
    mutable std::mutex mutex;
    std::vector<std::unique_ptr<CSimTransmitter>> transmitters;
    std::vector<ForeignDevice> foreignDevices;
    Faults faults;
    double bitRate = 0.0;

    int masterFd = -1;
    int slaveFd = -1;
    int wakeRead = -1;
    int wakeWrite = -1;
    std::string slavePath;
    std::thread thread;
    bool stopping = false;  // guarded by mutex
    std::condition_variable wake;

    std::atomic<uint64_t> requestsSeen{0};
    std::atomic<uint64_t> repliesSent{0};
    std::atomic<uint64_t> bytesReceived{0};
    std::atomic<uint64_t> bytesSent{0};

    void Serve();
    void HandleFrame(const std::vector<uint8_t>& frame);
    bool WaitFor(Clock::duration duration);
    bool HangUpRequested() {
        std::lock_guard<std::mutex> lock(mutex);
        return faults.hangUp;
    }
    bool WriteAll(const std::vector<uint8_t>& bytes, double bitRate);
    void CloseAll();
};

// Waits unless the line stops meanwhile; returns false when it stops.
bool CSimLine::Impl::WaitFor(Clock::duration duration) {
    std::unique_lock<std::mutex> lock(mutex);
    return !wake.wait_for(lock, duration, [this] { return stopping; });
}

bool CSimLine::Impl::WriteAll(const std::vector<uint8_t>& bytes, double rate) {
    const auto start = Clock::now();
    const auto characterTime =
        std::chrono::duration<double>(rate > 0.0 ? kBitsPerCharacter / rate : 0.0);
    size_t written = 0;
    while (written < bytes.size()) {
        size_t chunk = bytes.size() - written;
        if (rate > 0.0) {
            // Paced: each byte leaves when the previous one has crossed the wire.
            const auto due =
                start + std::chrono::duration_cast<Clock::duration>(characterTime * written);
            if (!WaitFor(due - Clock::now())) {
                return false;
            }
            chunk = 1;
        }
        const ssize_t n = ::write(masterFd, bytes.data() + written, chunk);
        if (n > 0) {
            written += static_cast<size_t>(n);
            bytesSent += static_cast<uint64_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        pollfd out{masterFd, POLLOUT, 0};
        if (::poll(&out, 1, kWriteTimeoutMs) <= 0) {
            return false;  // nobody reads the line: the reply is lost
        }
    }
    return true;
}

void CSimLine::Impl::HandleFrame(const std::vector<uint8_t>& frame) {
    const uint8_t address = frame[0];
    CSimTransmitter* transmitter = nullptr;
    ForeignDevice foreign{};
    bool isForeign = false;
    Faults f;
    double rate = 0.0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (const auto& t : transmitters) {
            if (t->Address() == address) {
                transmitter = t.get();
                break;
            }
        }
        if (transmitter == nullptr) {
            for (const auto& d : foreignDevices) {
                if (d.address == address) {
                    foreign = d;
                    isForeign = true;
                    break;
                }
            }
        }
        f = faults;
        rate = bitRate;
    }
    if (transmitter == nullptr && !isForeign) {
        return;  // nobody at this address
    }
    if (transmitter != nullptr && transmitter->IsSilent()) {
        return;
    }
    // A new turnaround delay written by this request applies from the next reply on.
    auto delay = std::chrono::milliseconds(f.replyDelayMs);
    if (transmitter != nullptr) {
        delay += std::chrono::milliseconds(transmitter->TurnaroundDelayMs());
    }
    const std::vector<uint8_t> pdu(frame.begin() + 1, frame.end() - 2);
    std::vector<uint8_t> replyPdu;
    const auto span = RegisterSpan(frame);
    if (f.exceptionCode != 0 && span.second > 0 && span.first <= f.exceptionLast &&
        span.first + span.second - 1 >= f.exceptionFirst) {
        replyPdu = {static_cast<uint8_t>(pdu[0] | 0x80), f.exceptionCode};
    } else if (isForeign) {
        replyPdu = ForeignReply(foreign, pdu);
    } else if (!transmitter->HandleRequest(pdu.data(), pdu.size(), replyPdu)) {
        return;
    }

    Clock::duration wait = delay;
    if (rate > 0.0) {
        // The request reached the pseudo-terminal at once; on a wire it would
        // still be arriving.
        wait += std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(kBitsPerCharacter * frame.size() / rate));
    }
    if (!WaitFor(wait)) {
        return;
    }
    if (!f.noReply) {
        std::vector<uint8_t> reply{f.otherAddress ? static_cast<uint8_t>(address % 247 + 1)
                                                  : address};
        reply.insert(reply.end(), replyPdu.begin(), replyPdu.end());
        const size_t crcAt = reply.size();
        AppendCrc(reply);
        if (f.badCrc) {
            reply[crcAt] ^= 0xFF;
        }
        if (f.extraLeadingByte) {
            reply.insert(reply.begin(), 0x00);  // no valid address is 0
        }
        if (WriteAll(reply, rate)) {
            ++repliesSent;
        }
    }
    if (transmitter != nullptr) {
        transmitter->ApplyAddressChange();
    }
}

void CSimLine::Impl::Serve() {
    std::vector<uint8_t> buffer;
    auto lastByte = Clock::now();
    const auto gap = std::chrono::milliseconds(kFrameGapMs);
    for (;;) {
        int timeout = -1;
        if (!buffer.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(lastByte + gap -
                                                                                    Clock::now());
            timeout = static_cast<int>(std::max<int64_t>(left.count(), 0)) + 1;
        }
        pollfd fds[2] = {{masterFd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            uint8_t chunk[kReadChunk];
            const ssize_t n = ::read(masterFd, chunk, sizeof chunk);
            if (n > 0) {
                if (!buffer.empty() && Clock::now() - lastByte > gap) {
                    buffer.clear();  // resynchronise: the old partial frame is dead
                }
                buffer.insert(buffer.end(), chunk, chunk + n);
                bytesReceived += static_cast<uint64_t>(n);
                lastByte = Clock::now();
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            // No slave side open at the moment; avoid spinning.
            if (!WaitFor(std::chrono::milliseconds(10))) {
                return;
            }
        }
        if (!buffer.empty() && Clock::now() - lastByte > gap) {
            buffer.clear();
        }
        // Take every complete frame; the length follows from the function code.
        while (buffer.size() >= 2) {
            const uint8_t function = buffer[1];
            size_t need = 0;
            if (function >= 1 && function <= 6) {
                need = 8;
            } else if (function == 15 || function == 16) {
                if (buffer.size() < 7) {
                    break;
                }
                need = 9u + buffer[6];
            } else if (CrcOk(buffer.data(), buffer.size())) {
                need = buffer.size();  // another function: framed by its CRC
            } else {
                break;
            }
            if (buffer.size() < need) {
                break;
            }
            std::vector<uint8_t> frame(buffer.begin(), buffer.begin() + static_cast<long>(need));
            buffer.erase(buffer.begin(), buffer.begin() + static_cast<long>(need));
            if (CrcOk(frame.data(), frame.size())) {
                ++requestsSeen;
                if (HangUpRequested()) {
                    // Closing the master side hangs the line up for the slave side.
                    ::close(masterFd);
                    masterFd = -1;
                    return;
                }
                HandleFrame(frame);
                lastByte = Clock::now();
            }
        }
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping) {
                return;
            }
        }
    }
}

void CSimLine::Impl::CloseAll() {
    for (int* fd : {&masterFd, &slaveFd, &wakeRead, &wakeWrite}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

CSimLine::CSimLine() : m_impl(std::make_unique<Impl>()) {}

CSimLine::~CSimLine() { Stop(); }

std::unique_ptr<CSimLine> CSimLine::CreateDefault() {
    auto line = std::make_unique<CSimLine>();
    line->AddTransmitter(1);
    return line;
}

bool CSimLine::Start(std::string* error) {
    Impl& d = *m_impl;
    if (d.thread.joinable()) {
        return SetError(error, "the simulated line is already running");
    }
    char name[256] = {};
    if (::openpty(&d.masterFd, &d.slaveFd, nullptr, nullptr, nullptr) != 0) {
        return SetError(error, std::string("openpty: ") + std::strerror(errno));
    }
    if (::ttyname_r(d.slaveFd, name, sizeof name) != 0) {
        const std::string reason = std::strerror(errno);
        d.CloseAll();
        return SetError(error, "ttyname: " + reason);
    }
    // Raw mode: no echo, no line editing, no character translation.
    termios tio{};
    ::tcgetattr(d.slaveFd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(d.slaveFd, TCSANOW, &tio);
    ::fcntl(d.masterFd, F_SETFL, ::fcntl(d.masterFd, F_GETFL) | O_NONBLOCK);
    ::fcntl(d.masterFd, F_SETFD, FD_CLOEXEC);
    ::fcntl(d.slaveFd, F_SETFD, FD_CLOEXEC);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        const std::string reason = std::strerror(errno);
        d.CloseAll();
        return SetError(error, "pipe: " + reason);
    }
    d.wakeRead = pipeFds[0];
    d.wakeWrite = pipeFds[1];
    d.slavePath = name;
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        d.stopping = false;
    }
    d.thread = std::thread([&d] { d.Serve(); });
    return true;
}

void CSimLine::Stop() {
    Impl& d = *m_impl;
    if (!d.thread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        d.stopping = true;
    }
    d.wake.notify_all();
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(d.wakeWrite, &byte, 1);
    d.thread.join();
    d.CloseAll();
}

const std::string& CSimLine::SlavePath() const { return m_impl->slavePath; }

bool CSimLine::PublishSymlink(const std::string& linkPath, std::string* error) {
    if (m_impl->slavePath.empty()) {
        return SetError(error, "the simulated line is not running");
    }
    if (::unlink(linkPath.c_str()) != 0 && errno != ENOENT) {
        return SetError(error, linkPath + ": " + std::strerror(errno));
    }
    if (::symlink(m_impl->slavePath.c_str(), linkPath.c_str()) != 0) {
        return SetError(error, linkPath + ": " + std::strerror(errno));
    }
    return true;
}

CSimTransmitter& CSimLine::AddTransmitter(uint8_t address) {
    return AddTransmitter(address, SimTransmitterOptions{});
}

CSimTransmitter& CSimLine::AddTransmitter(uint8_t address, const SimTransmitterOptions& options) {
    auto transmitter = std::make_unique<CSimTransmitter>(address, options);
    CSimTransmitter& result = *transmitter;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->transmitters.push_back(std::move(transmitter));
    return result;
}

void CSimLine::AddForeignDevice(uint8_t address, uint8_t manufacturerId, uint8_t deviceId) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->foreignDevices.push_back({address, manufacturerId, deviceId});
}

CSimTransmitter* CSimLine::TransmitterAt(uint8_t address) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (const auto& t : m_impl->transmitters) {
        if (t->Address() == address) {
            return t.get();
        }
    }
    return nullptr;
}

std::vector<uint8_t> CSimLine::Addresses() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    std::vector<uint8_t> addresses;
    for (const auto& t : m_impl->transmitters) {
        addresses.push_back(t->Address());
    }
    for (const auto& d : m_impl->foreignDevices) {
        addresses.push_back(d.address);
    }
    std::sort(addresses.begin(), addresses.end());
    return addresses;
}

void CSimLine::SetWireTiming(double bitRate) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->bitRate = bitRate > 0.0 ? bitRate : 0.0;
}

void CSimLine::SetNoReply(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.noReply = on;
}

void CSimLine::SetBadCrc(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.badCrc = on;
}

void CSimLine::SetReplyFromOtherAddress(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.otherAddress = on;
}

void CSimLine::SetExtraLeadingByte(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.extraLeadingByte = on;
}

void CSimLine::SetExceptionRange(uint16_t first, uint16_t last, uint8_t code) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.exceptionFirst = std::min(first, last);
    m_impl->faults.exceptionLast = std::max(first, last);
    m_impl->faults.exceptionCode = code;
}

void CSimLine::SetReplyDelayMs(unsigned ms) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.replyDelayMs = ms;
}

void CSimLine::SetHangUpOnRequest(bool on) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.hangUp = on;
}

void CSimLine::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults = Faults{};
}

uint64_t CSimLine::RequestsSeen() const { return m_impl->requestsSeen; }

uint64_t CSimLine::RepliesSent() const { return m_impl->repliesSent; }

uint64_t CSimLine::BytesReceived() const { return m_impl->bytesReceived; }

uint64_t CSimLine::BytesSent() const { return m_impl->bytesSent; }
