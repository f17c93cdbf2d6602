#include "units/Units.h"

#include <algorithm>
#include <iterator>

#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Texts.h"
#include "units/CDVDensity.h"
#include "units/CDVViscosity.h"
#include "units/CPressure.h"
#include "units/CTemperature.h"

namespace units {
namespace {

struct MeasType {
    int code;
    const char* name;
    std::vector<int> allowed;
};

const std::vector<MeasType>& MeasTypes() {
    static const std::vector<MeasType> kTypes = {
        {kMtcDp, " DP", {240, 1, 11, 12}},
        {kMtcSp, " SP", {6, 12, 237}},
        {kMtcPt, " PT", {33, 32, 34, 35}},
        {kMtcFlow, " FLOW", {241, 123, 242, 243, 121, 244, 80, 81, 82, 83, 70, 71, 72, 73, 74, 75}},
        {kMtcDensity, " DENSITY", {92, 94}},
        {kMtcViscosity, " VISCOSITY", {55, 245, 246}},
        {kMtcLength, " LENGTH", {47, 49}},
        {kMtcNone, " MTC_NONE", {0}},
    };
    return kTypes;
}

const MeasType* FindType(int measType) {
    const auto& types = MeasTypes();
    const auto it = std::find_if(types.begin(), types.end(),
                                 [measType](const MeasType& t) { return t.code == measType; });
    return it != types.end() ? &*it : nullptr;
}

struct UnitName {
    int code;
    const char* name;
};

// Codes below 240: the name depends on the code alone.
constexpr UnitName kNames[] = {
    {0, ""},           {1, "InH2O-68°F"},  {2, "InHg-0°C"},   {3, "ftH2O-68°F"},
    {4, "mmH2O-68°F"}, {5, "mmHg-0°C"},    {6, "psi"},        {7, "bar"},
    {8, "mbar"},       {9, "g/SqCm"},      {10, "Kg/SqCm"},   {11, "Pa"},
    {12, "kPa"},       {13, "torr"},       {14, "Atm"},       {32, "°C"},
    {33, "°F"},        {34, "°R"},         {35, "°K"},        {47, "inches"},
    {49, "mm"},        {55, "Centipoise"}, {70, "g/sec"},     {71, "g/min"},
    {72, "g/hour"},    {73, "Kg/sec"},     {74, "Kg/min"},    {75, "Kg/hour"},
    {80, "lbs/sec"},   {81, "lbs/min"},    {82, "lbs/hour"},  {83, "lbs/day"},
    {92, "Kg/CuM"},    {94, "Lbs/CuFt"},   {121, "StdCum/h"}, {123, "StdCuft/min"},
    {237, "MPa"},
};

struct TypedUnitName {
    int code;
    int measType;
    const char* name;
};

// Codes 240 and above: the name depends on the code and the measurement type.
constexpr TypedUnitName kTypedNames[] = {
    {240, kMtcDp, "InH2O-60°F"},        {240, kMtcSp, "InH2O-60°F"},
    {241, kMtcFlow, "StdCuft/s"},       {242, kMtcFlow, "StdCuft/h"},
    {243, kMtcFlow, "StdCuft/d"},       {244, kMtcFlow, "StdCum/d"},
    {245, kMtcViscosity, "Lbs/Ft sec"}, {246, kMtcViscosity, "Pascal sec"},
};

const char* FindName(int unitCode, int measType) {
    if (unitCode >= 240) {
        for (const auto& entry : kTypedNames) {
            if (entry.code == unitCode && entry.measType == measType) return entry.name;
        }
        return nullptr;
    }
    for (const auto& entry : kNames) {
        if (entry.code == unitCode) return entry.name;
    }
    return nullptr;
}

template <class Dimension>
void ConvertEach(int n, double* values, const CUnit& from, const CUnit& to) {
    for (int i = 0; i < n; ++i) {
        Dimension value(values[i], from);
        value.ConvertTo(to);
        values[i] = value.Value();
    }
}

}  // namespace

bool IsKnownType(int measType) { return FindType(measType) != nullptr; }

std::vector<int> AllowedUnits(int measType) {
    const MeasType* type = FindType(measType);
    return type ? type->allowed : std::vector<int>();
}

bool IsAllowed(int unitCode, int measType) {
    const MeasType* type = FindType(measType);
    return type &&
           std::find(type->allowed.begin(), type->allowed.end(), unitCode) != type->allowed.end();
}

std::string TypeName(int measType) {
    const MeasType* type = FindType(measType);
    return type ? type->name : std::string();
}

bool HasUnitName(int unitCode, int measType) { return FindName(unitCode, measType) != nullptr; }

std::string UnitName(int unitCode, int measType) {
    const char* name = FindName(unitCode, measType);
    return name ? name : std::string();
}

void ConvertArray(int n, double* values, const CUnit& from, const CUnit& to) {
    if (n < 1) return;
    switch (to.MeasType()) {
        case kMtcSp:
            ConvertEach<CPressure>(n, values, from, to);
            break;
        case kMtcPt:
            ConvertEach<CTemperature>(n, values, from, to);
            break;
        case kMtcDensity:
            ConvertEach<CDVDensity>(n, values, from, to);
            break;
        case kMtcViscosity:
            ConvertEach<CDVViscosity>(n, values, from, to);
            break;
        default:
            Ui().MessageBox(texts::kUnknownMeasTypeInConvertArray, MsgButtons::Ok, MsgIcon::None);
            AbandonSilently();
    }
}

}  // namespace units
