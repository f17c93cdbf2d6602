#include "units/CUnit.h"

#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "units/Units.h"

namespace {
constexpr unsigned kInvalidMeasTypeText = 2048;
constexpr unsigned kInvalidUnitCodeText = 2049;
}  // namespace

CUnit::CUnit(int unitCode, int measType) : m_unitCode(unitCode), m_measType(measType) {
    Validate();
}

CUnit::CUnit(const CUnit& other) : m_unitCode(other.m_unitCode), m_measType(other.m_measType) {
    Validate();
}

CUnit& CUnit::operator=(const CUnit& other) {
    m_unitCode = other.m_unitCode;
    m_measType = other.m_measType;
    Validate();
    return *this;
}

std::string CUnit::NameWithSuffix(int flag) const {
    std::string name = Name();
    if (flag == 0) {
        name += "a";
    } else if (flag == 1) {
        name += "g";
    }
    return name;
}

std::string CUnit::Name() const {
    Validate();
    if (!units::HasUnitName(m_unitCode, m_measType)) {
        Ui().MessageBox(texts::kUnknownUnitInName, MsgButtons::Ok, MsgIcon::None);
        AbandonSilently();
    }
    return units::UnitName(m_unitCode, m_measType);
}

void CUnit::Validate() const {
    if (!units::IsKnownType(m_measType)) {
        Ui().MessageBox(LoadString(kInvalidMeasTypeText), MsgButtons::Ok, MsgIcon::None);
        AbandonSilently();
    }
    if (!units::IsAllowed(m_unitCode, m_measType)) {
        Ui().MessageBox(LoadString(kInvalidUnitCodeText) + units::TypeName(m_measType),
                        MsgButtons::Ok, MsgIcon::None);
        AbandonSilently();
    }
}
