#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

class CComm;

// Access states of the current user. Commands are enabled by them.
namespace app {
inline constexpr int kAccessHigh = 0;
inline constexpr int kAccessMedium = 1;
inline constexpr int kAccessLow = 2;
inline constexpr int kAccessDisabled = 3;
inline constexpr int kAccessNonEms = 4;
inline constexpr int kAccessNoTransmitter = 5;
}  // namespace app

// What the access state depends on besides the logged-in level.
struct AccessContext {
    bool connected = false;      // a transmitter is selected
    bool linkAvailable = false;  // the serial link could be opened
    bool hasFlowConfiguration = false;
};

// The transmitter's security: an administrative password, six medium passwords
// and an on/off state, kept in a 64-byte image of eight 8-byte slots that the
// password-entry requests read and write slot by slot.
class CSecurity {
  public:
    static constexpr size_t kSlotSize = 8;
    static constexpr size_t kSlotCount = 8;
    static constexpr size_t kMediumCount = 6;
    static constexpr int kAdministrativeNumber = 1;  // password numbers 2..7: medium 1..6
    static constexpr int kLastPasswordNumber = 7;

    using Slot = std::array<uint8_t, kSlotSize>;
    using Image = std::array<Slot, kSlotCount>;

    CSecurity();                        // random bytes seeded with the current time
    explicit CSecurity(uint32_t seed);  // a fixed seed, for reproducible images

    // --- The image ---
    // State slot: seven random bytes, then their XOR plus 1 when enabled.
    Slot BuildStateSlot(bool enabled);
    static bool StateSlotEnabled(const Slot& slot);
    // A password slot: the text cut to 8 and zero-padded, XOR-masked.
    static Slot MaskPassword(const std::string& password);
    // The text of a slot read back: unmasked when its first byte is non-zero.
    static std::string UnmaskPassword(const Slot& slot);
    // The mask byte i (0..7): XOR of entries i..i+7 of the program's mask table.
    static uint8_t MaskByte(size_t i);
    // The whole image for the held passwords with a fresh state slot.
    Image BuildImage(bool enabled);

    // --- Held values ---
    bool Enabled() const { return m_enabled; }
    const std::string& AdministrativePassword() const { return m_administrative; }
    const std::array<std::string, kMediumCount>& MediumPasswords() const { return m_medium; }
    // The password of a number 1..7 (1 administrative, 2..7 medium 1..6).
    const std::string& Password(int number) const;
    // The logged-in level: High, Medium or Low (Low until somebody logs in).
    // The derived states 3, 4 and 5 are never stored, so the level survives
    // the moments a search drops and reselects the same transmitter.
    int StoredLevel() const { return m_level; }
    // Stores High, Medium or Low; any other state is refused and changes nothing.
    void SetStoredLevel(int level);
    // A new transmitter is connected: nobody has logged in to it yet.
    void ForgetLogIn() { m_level = app::kAccessLow; }

    // --- Transmitter operations (legacy requests 163 and 164) ---
    void ReadState(CComm& comm);
    void ReadAll(CComm& comm);
    void WriteAll(CComm& comm);
    // The block with these passwords; they are held once every slot is written.
    void WriteAll(CComm& comm, const std::string& administrative,
                  const std::array<std::string, kMediumCount>& medium);
    // number 1..7; anything else is refused with error 61 before any request.
    void WriteOne(CComm& comm, int number, const std::string& password);
    void SetState(CComm& comm, bool enabled);

    // --- Access ---
    // 5 without a transmitter or link, 4 without a flow configuration, 3 with
    // security off, else the logged-in level.
    int CurrentAccessState(const AccessContext& context) const;
    // Sets and returns the access state for a typed password; a wrong one gives
    // level Low and says so. An unset (empty) medium password matches nothing.
    // Where the state is derived (5, 4, 3) it is returned and the level is
    // left alone.
    int LogIn(const AccessContext& context, const std::string& password);

    // The enable or disable security command: asks, checks the administrative
    // password when enabling, writes a fresh state slot and updates the menu.
    // Failures are shown; nothing escapes.
    void ToggleSecurity(CComm& comm, const AccessContext& context);

    // The front end's menu item text follows the enabled state.
    void SetMenuTextCallback(std::function<void(const std::string&)> callback);
    std::string MenuText() const;

  private:
    void NotifyMenu();

    std::mt19937 m_random;
    bool m_enabled = true;
    int m_level = app::kAccessLow;
    std::string m_administrative;
    std::array<std::string, kMediumCount> m_medium;
    std::function<void(const std::string&)> m_menuCallback;
};
