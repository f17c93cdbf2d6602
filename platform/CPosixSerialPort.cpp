#include "platform/CPosixSerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

const char* const CPosixSerialPort::kAccessRemedy =
    "\nAdd your user to the group that owns the device (dialout on Debian) and log in again.";

namespace {

using Clock = std::chrono::steady_clock;

struct RateConstant {
    uint32_t rate;
    speed_t constant;
};

constexpr RateConstant kRateConstants[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
};

bool FindRateConstant(uint32_t rate, speed_t& constant) {
    for (const auto& entry : kRateConstants) {
        if (entry.rate == rate) {
            constant = entry.constant;
            return true;
        }
    }
    return false;
}

// Pseudo-terminals and some adapters have no modem lines; their refusal is not a failure.
bool NoModemLines(int error) { return error == ENOTTY || error == EINVAL || error == ENOSYS; }

// Milliseconds until `deadline`, rounded up so that a wait never ends early.
int64_t MsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count();
}

}  // namespace

namespace platform {
std::string ComPortDevice(unsigned portNumber) {
    return "/dev/ttyS" + std::to_string(portNumber > 0 ? portNumber - 1 : 0);
}

uint32_t RequestDriverRts(const Rs485Call& call) {
    constexpr uint32_t kPolarities = SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND;
    serial_rs485 current{};
    if (call(TIOCGRS485, current) != 0) return 0;  // no RS-485 mode at all
    for (const uint32_t polarity :
         {uint32_t{SER_RS485_RTS_ON_SEND}, uint32_t{SER_RS485_RTS_AFTER_SEND}}) {
        serial_rs485 wanted = current;
        wanted.flags &= ~kPolarities;
        wanted.flags |= SER_RS485_ENABLED | polarity;
        if (call(TIOCSRS485, wanted) != 0) continue;
        // Some drivers answer success but keep RS-485 off or change the polarity.
        if ((wanted.flags & SER_RS485_ENABLED) && (wanted.flags & polarity)) return wanted.flags;
    }
    serial_rs485 off = current;
    off.flags &= ~static_cast<uint32_t>(SER_RS485_ENABLED);
    call(TIOCSRS485, off);
    return 0;
}
}  // namespace platform

CPosixSerialPort::CPosixSerialPort() : m_wakeFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CPosixSerialPort::~CPosixSerialPort() {
    Close();
    if (m_wakeFd >= 0) ::close(m_wakeFd);
}

int CPosixSerialPort::Open(const std::string& path) {
    std::unique_lock<std::shared_mutex> lock(m_closeMutex);
    if (m_fd >= 0) return EBUSY;
    if (m_wakeFd < 0) return EMFILE;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = 0;
    if (!::isatty(fd)) {
        error = ENOTTY;
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    } else if (::ioctl(fd, TIOCEXCL) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::close(fd);
        return error;
    }
    m_closing = false;
    m_driverRts = false;
    m_path = path;
    m_fd = fd;
    return 0;
}

void CPosixSerialPort::Close() {
    m_closing = true;
    if (m_wakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
    std::unique_lock<std::shared_mutex> lock(m_closeMutex);
    const int fd = m_fd.exchange(-1);
    if (fd < 0) return;
    if (m_driverRts) {
        serial_rs485 rs485{};
        if (::ioctl(fd, TIOCGRS485, &rs485) == 0) {
            rs485.flags &= ~static_cast<uint32_t>(SER_RS485_ENABLED);
            ::ioctl(fd, TIOCSRS485, &rs485);
        }
        m_driverRts = false;
    }
    // Exclusive mode outlives this descriptor when someone else holds the device
    // (the other side of a pseudo-terminal); a later open must not be refused.
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
}

bool CPosixSerialPort::IsOpen() const { return m_fd >= 0; }

int CPosixSerialPort::GetLine(SerialLineSettings& settings) {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    termios t{};
    if (m_fd < 0) return EBADF;
    if (::tcgetattr(m_fd, &t) != 0) return errno;
    switch (t.c_cflag & CSIZE) {
        case CS5:
            settings.dataBits = 5;
            break;
        case CS6:
            settings.dataBits = 6;
            break;
        case CS7:
            settings.dataBits = 7;
            break;
        default:
            settings.dataBits = 8;
            break;
    }
    settings.parity = (t.c_cflag & PARENB) ? ((t.c_cflag & PARODD) ? 1 : 2) : 0;
    settings.stopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
    settings.ctsFlowControl = (t.c_cflag & CRTSCTS) != 0;
    settings.automaticRts = m_driverRts;
    return 0;
}

int CPosixSerialPort::SetLine(const SerialLineSettings& settings) {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    const int fd = m_fd;
    if (fd < 0) return EBADF;
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return errno;
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    switch (settings.dataBits) {
        case 5:
            t.c_cflag |= CS5;
            break;
        case 6:
            t.c_cflag |= CS6;
            break;
        case 7:
            t.c_cflag |= CS7;
            break;
        default:
            t.c_cflag |= CS8;
            break;
    }
    switch (settings.parity) {
        case 1:
            t.c_cflag |= PARENB | PARODD;
            break;
        case 2:
            t.c_cflag |= PARENB;
            break;
        case 3:
            t.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case 4:
            t.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
    }
    if (settings.parity != 0) t.c_iflag |= INPCK;
    // One and a half stop bits do not exist here; two is the nearest safe choice.
    if (settings.stopBits != 0) t.c_cflag |= CSTOPB;
    if (settings.ctsFlowControl) t.c_cflag |= CRTSCTS;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    speed_t constant = B9600;
    const bool standardRate = FindRateConstant(settings.bitRate, constant);
    ::cfsetispeed(&t, constant);
    ::cfsetospeed(&t, constant);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return errno;
    if (!standardRate) {
        const int error = platform::SetCustomBitRate(fd, settings.bitRate);
        if (error != 0) return error;
    }
    if (settings.dtrOn) ModemBits(TIOCMBIS, TIOCM_DTR);

    serial_rs485 rs485{};
    if (settings.automaticRts) {
        // RS-232 adapters and pseudo-terminals refuse: RTS then stays with SetRts.
        m_driverRts = platform::RequestDriverRts([fd](unsigned long request, serial_rs485& config) {
                          return ::ioctl(fd, request, &config) == 0 ? 0 : errno;
                      }) != 0;
    } else {
        m_driverRts = false;
        if (::ioctl(fd, TIOCGRS485, &rs485) == 0 && (rs485.flags & SER_RS485_ENABLED)) {
            rs485.flags &= ~static_cast<uint32_t>(SER_RS485_ENABLED);
            ::ioctl(fd, TIOCSRS485, &rs485);
        }
    }
    return 0;
}

int CPosixSerialPort::SetTimeouts(const SerialTimeouts& timeouts) {
    std::lock_guard<std::mutex> lock(m_timeoutMutex);
    m_timeouts = timeouts;
    return 0;
}

int CPosixSerialPort::Purge() {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    if (m_fd < 0) return EBADF;
    const int result = ::tcflush(m_fd, TCIOFLUSH) == 0 ? 0 : errno;
    ++m_generation;
    // Only a read or write that is waiting needs the wake-up; an idle port saves
    // the next operation a spurious one.
    if (m_waiters > 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_wakeFd, &one, sizeof one);
    }
    return result;
}

int CPosixSerialPort::ClearErrors() {
    // The driver reports line errors with the data; there is no error word to clear.
    return m_fd >= 0 ? 0 : EBADF;
}

int CPosixSerialPort::ModemBits(unsigned long request, int bits) {
    if (::ioctl(m_fd, request, &bits) == 0) return 0;
    return NoModemLines(errno) ? 0 : errno;
}

int CPosixSerialPort::Gone(int error) const {
    if (error == EIO || error == ENXIO || error == ENODEV || error == ECANCELED) return error;
    struct stat node {};
    if (!m_path.empty() && ::stat(m_path.c_str(), &node) != 0 && errno == ENOENT) return ENODEV;
    return error;
}

int CPosixSerialPort::SetRts(bool on) {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    if (m_fd < 0) return EBADF;
    if (m_driverRts) return 0;  // the driver owns RTS
    return ModemBits(on ? TIOCMBIS : TIOCMBIC, TIOCM_RTS);
}

int CPosixSerialPort::GetCts(bool& on) {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    if (m_fd < 0) return EBADF;
    int bits = 0;
    if (::ioctl(m_fd, TIOCMGET, &bits) != 0) {
        if (!NoModemLines(errno)) return errno;
        bits = TIOCM_CTS;  // no modem lines: the line is always clear to send
    }
    on = (bits & TIOCM_CTS) != 0;
    return 0;
}

int CPosixSerialPort::Drain(uint32_t timeoutMs) {
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    const int fd = m_fd;
    if (fd < 0) return EBADF;
    // tcdrain could wait forever behind a stuck CTS; poll the queue instead.
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0) return NoModemLines(errno) ? 0 : errno;
        if (queued == 0) {
            unsigned lsr = 0;
            if (::ioctl(fd, TIOCSERGETLSR, &lsr) != 0 || (lsr & TIOCSER_TEMT)) return 0;
        }
        if (m_closing || Clock::now() >= deadline) return m_closing ? ECANCELED : ETIMEDOUT;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

bool CPosixSerialPort::Aborted(uint64_t generation) const {
    return m_closing || m_generation != generation;
}

int CPosixSerialPort::WaitFor(short events, int timeoutMs, uint64_t generation) {
    pollfd fds[2] = {{m_fd, events, 0}, {m_wakeFd, POLLIN, 0}};
    ++m_waiters;
    // A purge between reading the generation and counting this waiter sent no wake-up.
    if (Aborted(generation)) {
        --m_waiters;
        return -ECANCELED;
    }
    const int rc = ::poll(fds, 2, timeoutMs);
    --m_waiters;
    if (rc < 0) return errno == EINTR ? 0 : -errno;
    if (fds[1].revents != 0) {
        uint64_t value = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_wakeFd, &value, sizeof value);
    }
    if (Aborted(generation)) return -ECANCELED;
    if (fds[0].revents & (POLLERR | POLLNVAL)) return -EIO;
    if ((fds[0].revents & POLLHUP) && !(fds[0].revents & events)) return -EIO;
    return (fds[0].revents & events) ? 1 : 0;
}

int CPosixSerialPort::Write(const uint8_t* buffer, size_t count, size_t* written) {
    *written = 0;
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    const int fd = m_fd;
    if (fd < 0) return EBADF;
    const uint64_t generation = m_generation;
    SerialTimeouts timeouts;
    {
        std::lock_guard<std::mutex> guard(m_timeoutMutex);
        timeouts = m_timeouts;
    }
    const uint64_t total = uint64_t{timeouts.writeMultiplier} * count + timeouts.writeConstant;
    const bool limited = total != 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(total);
    size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, buffer + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            *written = done;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return Gone(errno);
        int64_t wait = -1;
        if (limited) {
            wait = MsUntil(deadline);
            if (wait <= 0) return Gone(ETIMEDOUT);
        }
        const int rc = WaitFor(POLLOUT, static_cast<int>(wait), generation);
        if (rc < 0) return Gone(-rc);
    }
    return 0;
}

int CPosixSerialPort::Read(uint8_t* buffer, size_t count, size_t* read) {
    *read = 0;
    // Whatever ends the read, a device whose node has gone is reported as gone.
    const auto result = [this, read](int error) { return *read == 0 ? Gone(error) : error; };
    std::shared_lock<std::shared_mutex> lock(m_closeMutex);
    const int fd = m_fd;
    if (fd < 0) return EBADF;
    const uint64_t generation = m_generation;
    SerialTimeouts timeouts;
    {
        std::lock_guard<std::mutex> guard(m_timeoutMutex);
        timeouts = m_timeouts;
    }
    size_t got = 0;
    auto takeAvailable = [&]() -> int {
        while (got < count) {
            const ssize_t n = ::read(fd, buffer + got, count - got);
            if (n > 0) {
                got += static_cast<size_t>(n);
                *read = got;
                continue;
            }
            if (n == 0 || errno == EAGAIN) return 0;
            if (errno != EINTR) return errno;
        }
        return 0;
    };
    if (count == 0) return 0;  // nothing asked for: nothing to check

    const bool intervalMax = timeouts.readInterval == kSerialMaxTimeout;
    if (intervalMax && timeouts.readMultiplier == 0 && timeouts.readConstant == 0) {
        return result(takeAvailable());  // return at once with what has arrived
    }
    if (intervalMax && timeouts.readMultiplier == kSerialMaxTimeout && timeouts.readConstant != 0 &&
        timeouts.readConstant != kSerialMaxTimeout) {
        // Whatever is there, else wait up to the constant for the first byte.
        if (int error = takeAvailable(); error != 0 || got > 0) return result(error);
        const int rc = WaitFor(POLLIN, static_cast<int>(timeouts.readConstant), generation);
        if (rc < 0) return result(-rc);
        return result(takeAvailable());
    }

    const uint64_t total = uint64_t{timeouts.readMultiplier} * count + timeouts.readConstant;
    const bool limited = timeouts.readMultiplier != 0 || timeouts.readConstant != 0;
    const bool useInterval = timeouts.readInterval != 0 && !intervalMax;
    const auto deadline = Clock::now() + std::chrono::milliseconds(total);
    auto lastByte = Clock::now();
    for (;;) {
        const size_t before = got;
        if (int error = takeAvailable(); error != 0) return result(error);
        if (got == count) return 0;
        if (got != before) lastByte = Clock::now();
        int64_t wait = -1;
        if (limited) {
            wait = MsUntil(deadline);
            if (wait <= 0) return result(0);
        }
        if (useInterval && got > 0) {
            const int64_t gap =
                MsUntil(lastByte + std::chrono::milliseconds(timeouts.readInterval));
            if (gap <= 0) return result(0);
            wait = wait < 0 ? gap : std::min(wait, gap);
        }
        const int rc =
            WaitFor(POLLIN, static_cast<int>(std::min<int64_t>(wait, 0x7FFFFFFF)), generation);
        if (rc < 0) return result(-rc);
    }
}
