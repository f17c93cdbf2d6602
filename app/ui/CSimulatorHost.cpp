#include "app/ui/CSimulatorHost.h"

#ifdef CORVEL_HAVE_SIM
#include "sim/CSimLine.h"
#endif

CSimulatorHost::CSimulatorHost() = default;

CSimulatorHost::~CSimulatorHost() = default;

#ifdef CORVEL_HAVE_SIM

bool CSimulatorHost::Start(std::string* error) {
    auto line = std::make_unique<CSimLine>();
    line->AddTransmitter(1);
    if (!line->Start(error)) return false;
    m_slavePath = line->SlavePath();
    m_line = std::move(line);
    return true;
}

#else

// Built without the simulated transmitter.
class CSimLine {};

bool CSimulatorHost::Start(std::string* error) {
    if (error != nullptr) *error = "the simulated transmitter is not part of this build";
    return false;
}

#endif
