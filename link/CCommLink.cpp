#include "link/CCommLink.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/CPosixSerialPort.h"
#include "platform/DebugTrace.h"
#include "platform/SystemError.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace {

using Clock = std::chrono::steady_clock;

// The open failure text when the port is a device path rather than COMn.
constexpr const char* kOpenPathFailed = "Failed to open port %s:\n\n";
// Added to the open failure of COMn: the device that stands for it here.
constexpr const char* kDeviceTried = "Device tried: %s\n";

// How often the waiting thread lets the user interface dispatch its events.
constexpr std::chrono::milliseconds kPumpSlice(10);
constexpr uint32_t kCtsPollMs = 10;
constexpr uint32_t kReadFailed = 0xFFFFFFFFu;
constexpr uint32_t kWorkerGivenUp = 666;

std::atomic<TurnaroundMode> g_turnaroundMode{TurnaroundMode::AutomaticRts};
std::atomic<bool> g_linkAbort{false};

// The parameters a worker works from: its own copy, never the link's fields.
struct WorkerParams {
    bool automaticRts = true;  // the driver switches RTS
    uint32_t count = 0;        // bytes to send
    uint32_t delay = 0;        // post-send delay
    bool ctsEnabled = false;
    uint32_t ctsDelay = 0;
    uint32_t characterTime = 0;
    uint32_t toRead = 0;        // bytes a receive asks for
    uint32_t readConstant = 0;  // the read's time-out constant, ms
    SerialTimeouts timeouts;
};

// The longest a transmit worker may take with its parameters: the turnaround
// delay, the wait for CTS, the write, holding RTS and the post-send delay.
uint64_t LongestSendMs(const WorkerParams& p) {
    const uint64_t writeMs = uint64_t{p.characterTime} * p.count + CCommLink::kWriteConstantMs;
    uint64_t ms = (p.ctsEnabled ? 0 : p.ctsDelay) + writeMs + p.delay;
    if (!p.automaticRts) {
        const uint64_t holdMs = uint64_t{p.characterTime} * (p.count + 3);
        ms += p.ctsDelay + kCtsPollMs + (holdMs + CCommLink::kWriteConstantMs) + holdMs;
    }
    return ms;
}

// The longest a receive worker's read may take: its total time-out.
uint64_t LongestReceiveMs(const WorkerParams& p) {
    return uint64_t{p.characterTime} * p.toRead + p.readConstant;
}

}  // namespace

// Shared by the link and one worker; outlives whichever of them ends last.
struct CCommLink::WorkerState {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    bool cancel = false;
    uint32_t exitCode = 0;
    int systemError = 0;        // of a failed read
    std::vector<uint8_t> data;  // the frame to send, or the bytes received

    void Finish(uint32_t code) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            exitCode = code;
            done = true;
        }
        cv.notify_all();
    }
    // Sleeps, ending early when the worker is given up. False when given up.
    bool Sleep(uint32_t ms) {
        if (ms == 0) return true;
        std::unique_lock<std::mutex> lock(mutex);
        return !cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return cancel; });
    }
    bool Cancelled() {
        std::lock_guard<std::mutex> lock(mutex);
        return cancel;
    }
    void Cancel() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            cancel = true;
        }
        cv.notify_all();
    }
};

// Runs the transmit and receive procedures of one link, one after another, on one
// long-lived thread: starting a thread for every frame costs more than the
// exchange itself. Each procedure still works on its own state and parameters.
// The queue is shared with the thread, so that a thread whose procedure hangs
// in the driver can be left to end on its own.
class CCommLink::CWorkerThread {
  public:
    CWorkerThread() : m_thread([queue = m_queue] { Run(*queue); }) {}
    ~CWorkerThread() {
        std::unique_lock<std::mutex> lock(m_queue->mutex);
        m_queue->stop = true;
        m_queue->cv.notify_all();
        // A procedure given up has been told to stop and ends soon; one that
        // hangs in the driver must not hold the program up for longer than the
        // wait for a worker.
        const bool ended = m_queue->cv.wait_for(lock, std::chrono::milliseconds(kWorkerWaitMs),
                                                [this] { return m_queue->ended; });
        lock.unlock();
        if (ended) {
            m_thread.join();
        } else {
            trace::Write("CCommLink::~CCommLink() - worker thread left running\n");
            m_thread.detach();
        }
    }
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    void Post(std::function<void()> job) {
        {
            std::lock_guard<std::mutex> lock(m_queue->mutex);
            m_queue->jobs.push_back(std::move(job));
        }
        m_queue->cv.notify_all();
    }

  private:
    struct Queue {
        std::mutex mutex;
        std::condition_variable cv;
        std::deque<std::function<void()>> jobs;
        bool stop = false;
        bool ended = false;  // the thread has left its loop
    };

    static void Run(Queue& queue) {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> lock(queue.mutex);
                queue.cv.wait(lock, [&] { return queue.stop || !queue.jobs.empty(); });
                if (queue.jobs.empty()) {
                    queue.ended = true;
                    queue.cv.notify_all();
                    return;
                }
                job = std::move(queue.jobs.front());
                queue.jobs.pop_front();
            }
            job();
        }
    }

    std::shared_ptr<Queue> m_queue = std::make_shared<Queue>();
    std::thread m_thread;
};

namespace {

std::shared_ptr<CCommLink::WorkerState> g_txWorker;
std::shared_ptr<CCommLink::WorkerState> g_rxWorker;

// True when CTS is on now or comes within `timeout` ms; `error` tells a failed
// status read from a CTS that never came (0).
bool IsCtsAsserted(ISerialPort& port, CCommLink::WorkerState& state, uint32_t timeout, int& error) {
    error = 0;
    bool cts = false;
    if ((error = port.GetCts(cts)) != 0) {
        trace::Write("IsCtsAsserted() - GetCommModemStatus() failed\n");
        return false;
    }
    if (cts || timeout == 0) return cts;
    const auto start = Clock::now();
    for (;;) {
        if (!state.Sleep(kCtsPollMs)) return false;
        if ((error = port.GetCts(cts)) != 0) {
            trace::Write("IsCtsAsserted() - GetCommModemStatus() failed\n");
            return false;
        }
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (cts) {
            trace::Write("IsCtsAsserted() - CTS asserted after %lu mS\n",
                         static_cast<unsigned long>(elapsed));
            return true;
        }
        if (elapsed > static_cast<long long>(timeout)) return false;
    }
}

void TxThreadProc(std::shared_ptr<CCommLink::WorkerState> state, std::shared_ptr<ISerialPort> port,
                  WorkerParams params) {
    ISerialPort& p = *port;
    // RTS belongs to the driver in automatic mode; in manual mode it never stays raised.
    const bool linkRts = !params.automaticRts;
    auto failed = [&](int error) {
        p.Purge();
        p.ClearErrors();
        if (linkRts) p.SetRts(false);
        state->Finish(static_cast<uint32_t>(error));
    };
    p.Purge();
    p.ClearErrors();
    if (linkRts) p.SetRts(true);
    if (!params.ctsEnabled && !state->Sleep(params.ctsDelay)) return failed(ECANCELED);

    size_t written = 0;
    if (params.automaticRts) {
        if (int error = p.Write(state->data.data(), params.count, &written); error != 0) {
            trace::Write("TxThreadProc() - WriteFile() failed with RC=%d\n", error);
            return failed(error);
        }
    } else {
        int error = 0;
        if (!IsCtsAsserted(p, *state, params.ctsDelay, error)) return failed(error);
        const auto start = Clock::now();
        if ((error = p.Write(state->data.data(), params.count, &written)) != 0) {
            trace::Write("TxThreadProc() - WriteFile() failed: RC= %lu\n",
                         static_cast<unsigned long>(error));
            return failed(error);
        }
        // Hold RTS until the last character and three more character times have passed.
        const uint32_t holdMs = params.characterTime * (params.count + 3);
        p.Drain(holdMs + CCommLink::kWriteConstantMs);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        trace::Write("CCommLink::Send() - PerformanceElapsed = %lu ticks\n",
                     static_cast<unsigned long>(elapsed));
        if (elapsed < static_cast<long long>(holdMs))
            state->Sleep(holdMs - static_cast<uint32_t>(elapsed));
        p.SetRts(false);
    }
    trace::Write("TxThreadProc() - Sent %lu bytes\n", static_cast<unsigned long>(written));
    state->Sleep(params.delay);
    state->Finish(0);
}

void RxThreadProc(std::shared_ptr<CCommLink::WorkerState> state, std::shared_ptr<ISerialPort> port,
                  WorkerParams params) {
    SerialTimeouts timeouts = params.timeouts;
    timeouts.readInterval = CCommLink::kCharacterGapMs;
    timeouts.readMultiplier = params.characterTime;
    timeouts.readConstant = params.readConstant;
    port->SetTimeouts(timeouts);

    size_t got = 0;
    const int error = port->Read(state->data.data(), params.toRead, &got);
    if (error != 0) {
        trace::Write("CCommLink::Receive() - ReadFile() RC= %lu\n",
                     static_cast<unsigned long>(error));
        std::lock_guard<std::mutex> lock(state->mutex);
        state->systemError = error;
    }
    state->Finish(error != 0 ? kReadFailed : static_cast<uint32_t>(got));
}

}  // namespace

CCommLink::CCommLink(uint16_t port, SerialPortFactory portFactory)
    : m_portFactory(std::move(portFactory)), m_portNumber(port) {
    if (!m_portFactory) m_portFactory = [] { return std::make_unique<CPosixSerialPort>(); };
}

CCommLink::~CCommLink() {
    Close();
    m_worker.reset();
}

int CCommLink::StartWorker() {
    if (m_worker) return 0;
    try {
        m_worker = std::make_unique<CWorkerThread>();
    } catch (const std::system_error& e) {
        return e.code().value() != 0 ? e.code().value() : EAGAIN;
    }
    return 0;
}

void CCommLink::SetTurnaroundMode(TurnaroundMode mode) { g_turnaroundMode = mode; }

TurnaroundMode CCommLink::GetTurnaroundMode() { return g_turnaroundMode; }

uint32_t CCommLink::CharacterTime() const {
    switch (m_bitRateIndex) {
        case 3:
            return 9;
        case 4:
            return 5;
        case 5:
            return 3;
        case 6:
            return 1;
        default:
            return m_bitRate > 0 ? static_cast<uint32_t>(10000.0 / m_bitRate) : 0;
    }
}

std::string CCommLink::DeviceName() const {
    return m_devicePath.empty() ? platform::ComPortDevice(m_portNumber) : m_devicePath;
}

std::string CCommLink::PortLabel() const {
    return m_devicePath.empty() ? "COM" + std::to_string(m_portNumber) : m_devicePath;
}

int32_t CCommLink::SetPortParms(uint16_t port, double bitRate, uint16_t ctsDelay, int ctsEnabled,
                                const std::string& devicePath) {
    trace::Write("CCommLink::SetPortParms()\n");
    const uint16_t oldPort = m_portNumber;
    const uint16_t oldIndex = m_bitRateIndex;
    const uint16_t oldDelay = m_ctsDelay;
    const uint16_t oldCts = m_ctsEnabled;
    const std::string oldPath = m_devicePath;

    m_portNumber = port;
    m_devicePath = devicePath;
    for (uint16_t i = 0; i < kBitRates.size(); ++i) {
        if (static_cast<double>(kBitRates[i]) == bitRate) {
            m_bitRateIndex = i;
            m_bitRate = bitRate;
            if (i != oldIndex)
                trace::Write("CCommLink::SetPortParms() Bit rate changed to %d\n",
                             static_cast<int>(kBitRates[i]));
            break;
        }
    }
    m_ctsDelay = ctsDelay;
    m_ctsEnabled = ctsEnabled != 0 ? 1 : 0;

    if (m_portNumber != oldPort || m_bitRateIndex != oldIndex || m_ctsDelay != oldDelay ||
        m_ctsEnabled != oldCts || m_devicePath != oldPath) {
        Close();
        return Open();
    }
    return 0;
}

int32_t CCommLink::Open() {
    if (!m_portEnabled || m_open) return 0;
    m_lastSentCount = 0;
    m_sendFailed = 0;
    m_receiveFailed = 0;
    m_lastSystemError = 0;
    m_portGone = false;
    m_portGoneError = 0;

    const std::string device = DeviceName();
    std::shared_ptr<ISerialPort> port = m_portFactory();
    if (const int error = port->Open(device); error != 0) {
        m_lastSystemError = static_cast<uint32_t>(error);
        m_openFailed = true;
        trace::Write("CCommLink::Open() - Port open FAILED: '%s'\n", device.c_str());
        if (Ui().HasMainWindow()) {
            std::string text =
                m_devicePath.empty()
                    ? FormatText(texts::kOpenPortFailed, static_cast<int>(m_portNumber))
                    : FormatText(kOpenPathFailed, m_devicePath.c_str());
            text += SystemErrorText(static_cast<unsigned long>(error)) + "\n";
            if (m_devicePath.empty()) text += FormatText(kDeviceTried, device.c_str());
            if (error == EACCES) text += CPosixSerialPort::kAccessRemedy;
            Ui().MessageBox(text, MsgButtons::Ok, MsgIcon::Stop);
        }
        return error;
    }

    SerialLineSettings line;
    if (port->GetLine(line) != 0) {
        trace::Write("CCommLink::Open() - GetCommState() failed.\n");
        port->Close();
        m_openFailed = true;
        return -1;
    }
    line.bitRate = kBitRates[m_bitRateIndex];
    line.dataBits = static_cast<uint8_t>(m_dataBits);
    line.parity = static_cast<uint8_t>(m_parity);
    line.stopBits = static_cast<uint8_t>(m_stopBits);
    line.ctsFlowControl = m_ctsEnabled != 0;
    line.dtrOn = true;
    const bool automatic = g_turnaroundMode == TurnaroundMode::AutomaticRts;
    line.automaticRts = automatic;
    if (port->SetLine(line) != 0) {
        trace::Write("CCommLink::Open() - SetCommState() failed.\n");
        port->Close();
        m_openFailed = true;
        return -1;
    }
    // A driver without RS-485 mode would leave RTS as the first frame set it:
    // that port turns the line round from the link instead.
    m_turnaround = automatic && port->DriverSwitchesRts() ? TurnaroundMode::AutomaticRts
                                                          : TurnaroundMode::ManualRts;
    if (m_turnaround == TurnaroundMode::AutomaticRts) {
        trace::Write("CCommLink::Open() - RTS switched by the driver\n");
    } else if (automatic) {
        trace::Write("CCommLink::Open() - driver refused RS-485 mode: RTS switched by the link\n");
    } else {
        trace::Write("CCommLink::Open() - RTS switched by the link\n");
    }
    m_port = std::move(port);
    m_open = 1;
    m_openFailed = false;
    trace::Write("CCommLink::Open() - Port opened: '%s' this= 0x%08lx\n", device.c_str(),
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(this)));

    m_timeouts = SerialTimeouts{kSerialMaxTimeout, 0, 0, CharacterTime(), kWriteConstantMs};
    m_port->SetTimeouts(m_timeouts);
    m_port->ClearErrors();
    m_port->Purge();
    m_port->SetRts(false);
    g_linkAbort = false;
    return 0;
}

int32_t CCommLink::Close() {
    trace::Write("CCommLink::Close()\n");
    if (m_open) {
        trace::Write("CCommLink::Close() open port closing..., this= 0x%08lx\n",
                     static_cast<unsigned long>(reinterpret_cast<uintptr_t>(this)));
        g_linkAbort = true;
        m_port->Purge();
        m_port->ClearErrors();
        // Only a Send or Receive that this call interrupts has a worker here; the
        // purge has already cut its read or write short.
        const auto waitFor = [](const std::shared_ptr<WorkerState>& worker, const char* line) {
            if (!worker) return;
            std::unique_lock<std::mutex> lock(worker->mutex);
            if (worker->cv.wait_for(lock, std::chrono::milliseconds(kWorkerWaitMs),
                                    [&] { return worker->done; }))
                trace::Write("%s", line);
        };
        waitFor(g_txWorker, "CCommLink::Close() - Normal Tx thread termination\n");
        waitFor(g_rxWorker, "CCommLink::Close() - Normal Rx thread termination\n");
        m_port->Close();
        m_port.reset();
    }
    m_open = 0;
    m_openFailed = false;
    return 0;
}

bool CCommLink::WaitForWorker(WorkerState& state, const char* caller, uint64_t boundMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    std::unique_lock<std::mutex> lock(state.mutex);
    for (;;) {
        const auto sliceEnd = std::min(Clock::now() + kPumpSlice, deadline);
        if (state.cv.wait_until(lock, sliceEnd, [&] { return state.done; })) {
            trace::Write("%s WAIT_OBJECT_0 - Thread handle is signaled\n", caller);
            return true;
        }
        if (Clock::now() >= deadline) {
            trace::Write("%s WAIT_TIMEOUT\n", caller);
            return false;
        }
        lock.unlock();
        Ui().PumpMessages();
        lock.lock();
    }
}

int32_t CCommLink::Send(uint32_t count, const uint8_t* buffer, uint32_t postSendDelay) {
    m_lastSentCount = count;
    if (g_txWorker || g_rxWorker) {
        trace::Write(g_txWorker ? "CCommLink::Send() - TX thread already running\n"
                                : "CCommLink::Send() - RX thread still running\n");
        m_sendFailed = 1;
        m_lastSystemError = 0;
        return -1;
    }
    if (!m_open) {
        m_sendFailed = 1;
        m_lastSystemError = EBADF;
        return -1;
    }
    auto state = std::make_shared<WorkerState>();
    state->data.assign(buffer, buffer + count);
    WorkerParams params;
    params.automaticRts = m_turnaround == TurnaroundMode::AutomaticRts;
    params.count = count;
    params.delay = postSendDelay;
    params.ctsEnabled = m_ctsEnabled != 0;
    params.ctsDelay = m_ctsDelay;
    params.characterTime = CharacterTime();
    params.timeouts = m_timeouts;

    if (const int error = StartWorker(); error != 0) {
        trace::Write("TX thread creation failed. RC= %lu.\n", static_cast<unsigned long>(error));
        m_sendFailed = 1;
        m_lastSystemError = static_cast<uint32_t>(error);
        return -1;
    }
    m_worker->Post([state, port = m_port, params] { TxThreadProc(state, port, params); });
    g_txWorker = state;
    const bool ended =
        WaitForWorker(*state, "CCommLink::Send()", LongestSendMs(params) + kWorkerMarginMs);
    uint32_t exitCode = kWorkerGivenUp;
    if (ended) {
        exitCode = state->exitCode;
    } else {
        // A thread cannot be stopped safely from outside: tell the procedure to
        // stop waiting, and let it end on its own with its result unused.
        trace::Write("CCommLink::Send() Thread timed out and still active\n");
        state->Cancel();
    }
    trace::Write("CCommLink::Send() Thread exit code= %lu\n", static_cast<unsigned long>(exitCode));
    if (exitCode != 0) {
        m_sendFailed = 1;
        m_lastSystemError = ended ? exitCode : 0;
        if (ended) NoteFailure(static_cast<int>(exitCode));
    }
    g_txWorker.reset();
    return 0;
}

int32_t CCommLink::Receive(uint32_t capacity, uint8_t* buffer, uint32_t expectedLength,
                           uint32_t replyTimeout) {
    uint32_t toRead = expectedLength == kReadUntilGapLength ? capacity : expectedLength;
    toRead = std::min({toRead, capacity, kReadBufferSize});
    uint32_t constant = std::max(replyTimeout, kMinReplyTimeoutMs);
    // The driver returns from the write before the frame has left: allow for it.
    if (m_turnaround == TurnaroundMode::AutomaticRts)
        constant += m_lastSentCount * CharacterTime() + m_ctsDelay;
    return RunReceive(capacity, buffer, toRead, constant, expectedLength);
}

int32_t CCommLink::ReceiveMore(uint32_t count, uint8_t* buffer) {
    return RunReceive(count, buffer, std::min(count, kReadBufferSize), kCharacterGapMs, count);
}

int32_t CCommLink::RunReceive(uint32_t capacity, uint8_t* buffer, uint32_t toRead,
                              uint32_t readConstant, uint32_t expectedLength) {
    if (g_rxWorker) {
        trace::Write("RX thread already running\n");
        m_receiveFailed = 1;
        m_lastSystemError = 0;
        return -1;
    }
    if (!m_open) {
        m_receiveFailed = 1;
        m_lastSystemError = EBADF;
        return -1;
    }
    auto state = std::make_shared<WorkerState>();
    state->data.resize(kReadBufferSize);
    WorkerParams params;
    params.automaticRts = m_turnaround == TurnaroundMode::AutomaticRts;
    params.ctsEnabled = m_ctsEnabled != 0;
    params.ctsDelay = m_ctsDelay;
    params.characterTime = CharacterTime();
    params.toRead = toRead;
    params.readConstant = readConstant;
    params.timeouts = m_timeouts;
    std::shared_ptr<ISerialPort> port = m_port;

    if (const int error = StartWorker(); error != 0) {
        trace::Write("RX thread creation failed. RC= %lu.\n", static_cast<unsigned long>(error));
        m_receiveFailed = 1;
        m_lastSystemError = static_cast<uint32_t>(error);
        return -1;
    }
    m_worker->Post([state, port, params] { RxThreadProc(state, port, params); });
    g_rxWorker = state;
    const bool ended =
        WaitForWorker(*state, "CCommLink::Receive()", LongestReceiveMs(params) + kWorkerMarginMs);
    int32_t result = 0;
    if (!ended) {
        trace::Write("CCommLink::Receive() Thread timed out and still active\n");
        // Cut the read short so that the late worker cannot take the next reply.
        state->Cancel();
        port->Purge();
    } else {
        trace::Write("CCommLink::Receive() Thread exit code= %lu\n",
                     static_cast<unsigned long>(state->exitCode));
        if (state->exitCode == kReadFailed) {
            m_receiveFailed = 1;
            m_lastSystemError = static_cast<uint32_t>(state->systemError);
            NoteFailure(state->systemError);
            result = -1;
        } else if (g_linkAbort) {
            result = 0;  // the port closed under the read: what came is not a reply
        } else {
            const uint32_t got = std::min(state->exitCode, capacity);
            std::memcpy(buffer, state->data.data(), got);
            result = static_cast<int32_t>(got);
            trace::Write("CCommLink::Receive() - Expected: %d bytes Got: %ld bytes\n",
                         static_cast<int>(expectedLength), static_cast<long>(got));
        }
    }
    g_rxWorker.reset();
    return result;
}

bool CCommLink::IsPortGoneError(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

void CCommLink::NoteFailure(int error) {
    if (!IsPortGoneError(error)) return;
    m_portGone = true;
    m_portGoneError = error;
}

int CCommLink::CheckAndClearErrors() {
    if (m_sendFailed || m_receiveFailed) {
        m_sendFailed = 0;
        m_receiveFailed = 0;
        return 1;
    }
    return 0;
}

bool CCommLink::WorkersRunning() { return g_txWorker != nullptr || g_rxWorker != nullptr; }

void CCommLink::WaitForWorkers(uint32_t timeoutMs) {
    for (const auto& worker : {g_txWorker, g_rxWorker}) {
        if (!worker) continue;
        std::unique_lock<std::mutex> lock(worker->mutex);
        worker->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return worker->done; });
    }
}
