#include "diagnostics/CModuleInfoForm.h"

#include <array>
#include <cctype>

#include "config/ConfigKeys.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CDeviceInfo.h"
#include "transmitter/CTransmitter.h"
#include "units/CUnit.h"

using namespace transmitter;

namespace {

constexpr unsigned kIdEnabled = 3350;
constexpr unsigned kIdDisabled = 3351;

struct SensorRow {
    std::string range;
    std::string lrl;
    std::string url;
    std::string units;
    std::string minSpan;
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

CModuleInfoForm::CModuleInfoForm(CMVDoc& doc) : CConfigForm(doc, config::kTransmitterMode) {}

std::string CModuleInfoForm::Caption() const { return texts::kModuleInfoCaption; }

std::string CModuleInfoForm::ModuleKey(int variable, const char* column) {
    return Lower(config::VariableKey(variable)) + "-" + column;
}

void CModuleInfoForm::Read() {
    std::array<SensorRow, 3> rows;
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const VariableSettings settings = Model().Variable(v).ReadSettings(Access());
        SensorRow& row = rows[static_cast<size_t>(v)];
        row.lrl = FormatText("%g", settings.lowerRangeLimit);
        row.url = FormatText("%g", settings.upperRangeLimit);
        row.minSpan = FormatText("%g", settings.minimumSpan);
        const CUnit unit(settings.unitsCode, v);
        // The SP units carry "a" or "g" as the sensor measures absolute or gauge pressure.
        row.units =
            v == kVarSp ? unit.NameWithSuffix(Model().Sp().ReadSpType(Access())) : unit.Name();
    }

    const CDeviceInfo::Codes codes = Model().DeviceInfo().ReadCodes(Access());
    const SensorIdentity& sensor = codes.sensor;
    rows[kVarDp].range = FormatText("%i", int{sensor.dpRangeCode});
    rows[kVarSp].range = FormatText("%i", int{sensor.spRangeCode});
    rows[kVarPt].range = FormatText("%i", int{sensor.ptRangeCode});
    const ConstructionCodes& c = codes.construction;
    const std::pair<const char*, std::string> materials[] = {
        {texts::kIsolatorMaterialLabel, CDeviceInfo::IsolatorMaterialName(sensor.isolatorMaterial)},
        {texts::kFillFluidLabel, CDeviceInfo::FillFluidName(sensor.fillFluid)},
        {texts::kModuleFlangeTypeLabel, CDeviceInfo::FlangeTypeName(c.flangeType)},
        {texts::kModuleFlangeMaterialLabel, CDeviceInfo::FlangeMaterialName(c.flangeMaterial)},
        {texts::kModuleDrainVentLabel, CDeviceInfo::DrainVentMaterialName(c.drainVentMaterial)},
        {texts::kModuleORingLabel, CDeviceInfo::ORingMaterialName(c.oRingMaterial)},
        {texts::kModuleSealTypeLabel, CDeviceInfo::RemoteSealTypeName(c.remoteSealType)},
        {texts::kModuleSealFillLabel, CDeviceInfo::RemoteSealFillName(c.remoteSealFill)},
        {texts::kModuleSealIsolatorLabel,
         CDeviceInfo::RemoteSealMaterialName(c.remoteSealMaterial)},
        {texts::kModuleNumberOfSealsLabel, CDeviceInfo::RemoteSealCountName(c.remoteSealCount)},
    };
    // Read inverted: on while the fixed process temperature stands in for the RTD.
    const bool fixedTemperature = Model().Comm().ReadCoil(3);

    auto add = [this](const std::string& key, const char* label, const std::string& text) {
        FormField field;
        field.key = key;
        field.label = label;
        field.kind = FieldKind::Value;
        field.text = text;
        AddField(std::move(field));
    };
    for (int v = kVarDp; v <= kVarPt; ++v) {
        const SensorRow& row = rows[static_cast<size_t>(v)];
        add(ModuleKey(v, "range"), texts::kRangeColumn, row.range);
        add(ModuleKey(v, "lrl"), texts::kLrlColumn, row.lrl);
        add(ModuleKey(v, "url"), texts::kUrlColumn, row.url);
        add(ModuleKey(v, "units"), texts::kUnitsColumn, row.units);
        add(ModuleKey(v, "min-span"), texts::kMinSpanColumn, row.minSpan);
    }
    const char* materialKeys[] = {
        "isolator-material", "fill-fluid", "flange-type", "flange-material", "drain-vent-material",
        "o-ring-material",   "seal-type",  "seal-fill",   "seal-material",   "seal-count"};
    for (size_t i = 0; i < std::size(materials); ++i)
        add(materialKeys[i], materials[i].first, materials[i].second);
    add("fixed-pt", texts::kModuleFixedTempLabel,
        LoadString(fixedTemperature ? kIdEnabled : kIdDisabled));
}

FormOutcome CModuleInfoForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
