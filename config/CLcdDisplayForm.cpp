#include "config/CLcdDisplayForm.h"

#include <algorithm>
#include <cctype>

#include "config/UnsignedEntry.h"
#include "resources/Texts.h"
#include "transmitter/CLCDDisplay.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr const char* kItems = "items";
constexpr const char* kInterval = "interval";

struct ItemKeyEntry {
    uint16_t code;
    const char* key;
};
constexpr ItemKeyEntry kItemKeys[] = {{1, "DP"}, {2, "SP"}, {4, "PT"}, {8, "COMM"}};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Filled(std::string text, const std::string& value) {
    text.replace(text.find("%1"), 2, value);
    return text;
}

std::string ItemsText(const std::vector<uint16_t>& items) {
    std::string text;
    for (uint16_t item : items) {
        if (!text.empty()) text += ',';
        text += CLcdDisplayForm::ItemKey(item);
    }
    return text;
}

}  // namespace

std::string CLcdDisplayForm::Caption() const {
    const std::string caption = texts::kLcdCaption;
    return InSetupMode() ? texts::kSetupCaptionPrefix + caption : caption;
}

std::string CLcdDisplayForm::ItemKey(uint16_t code) {
    for (const ItemKeyEntry& entry : kItemKeys) {
        if (entry.code == code) return entry.key;
    }
    return std::to_string(code);
}

void CLcdDisplayForm::Read() {
    const CLCDDisplay::Settings settings = Model().LcdDisplay().Read(Access());
    m_displayed = settings.items;
    m_notDisplayed.clear();
    for (uint16_t item : CLCDDisplay::AllItems()) {
        if (std::find(m_displayed.begin(), m_displayed.end(), item) == m_displayed.end())
            m_notDisplayed.push_back(item);
    }
    m_changed = false;
    m_itemsRefused.clear();

    FormField items;
    items.key = kItems;
    items.label = texts::kDisplayedList;
    AddField(std::move(items));
    ShowItems();
    m_firstItemsText = Field(kItems)->text;

    FormField interval;
    interval.key = kInterval;
    interval.label = texts::kUpdateIntervalLabel;
    interval.kind = FieldKind::Number;
    interval.text = std::to_string(settings.interval);
    interval.suffix = texts::kUpdateIntervalUnit;
    m_firstIntervalText = interval.text;
    AddField(std::move(interval));
}

void CLcdDisplayForm::ShowItems() { MutableField(kItems).text = ItemsText(m_displayed); }

std::vector<uint16_t> CLcdDisplayForm::Move(std::vector<uint16_t>& from, std::vector<uint16_t>& to,
                                            const std::vector<int>& positions) {
    std::vector<uint16_t> moved;
    std::vector<uint16_t> kept;
    for (size_t i = 0; i < from.size(); ++i) {
        const bool selected =
            std::find(positions.begin(), positions.end(), static_cast<int>(i)) != positions.end();
        (selected ? moved : kept).push_back(from[i]);
    }
    from = std::move(kept);
    to.insert(to.end(), moved.begin(), moved.end());
    return moved;
}

std::vector<uint16_t> CLcdDisplayForm::MoveToNotDisplayed(const std::vector<int>& positions) {
    std::vector<uint16_t> moved = Move(m_displayed, m_notDisplayed, positions);
    if (!moved.empty()) {
        m_changed = true;
        m_itemsRefused.clear();
        ShowItems();
    }
    return moved;
}

std::vector<uint16_t> CLcdDisplayForm::MoveToDisplayed(const std::vector<int>& positions) {
    std::vector<uint16_t> moved = Move(m_notDisplayed, m_displayed, positions);
    if (!moved.empty()) {
        m_changed = true;
        m_itemsRefused.clear();
        ShowItems();
    }
    return moved;
}

std::string CLcdDisplayForm::TakeItems(const std::string& text) {
    std::vector<uint16_t> items;
    if (!Trimmed(text).empty()) {
        size_t start = 0;
        while (true) {
            const size_t comma = text.find(',', start);
            const std::string name = Trimmed(
                text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            const auto entry =
                std::find_if(std::begin(kItemKeys), std::end(kItemKeys),
                             [&](const ItemKeyEntry& e) { return Upper(name) == e.key; });
            if (entry == std::end(kItemKeys)) return Filled(texts::kLcdUnknownItem, name);
            if (std::find(items.begin(), items.end(), entry->code) != items.end())
                return Filled(texts::kLcdItemTwice, entry->key);
            items.push_back(entry->code);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    m_displayed = items;
    m_notDisplayed.clear();
    for (uint16_t item : CLCDDisplay::AllItems()) {
        if (std::find(items.begin(), items.end(), item) == items.end())
            m_notDisplayed.push_back(item);
    }
    return std::string();
}

void CLcdDisplayForm::SetText(const std::string& key, const std::string& text) {
    if (key == kItems) {
        m_changed = true;
        m_itemsRefused = TakeItems(text);
        if (m_itemsRefused.empty()) {
            ShowItems();
        } else {
            MutableField(kItems).text = text;
        }
        return;
    }
    CConfigForm::SetText(key, text);
    if (key == kInterval) m_changed = true;
}

FormOutcome CLcdDisplayForm::Ok() {
    if (!m_itemsRefused.empty()) return FormOutcome::Refuse(m_itemsRefused, kItems);
    unsigned long interval = 0;
    const std::string refused =
        config::ReadUnsigned(Field(kInterval)->text, kMinimumInterval, kMaximumInterval, interval);
    if (!refused.empty()) return FormOutcome::Refuse(refused, kInterval);
    if (!m_changed) return FormOutcome::Close(FormResult::Ok);
    if (!ConfirmWrite()) return FormOutcome::Stay();

    const auto seconds = static_cast<uint16_t>(interval);
    const std::string unit = std::string(" ") + texts::kUpdateIntervalUnit;
    try {
        CFormWaitCursor wait(*this);
        MarkModified();
        Write("items, interval", m_firstItemsText + ", " + m_firstIntervalText + unit,
              Field(kItems)->text + ", " + std::to_string(seconds) + unit,
              [&] { Model().LcdDisplay().Write(m_displayed, seconds, Access()); });
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    NotifyWritten();
    return FormOutcome::Close(FormResult::Ok);
}
