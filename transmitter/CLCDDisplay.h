#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CComm;

// The transmitter's LCD: the items it cycles through and how long each shows.
// The mask is always the OR of the item list; a list rebuilt from a mask (read
// from the transmitter or loaded from a file) is in the order 1, 2, 4, 8.
class CLCDDisplay {
  public:
    static constexpr uint16_t kDefaultInterval = 3;
    static constexpr uint16_t kDefaultMask = 15;

    struct Settings {
        std::vector<uint16_t> items;
        uint16_t interval = 0;
    };

    explicit CLCDDisplay(CComm& comm);
    CLCDDisplay(const CLCDDisplay&) = delete;
    CLCDDisplay& operator=(const CLCDDisplay&) = delete;

    void Reset();

    // --- The document copy ---------------------------------------------------
    uint16_t Interval() const { return m_interval; }
    void SetInterval(uint16_t seconds) { m_interval = seconds; }
    uint16_t Mask() const { return m_mask; }
    // Rebuilds the list from the mask in canonical order; bits that name no
    // item are dropped.
    void SetMask(uint16_t mask);
    const std::vector<uint16_t>& Items() const { return m_items; }

    // --- Access-flag operations ------------------------------------------------
    Settings Read(int access);
    // Document: stores the list (its order kept) and recomputes the mask.
    // Transmitter: writes the interval, a zero word and the mask. A code that
    // names no item shows string 2102 and abandons the operation.
    void Write(const std::vector<uint16_t>& items, uint16_t interval, int access);

    // The four item codes in canonical order.
    static const std::vector<uint16_t>& AllItems();
    static std::vector<uint16_t> ItemsFromMask(uint16_t mask);
    // The item's name (480, 481, 482, 486); any other code shows string 2102 and
    // abandons the operation.
    static std::string ItemName(uint16_t code);

  private:
    CComm& m_comm;
    uint16_t m_interval = kDefaultInterval;
    uint16_t m_mask = kDefaultMask;
    std::vector<uint16_t> m_items;
};
