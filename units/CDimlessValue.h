#pragma once

// A double without a unit.
class CDimlessValue {
  public:
    CDimlessValue() = default;
    explicit CDimlessValue(double value) : m_value(value) {}
    CDimlessValue(const CDimlessValue& other) = default;
    CDimlessValue& operator=(const CDimlessValue& other) = default;
    virtual ~CDimlessValue() = default;

    double Get() const { return m_value; }
    void Set(double value) { m_value = value; }

  private:
    double m_value = 0.0;
};
