#include "diagnostics/CIdentificationForm.h"

#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr unsigned kIdBrackwell = 3200;
constexpr unsigned kIdUnknown = 3202;
constexpr unsigned kIdCorvelWithModbus = 3203;

std::string CodeName(int code, int known, unsigned knownText) {
    if (code == known) return LoadString(knownText);
    return FormatText(texts::kUnknownCodeFormat, code) + LoadString(kIdUnknown);
}

}  // namespace

CIdentificationForm::CIdentificationForm(CMVDoc& doc)
    : CConfigForm(doc, config::kTransmitterMode) {}

std::string CIdentificationForm::Caption() const { return texts::kIdentificationCaption; }

std::string CIdentificationForm::ManufacturerName(int code) {
    return CodeName(code, kBrackwell, kIdBrackwell);
}

std::string CIdentificationForm::ModelName(int code) {
    return CodeName(code, kCorvelWithModbus, kIdCorvelWithModbus);
}

std::string CIdentificationForm::ByteRevision(uint16_t revision) {
    return FormatText(texts::kOutputBoardRevisionFormat, unsigned{revision} >> 8,
                      unsigned{revision} & 0xFFu);
}

void CIdentificationForm::Read() {
    CComm& comm = Model().Comm();
    const IdentityRecord record = comm.ReadIdentityRecord();
    const uint8_t sensorRevision = comm.ReadSensorRevision();
    const uint32_t sensorSerial = comm.ReadSensorSerialNumber();

    auto add = [this](const char* key, const char* label, const std::string& text) {
        FormField field;
        field.key = key;
        field.label = label;
        field.kind = FieldKind::Value;
        field.text = text;
        AddField(std::move(field));
    };
    add("manufacturer", texts::kManufacturerLabel, ManufacturerName(record.manufacturerId));
    add("model", texts::kModelLabel, ModelName(record.deviceType));
    // Both serial numbers are unsigned 32-bit values: shown unsigned, so that one
    // at or above 2^31 never turns negative where long has 32 bits.
    add("transmitter-serial-number", texts::kTransmitterSerialLabel,
        FormatText("%lu", static_cast<unsigned long>(record.serialNumber)));
    add("sensor-serial-number", texts::kSensorSerialLabel,
        FormatText("%lu", static_cast<unsigned long>(sensorSerial)));
    add("universal-revision", texts::kUniversalRevisionLabel,
        FormatText("%i", int{record.universalRevision}));
    add("specific-revision", texts::kSpecificRevisionLabel,
        FormatText("%i", int{record.specificRevision}));
    add("hardware-revision", texts::kHardwareRevisionLabel,
        FormatText("%i", int{record.hardwareRevision}));
    add("output-board-revision", texts::kOutputBoardRevisionLabel,
        ByteRevision(record.softwareRevision));
    add("sensor-module-revision", texts::kSensorModuleRevisionLabel,
        FormatText("%i", int{sensorRevision}));
}

FormOutcome CIdentificationForm::Ok() { return FormOutcome::Close(FormResult::Ok); }
