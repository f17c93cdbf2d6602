#include "app/CSecurity.h"

#include <chrono>
#include <optional>

#include "app/CChangeLog.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

namespace {

// The password mask table shared with the transmitter's firmware. Every mask
// byte built from it has its high bit set, so a masked ASCII password never
// starts with a zero byte and always reads back as masked.
constexpr std::array<uint8_t, 15> kPasswordMaskTable = {
    0x5D, 0x50, 0xB4, 0x8F, 0x1F, 0x7D, 0xA9, 0x12, 0x58, 0x1B, 0xDA, 0xD9, 0x62, 0x4D, 0xBF};

constexpr unsigned kIdInvalidPassword = 3101;
constexpr unsigned kIdAdminMismatch = 3100;
constexpr unsigned kIdEnableSecurity = 3102;
constexpr unsigned kIdDisableSecurity = 3103;
constexpr unsigned kIdWillDisable = 3104;
constexpr unsigned kIdWillEnable = 3105;
// How the change log names the switch.
constexpr const char* kSecurityArea = "Security";
constexpr const char* kSecurityField = "security";
constexpr const char* kEnabledText = "enabled";
constexpr const char* kDisabledText = "disabled";

uint8_t XorOfFirstSeven(const CSecurity::Slot& slot) {
    uint8_t x = 0;
    for (size_t i = 0; i < 7; ++i) x ^= slot[i];
    return x;
}

std::string Cut(const std::string& text) { return text.substr(0, CSecurity::kSlotSize); }

}  // namespace

CSecurity::CSecurity()
    : m_random(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())) {
}

CSecurity::CSecurity(uint32_t seed) : m_random(seed) {}

uint8_t CSecurity::MaskByte(size_t i) {
    uint8_t mask = 0;
    for (size_t k = i; k < i + kSlotSize && k < kPasswordMaskTable.size(); ++k) {
        mask ^= kPasswordMaskTable[k];
    }
    return mask;
}

CSecurity::Slot CSecurity::BuildStateSlot(bool enabled) {
    Slot slot{};
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t i = 0; i < 7; ++i) slot[i] = static_cast<uint8_t>(byte(m_random));
    slot[7] = static_cast<uint8_t>(XorOfFirstSeven(slot) + (enabled ? 1 : 0));
    return slot;
}

bool CSecurity::StateSlotEnabled(const Slot& slot) { return slot[7] != XorOfFirstSeven(slot); }

CSecurity::Slot CSecurity::MaskPassword(const std::string& password) {
    Slot slot{};
    const std::string text = Cut(password);
    for (size_t i = 0; i < text.size(); ++i) slot[i] = static_cast<uint8_t>(text[i]);
    for (size_t i = 0; i < kSlotSize; ++i) slot[i] ^= MaskByte(i);
    return slot;
}

std::string CSecurity::UnmaskPassword(const Slot& slot) {
    Slot plain = slot;
    if (plain[0] != 0) {
        for (size_t i = 0; i < kSlotSize; ++i) plain[i] ^= MaskByte(i);
    }
    std::string text;
    for (uint8_t c : plain) {
        if (c == 0) break;
        text.push_back(static_cast<char>(c));
    }
    return text;
}

CSecurity::Image CSecurity::BuildImage(bool enabled) {
    Image image{};
    image[0] = BuildStateSlot(enabled);
    image[1] = MaskPassword(m_administrative);
    for (size_t i = 0; i < kMediumCount; ++i) image[2 + i] = MaskPassword(m_medium[i]);
    return image;
}

const std::string& CSecurity::Password(int number) const {
    if (number == kAdministrativeNumber) return m_administrative;
    if (number < kAdministrativeNumber || number > kLastPasswordNumber) {
        RaiseCommError(commerr::kIllegalValue);
    }
    return m_medium[static_cast<size_t>(number - 2)];
}

void CSecurity::ReadState(CComm& comm) {
    m_enabled = StateSlotEnabled(comm.ReadPasswordEntry(0));
    NotifyMenu();
}

void CSecurity::ReadAll(CComm& comm) {
    Image image{};
    for (size_t i = 0; i < kSlotCount; ++i)
        image[i] = comm.ReadPasswordEntry(static_cast<uint8_t>(i));
    // Nothing is taken over until every slot has arrived.
    m_enabled = StateSlotEnabled(image[0]);
    m_administrative = UnmaskPassword(image[1]);
    for (size_t i = 0; i < kMediumCount; ++i) m_medium[i] = UnmaskPassword(image[2 + i]);
    NotifyMenu();
}

void CSecurity::WriteAll(CComm& comm) { WriteAll(comm, m_administrative, m_medium); }

void CSecurity::WriteAll(CComm& comm, const std::string& administrative,
                         const std::array<std::string, kMediumCount>& medium) {
    Image image{};
    image[0] = BuildStateSlot(m_enabled);
    image[1] = MaskPassword(administrative);
    for (size_t i = 0; i < kMediumCount; ++i) image[2 + i] = MaskPassword(medium[i]);
    for (size_t i = 0; i < kSlotCount; ++i) {
        comm.WritePasswordEntry(static_cast<uint8_t>(i), image[i]);
    }
    m_administrative = Cut(administrative);
    for (size_t i = 0; i < kMediumCount; ++i) m_medium[i] = Cut(medium[i]);
}

void CSecurity::WriteOne(CComm& comm, int number, const std::string& password) {
    if (number < kAdministrativeNumber || number > kLastPasswordNumber) {
        RaiseCommError(commerr::kIllegalValue);
    }
    const std::string text = Cut(password);
    comm.WritePasswordEntry(static_cast<uint8_t>(number), MaskPassword(text));
    if (number == kAdministrativeNumber) {
        m_administrative = text;
    } else {
        m_medium[static_cast<size_t>(number - 2)] = text;
    }
}

void CSecurity::SetState(CComm& comm, bool enabled) {
    comm.WritePasswordEntry(0, BuildStateSlot(enabled));
    m_enabled = enabled;
    NotifyMenu();
}

void CSecurity::SetStoredLevel(int level) {
    if (level >= app::kAccessHigh && level <= app::kAccessLow) m_level = level;
}

int CSecurity::CurrentAccessState(const AccessContext& context) const {
    if (!context.connected || !context.linkAvailable) return app::kAccessNoTransmitter;
    if (!context.hasFlowConfiguration) return app::kAccessNonEms;
    if (!m_enabled) return app::kAccessDisabled;
    return m_level;
}

int CSecurity::LogIn(const AccessContext& context, const std::string& password) {
    const int derived = CurrentAccessState(context);
    if (derived > app::kAccessLow) return derived;
    const std::string typed = Cut(password);
    if (typed == m_administrative) {
        m_level = app::kAccessHigh;
        return m_level;
    }
    for (const std::string& medium : m_medium) {
        // An empty slot is a medium password nobody has set (or one taken
        // away): it lets nobody in. An empty administrative password does
        // match, or a transmitter without one could never be administered.
        if (!medium.empty() && typed == medium) {
            m_level = app::kAccessMedium;
            return m_level;
        }
    }
    m_level = app::kAccessLow;
    Ui().MessageBox(LoadString(kIdInvalidPassword), MsgButtons::Ok, MsgIcon::Stop);
    return m_level;
}

void CSecurity::ToggleSecurity(CComm& comm, const AccessContext& context) {
    try {
        if (m_enabled) {
            if (Ui().MessageBox(LoadString(kIdWillDisable), MsgButtons::OkCancel,
                                MsgIcon::Exclamation) != MsgAnswer::Ok) {
                return;
            }
            CWaitCursor wait;
            changelog::RecordWrite(comm, kSecurityArea, kSecurityField, kEnabledText, kDisabledText,
                                   [&] { SetState(comm, false); });
            return;
        }
        if (Ui().MessageBox(LoadString(kIdWillEnable), MsgButtons::OkCancel,
                            MsgIcon::Exclamation) != MsgAnswer::Ok) {
            return;
        }
        const std::optional<std::string> typed = Ui().PromptPassword();
        if (!typed) return;
        if (Cut(*typed) != m_administrative) {
            Ui().MessageBox(LoadString(kIdAdminMismatch), MsgButtons::Ok, MsgIcon::Stop);
            return;
        }
        {
            CWaitCursor wait;
            changelog::RecordWrite(comm, kSecurityArea, kSecurityField, kDisabledText, kEnabledText,
                                   [&] { SetState(comm, true); });
        }
        LogIn(context, *typed);
    } catch (const std::exception& e) {
        ReportException(e);
    }
}

void CSecurity::SetMenuTextCallback(std::function<void(const std::string&)> callback) {
    m_menuCallback = std::move(callback);
}

std::string CSecurity::MenuText() const {
    return LoadString(m_enabled ? kIdDisableSecurity : kIdEnableSecurity);
}

void CSecurity::NotifyMenu() {
    if (m_menuCallback) m_menuCallback(MenuText());
}
