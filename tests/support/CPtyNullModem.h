#pragma once

#include <atomic>
#include <string>
#include <thread>

// Two pseudo-terminals joined like a null-modem cable: whatever a program writes
// to one end's slave device arrives at the other end's, both ways. Each side
// opens its end by path, as it would a serial port. Both slave devices are held
// open here too, so that either side may close and reopen its end.
class CPtyNullModem {
  public:
    CPtyNullModem();
    ~CPtyNullModem();
    CPtyNullModem(const CPtyNullModem&) = delete;
    CPtyNullModem& operator=(const CPtyNullModem&) = delete;

    bool Ok() const { return m_ok; }
    const std::string& PathA() const { return m_pathA; }
    const std::string& PathB() const { return m_pathB; }

  private:
    void Bridge();

    int m_masterA = -1, m_masterB = -1, m_slaveA = -1, m_slaveB = -1;
    int m_stopFd = -1;
    std::string m_pathA, m_pathB;
    bool m_ok = false;
    std::thread m_thread;
};
