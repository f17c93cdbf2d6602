#pragma once

#include <atomic>
#include <chrono>
#include <memory>

#include "sim/CSimTransmitter.h"
#include "tests/config/FormTestBench.h"

// A clock that stands still until a test moves it; the diagnostic forms and
// the simulated transmitter share it, so that a wait of a minute takes no time.
class CFakeClock {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    TimePoint Now() const { return TimePoint(std::chrono::milliseconds(m_ms.load())); }
    void Advance(int ms) { m_ms += ms; }
    long long Milliseconds() const { return m_ms.load(); }

  private:
    std::atomic<long long> m_ms{0};
};

// The form bench with a fake clock that the simulated transmitter follows.
class DiagnosticsTest : public FormTest {
  protected:
    void ConnectWithFakeClock(const SimTransmitterOptions& options) {
        Connect(options);
        std::shared_ptr<CFakeClock> clock = m_clock;
        m_sim->SetTimeSource([clock] { return clock->Now(); });
    }

    std::function<CFakeClock::TimePoint()> Clock() {
        std::shared_ptr<CFakeClock> clock = m_clock;
        return [clock] { return clock->Now(); };
    }

    static SimTransmitterOptions Options() { return CWorkflowTestBench::Options("CORVEL"); }

    std::shared_ptr<CFakeClock> m_clock = std::make_shared<CFakeClock>();
};
