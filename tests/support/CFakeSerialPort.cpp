#include "tests/support/CFakeSerialPort.h"

#include <cerrno>
#include <chrono>
#include <thread>

using Clock = std::chrono::steady_clock;

CFakeSerialPort::CFakeSerialPort(std::shared_ptr<Record> record) : m_record(std::move(record)) {}

SerialPortFactory CFakeSerialPort::Factory(std::shared_ptr<Record> record, Responder responder,
                                           std::function<void(CFakeSerialPort&)> configure) {
    return [record, responder, configure]() -> std::unique_ptr<ISerialPort> {
        auto port = std::make_unique<CFakeSerialPort>(record);
        port->SetResponder(responder);
        if (configure) configure(*port);
        return port;
    };
}

void CFakeSerialPort::SetLateBytes(Bytes bytes, unsigned delayMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lateBytes = std::move(bytes);
    m_lateDelayMs = delayMs;
}

void CFakeSerialPort::SetReadStall(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_readStall = on;
}

void CFakeSerialPort::SetReadHang(bool on) {
    // Notified under the lock: the read that ends may be the port's last user.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_readHang = on;
    m_cv.notify_all();
}

int CFakeSerialPort::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_record->openedPaths.push_back(path);
    if (m_openError != 0) return m_openError;
    ++m_record->opens;
    m_open = true;
    return 0;
}

void CFakeSerialPort::Close() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return;
        m_open = false;
        ++m_record->closes;
        ++m_purgeGeneration;
    }
    m_cv.notify_all();
}

int CFakeSerialPort::GetLine(SerialLineSettings& settings) {
    std::lock_guard<std::mutex> lock(m_mutex);
    settings = m_record->line;
    return m_lineError;
}

int CFakeSerialPort::SetLine(const SerialLineSettings& settings) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_lineError != 0) return m_lineError;
    m_record->line = settings;
    m_driverRts = settings.automaticRts && m_driverAcceptsRts;
    return 0;
}

int CFakeSerialPort::SetTimeouts(const SerialTimeouts& timeouts) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timeouts = timeouts;
    m_record->timeouts.push_back(timeouts);
    return 0;
}

int CFakeSerialPort::Purge() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_input.clear();
        ++m_record->purges;
        ++m_purgeGeneration;
    }
    m_cv.notify_all();
    return 0;
}

int CFakeSerialPort::SetRts(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_record->rtsChanges.push_back(on);
    return 0;
}

int CFakeSerialPort::GetCts(bool& on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    on = m_cts;
    return 0;
}

int CFakeSerialPort::Drain(uint32_t) {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_record->drains;
    return 0;
}

int CFakeSerialPort::Write(const uint8_t* buffer, size_t count, size_t* written) {
    *written = 0;
    Bytes frame(buffer, buffer + count);
    Responder responder;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return EBADF;
        m_record->writes.push_back(frame);
        if (m_writeError != 0) return m_writeError;
        responder = m_responder;
    }
    *written = count;
    Bytes reply = responder ? responder(frame) : Bytes{};
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_input.insert(m_input.end(), reply.begin(), reply.end());
    }
    m_cv.notify_all();
    return 0;
}

int CFakeSerialPort::Read(uint8_t* buffer, size_t count, size_t* read) {
    *read = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_record->readRequests.push_back(count);
    if (m_readHang) {
        m_cv.wait(lock, [&] { return !m_readHang; });
        return ECANCELED;
    }
    if (!m_open) return EBADF;
    if (m_readError != 0) return m_readError;
    const uint64_t generation = m_purgeGeneration;
    if (m_readStall) {
        m_cv.wait(lock, [&] { return m_purgeGeneration != generation; });
        return ECANCELED;
    }
    const SerialTimeouts t = m_timeouts;
    const auto start = Clock::now();
    const auto deadline =
        start + std::chrono::milliseconds(uint64_t{t.readMultiplier} * count + t.readConstant);
    Bytes late = std::move(m_lateBytes);
    m_lateBytes.clear();
    const auto lateAt = start + std::chrono::milliseconds(m_lateDelayMs);
    auto lastByte = start;
    size_t got = 0;
    for (;;) {
        if (!late.empty() && Clock::now() >= lateAt) {
            m_input.insert(m_input.end(), late.begin(), late.end());
            late.clear();
        }
        while (got < count && !m_input.empty()) {
            buffer[got++] = m_input.front();
            m_input.pop_front();
            lastByte = Clock::now();
        }
        *read = got;
        if (got == count) return 0;
        if (t.readInterval == kSerialMaxTimeout && t.readConstant == 0) return 0;
        const auto now = Clock::now();
        const bool gapRuns = got > 0 && t.readInterval != 0 && t.readInterval != kSerialMaxTimeout;
        const auto gapEnd = lastByte + std::chrono::milliseconds(gapRuns ? t.readInterval : 0);
        if (now >= deadline || (gapRuns && now >= gapEnd)) return 0;
        auto wakeAt = deadline;
        if (gapRuns) wakeAt = std::min(wakeAt, gapEnd);
        if (!late.empty()) wakeAt = std::min(wakeAt, lateAt);
        m_cv.wait_until(lock, wakeAt,
                        [&] { return m_purgeGeneration != generation || !m_input.empty(); });
        if (m_purgeGeneration != generation) return ECANCELED;
    }
}
