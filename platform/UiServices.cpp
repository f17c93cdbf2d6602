#include "platform/UiServices.h"

namespace {

class CSilentUi final : public IUserInterface {
public:
    MsgAnswer MessageBox(const std::string&, MsgButtons buttons, MsgIcon) override {
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override { return std::nullopt; }
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest&) override {
        return {};
    }
    bool HasMainWindow() const override { return false; }
};

CSilentUi g_silentUi;
IUserInterface* g_current = &g_silentUi;

}  // namespace

IUserInterface& Ui() { return *g_current; }

CScopedUi::CScopedUi(IUserInterface& ui) : m_previous(g_current) { g_current = &ui; }

CScopedUi::~CScopedUi() { g_current = m_previous; }
