#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/CConfigForm.h"

// The LCD display window: the items the transmitter's display cycles through,
// in display order, and the seconds each is shown. The window moves items
// between "&Displayed" and "&Not Displayed"; the terminal names them in the
// field "items", a comma list of DP, SP, PT and COMM in display order (empty:
// nothing is displayed). "interval" takes 1 to 10 seconds. Every move and
// every edit counts as a change, so OK writes even when an item was moved out
// and back again.
class CLcdDisplayForm : public CConfigForm {
  public:
    static constexpr unsigned long kMinimumInterval = 1;
    static constexpr unsigned long kMaximumInterval = 10;

    using CConfigForm::CConfigForm;

    std::string Caption() const override;

    // Item codes of the two lists, in list order.
    const std::vector<uint16_t>& Displayed() const { return m_displayed; }
    const std::vector<uint16_t>& NotDisplayed() const { return m_notDisplayed; }
    // The terminal's name of an item ("DP", "SP", "PT", "COMM").
    static std::string ItemKey(uint16_t code);

    // ">>": the entries at these positions of "&Displayed" move, in their list
    // order, to the end of "&Not Displayed". "<<" the other way. Positions
    // outside the list are ignored. Returns the codes moved; with none nothing
    // happens.
    std::vector<uint16_t> MoveToNotDisplayed(const std::vector<int>& positions);
    std::vector<uint16_t> MoveToDisplayed(const std::vector<int>& positions);
    bool Changed() const { return m_changed; }

    void SetText(const std::string& key, const std::string& text) override;
    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    static std::vector<uint16_t> Move(std::vector<uint16_t>& from, std::vector<uint16_t>& to,
                                      const std::vector<int>& positions);
    void ShowItems();
    // Takes the terminal's item list; the reason it was refused, else empty.
    std::string TakeItems(const std::string& text);

    std::vector<uint16_t> m_displayed;
    std::vector<uint16_t> m_notDisplayed;
    std::string m_firstItemsText;
    std::string m_firstIntervalText;
    std::string m_itemsRefused;
    bool m_changed = false;
};
