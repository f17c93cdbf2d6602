// libFuzzer entry: any bytes loaded as a configuration file. A load either
// succeeds, and the model then stores and reloads to the same bytes, or fails
// with one of the program's own failures; anything else is a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/CMVDoc.h"
#include "platform/CException.h"
#include "platform/IUserInterface.h"
#include "platform/UiServices.h"

namespace {

// Answers every message box with OK and shows nothing.
class CQuietUi : public IUserInterface {
  public:
    MsgAnswer MessageBox(const std::string&, MsgButtons, MsgIcon) override { return MsgAnswer::Ok; }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override { return std::nullopt; }
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest&) override {
        return {};
    }
};

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CQuietUi ui;
    static CScopedUi scope(ui);

    CMVDoc doc;
    try {
        doc.Load(std::vector<uint8_t>(data, data + size));
    } catch (const CException&) {
        if (doc.IsModified()) Broken("a failed load left the document modified");
        return 0;
    }
    const std::vector<uint8_t> stored = doc.Store();
    CMVDoc again;
    again.Load(stored);
    if (again.Store() != stored) Broken("a loaded configuration does not store stably");
    return 0;
}
