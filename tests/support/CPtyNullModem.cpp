#include "tests/support/CPtyNullModem.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace {

bool OpenEnd(int& master, int& slave, std::string& path) {
    char name[128] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return false;
    termios t{};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave, TCSANOW, &t);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    path = name;
    return true;
}

// Copies what is readable on `from` to `to`; a full buffer on the far side
// drops the bytes, as a line without flow control would.
void Pass(int from, int to) {
    uint8_t buffer[4096];
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n <= 0) return;
    ssize_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(to, buffer + done, static_cast<size_t>(n - done));
        if (w < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                pollfd p{to, POLLOUT, 0};
                ::poll(&p, 1, 10);
                continue;
            }
            return;
        }
        done += w;
    }
}

}  // namespace

CPtyNullModem::CPtyNullModem() {
    m_stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_ok = m_stopFd >= 0 && OpenEnd(m_masterA, m_slaveA, m_pathA) &&
           OpenEnd(m_masterB, m_slaveB, m_pathB);
    if (m_ok) m_thread = std::thread(&CPtyNullModem::Bridge, this);
}

CPtyNullModem::~CPtyNullModem() {
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_stopFd, &one, sizeof one);
        m_thread.join();
    }
    for (int fd : {m_masterA, m_masterB, m_slaveA, m_slaveB, m_stopFd}) {
        if (fd >= 0) ::close(fd);
    }
}

void CPtyNullModem::Bridge() {
    for (;;) {
        pollfd fds[3] = {{m_masterA, POLLIN, 0}, {m_masterB, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0 && errno != EINTR) return;
        if (fds[2].revents) return;
        if (fds[0].revents & POLLIN) Pass(m_masterA, m_masterB);
        if (fds[1].revents & POLLIN) Pass(m_masterB, m_masterA);
    }
}
