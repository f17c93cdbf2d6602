#include "transmitter/CLCDDisplay.h"

#include <algorithm>

#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"
#include "transmitter/ModelTypes.h"

namespace {

constexpr unsigned kOperationFailedText = 2102;

bool IsItem(uint16_t code) {
    const auto& all = CLCDDisplay::AllItems();
    return std::find(all.begin(), all.end(), code) != all.end();
}

[[noreturn]] void RefuseItem() {
    Ui().MessageBox(LoadString(kOperationFailedText), MsgButtons::Ok, MsgIcon::Stop);
    AbandonSilently();
}

}  // namespace

CLCDDisplay::CLCDDisplay(CComm& comm) : m_comm(comm) { Reset(); }

void CLCDDisplay::Reset() {
    m_interval = kDefaultInterval;
    SetMask(kDefaultMask);
}

void CLCDDisplay::SetMask(uint16_t mask) {
    m_items = ItemsFromMask(mask);
    m_mask = 0;
    for (uint16_t item : m_items) m_mask = static_cast<uint16_t>(m_mask | item);
}

const std::vector<uint16_t>& CLCDDisplay::AllItems() {
    static const std::vector<uint16_t> kItems = {1, 2, 4, 8};
    return kItems;
}

std::vector<uint16_t> CLCDDisplay::ItemsFromMask(uint16_t mask) {
    std::vector<uint16_t> items;
    for (uint16_t item : AllItems())
        if (mask & item) items.push_back(item);
    return items;
}

std::string CLCDDisplay::ItemName(uint16_t code) {
    switch (code) {
        case 1:
            return LoadString(480);
        case 2:
            return LoadString(481);
        case 4:
            return LoadString(482);
        case 8:
            return LoadString(486);
        default:
            RefuseItem();
    }
}

CLCDDisplay::Settings CLCDDisplay::Read(int access) {
    if (transmitter::IsDocument(access)) return {m_items, m_interval};
    const LcdRegisters regs = m_comm.ReadLcdRegisters();
    return {ItemsFromMask(regs.mask), regs.interval};
}

void CLCDDisplay::Write(const std::vector<uint16_t>& items, uint16_t interval, int access) {
    std::vector<uint16_t> list;
    uint16_t mask = 0;
    for (uint16_t item : items) {
        if (!IsItem(item)) RefuseItem();
        if (mask & item) continue;  // each item is displayed once
        list.push_back(item);
        mask = static_cast<uint16_t>(mask | item);
    }
    if (transmitter::IsDocument(access)) {
        m_interval = interval;
        m_items = std::move(list);
        m_mask = mask;
    } else {
        m_comm.WriteLcdRegisters(interval, mask);
    }
}
