#pragma once

#include <memory>
#include <string>

class CSimLine;

// The in-process simulated line of `--simulate`: one simulated transmitter at
// polling address 1 on a pseudo-terminal, running until the object is destroyed.
class CSimulatorHost {
  public:
    CSimulatorHost();
    ~CSimulatorHost();
    CSimulatorHost(const CSimulatorHost&) = delete;
    CSimulatorHost& operator=(const CSimulatorHost&) = delete;

    // Starts the line; on success the master opens SlavePath().
    bool Start(std::string* error);
    const std::string& SlavePath() const { return m_slavePath; }

  private:
    std::unique_ptr<CSimLine> m_line;
    std::string m_slavePath;
};
