#pragma once

#include <string>
#include <vector>

#include "app/CConnectEngine.h"
#include "app/CWorkflowEngine.h"

// The multidrop search: probes polling addresses 1 to 247, one per step, and
// lists every Corvel that answers with its tag and descriptor. The transmitter
// that was connected when the search started is connected again at the end.
class CSearchEngine : public CWorkflowEngine {
  public:
    explicit CSearchEngine(WorkflowContext& context);

    bool Step() override;

    int NextAddress() const { return m_nextAddress; }
    int SavedAddress() const { return m_savedAddress; }
    const std::vector<int>& FoundAddresses() const { return m_foundAddresses; }
    // One "\t%i\t%s\t%s" line per found address: address, tag, descriptor.
    const std::vector<std::string>& FoundLines() const { return m_foundLines; }
    // Tag and descriptor of each found transmitter, in the order found.
    const std::vector<std::pair<std::string, std::string>>& FoundTexts() const {
        return m_foundTexts;
    }

  private:
    void ProbeAddress(int address);
    void End(WorkflowResult result);
    void RestoreSaved();

    CConnectEngine m_connect;
    int m_nextAddress = CConnectEngine::kFirstAddress;
    int m_savedAddress = -1;
    std::vector<int> m_foundAddresses;
    std::vector<std::string> m_foundLines;
    std::vector<std::pair<std::string, std::string>> m_foundTexts;
};
