#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// An array of owned objects. Removing elements destroys them.
template <typename T>
class CGoArray {
  public:
    CGoArray() = default;
    CGoArray(const CGoArray& other) { CopyFrom(other); }
    CGoArray& operator=(const CGoArray& other) {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    CGoArray(CGoArray&&) noexcept = default;
    CGoArray& operator=(CGoArray&&) noexcept = default;
    ~CGoArray() = default;

    size_t GetSize() const { return m_items.size(); }
    bool IsEmpty() const { return m_items.empty(); }
    T& operator[](size_t i) { return *m_items.at(i); }
    const T& operator[](size_t i) const { return *m_items.at(i); }

    void Add(std::unique_ptr<T> item) { m_items.push_back(std::move(item)); }
    void Add(const T& item) { m_items.push_back(std::make_unique<T>(item)); }
    void RemoveAt(size_t i) { m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i)); }
    void RemoveAll() { m_items.clear(); }

  private:
    void CopyFrom(const CGoArray& other) {
        m_items.reserve(other.m_items.size());
        for (const auto& item : other.m_items) m_items.push_back(std::make_unique<T>(*item));
    }

    std::vector<std::unique_ptr<T>> m_items;
};
