#pragma once

#include <string>

// A unit: the pair (unit code, measurement type code).
// A default unit is (0, 36), "no unit", and is not validated. Construction from
// codes, copy construction and assignment store both codes and then validate:
// a failure shows string 2048 or 2049 in a plain message box and abandons the
// operation silently (CUserException).
class CUnit {
  public:
    CUnit() = default;
    CUnit(int unitCode, int measType);
    CUnit(const CUnit& other);
    CUnit& operator=(const CUnit& other);
    virtual ~CUnit() = default;

    int UnitCode() const { return m_unitCode; }
    int MeasType() const { return m_measType; }

    // Two units are equal when both codes are equal.
    bool operator==(const CUnit& other) const {
        return m_unitCode == other.m_unitCode && m_measType == other.m_measType;
    }
    bool operator!=(const CUnit& other) const { return !(*this == other); }

    // Name() followed by "a" for flag 0 (absolute), "g" for flag 1 (gauge),
    // nothing for any other flag.
    virtual std::string NameWithSuffix(int flag) const;
    // Validates, then gives the unit's name (empty for code 0). A unit without a
    // name shows "ERROR: Unknown Unit in CUnit::Name" and abandons silently.
    virtual std::string Name() const;
    // Shows 2048 (unknown measurement type) or 2049 + type name (code not
    // allowed for the type) and abandons silently.
    virtual void Validate() const;

  private:
    int m_unitCode = 0;
    int m_measType = 36;
};
