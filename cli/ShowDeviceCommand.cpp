#include "cli/ShowDeviceCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"
#include "transmitter/VariableNames.h"
#include "units/Units.h"

using namespace transmitter;

namespace {

// Live values are shown as the Read Outputs window shows them.
constexpr const char* kLiveValueFormat = "%#g";
// The damping window's unit.
constexpr const char* kSeconds = "seconds";

// A small ordered tree of values, printed either as JSON or as indented text.
class CNode {
  public:
    enum class Kind { Object, Array, Text, Number, Integer, Boolean, Null, Coded };

    static CNode Object() { return CNode(Kind::Object); }
    static CNode Array() { return CNode(Kind::Array); }
    static CNode Text(std::string text) {
        CNode n(Kind::Text);
        n.m_text = std::move(text);
        return n;
    }
    // JSON keeps every digit of a single-precision value; text shows it as
    // the windows do ("%g", live values "%#g"), followed by its unit.
    static CNode Number(double value, const std::string& unit = {}, const char* shown = "%g") {
        if (!std::isfinite(value)) return CNode(Kind::Null);
        CNode n(Kind::Number);
        n.m_text = Format("%.9g", value);
        n.m_display = Format(shown, value);
        if (!unit.empty()) n.m_display += " " + unit;
        return n;
    }
    // A code with its name (null when the code has none): an object in JSON,
    // "name (code)" in text.
    static CNode Coded(long long code, std::optional<std::string> name) {
        CNode n(Kind::Coded);
        n.Add("code", Integer(code));
        n.Add("name", name ? Text(*name) : Null());
        n.m_display = (name ? *name : std::string("unknown")) + " (" + std::to_string(code) + ")";
        return n;
    }
    static CNode Integer(long long value) {
        CNode n(Kind::Integer);
        n.m_text = std::to_string(value);
        return n;
    }
    // An integer in JSON that text shows by what it stands for.
    static CNode Integer(long long value, std::string shown) {
        CNode n = Integer(value);
        n.m_display = std::move(shown);
        return n;
    }
    static CNode Boolean(bool value) {
        CNode n(Kind::Boolean);
        n.m_text = value ? "true" : "false";
        return n;
    }
    static CNode Null() { return CNode(Kind::Null); }

    CNode& Add(const std::string& key, CNode value) {
        m_children.emplace_back(key, std::move(value));
        return *this;
    }
    CNode& Append(CNode value) { return Add(std::string(), std::move(value)); }

    void WriteJson(std::ostream& out, int indent) const {
        switch (m_kind) {
            case Kind::Object:
            case Kind::Coded:
            case Kind::Array: {
                const bool object = m_kind != Kind::Array;
                out << (object ? '{' : '[');
                if (m_children.empty()) {
                    out << (object ? '}' : ']');
                    return;
                }
                const std::string pad(static_cast<size_t>(indent + 2), ' ');
                for (size_t i = 0; i < m_children.size(); ++i) {
                    out << (i ? ",\n" : "\n") << pad;
                    if (object) out << Quoted(m_children[i].first) << ": ";
                    m_children[i].second.WriteJson(out, indent + 2);
                }
                out << '\n'
                    << std::string(static_cast<size_t>(indent), ' ') << (object ? '}' : ']');
                return;
            }
            case Kind::Text:
                out << Quoted(m_text);
                return;
            case Kind::Null:
                out << "null";
                return;
            default:
                out << m_text;
                return;
        }
    }

    void WriteText(std::ostream& out, int indent) const {
        const std::string pad(static_cast<size_t>(indent), ' ');
        for (const auto& [key, child] : m_children) {
            const std::string label = key.empty() ? "-" : Label(key) + ":";
            if (child.IsContainer()) {
                out << pad << label << '\n';
                child.WriteText(out, indent + 2);
            } else {
                out << pad << label << ' ' << child.Scalar() << '\n';
            }
        }
    }

  private:
    explicit CNode(Kind kind) : m_kind(kind) {}

    bool IsContainer() const { return m_kind == Kind::Object || m_kind == Kind::Array; }
    std::string Scalar() const {
        if (m_kind == Kind::Null) return "not supported";
        return m_display.empty() ? m_text : m_display;
    }
    static std::string Format(const char* format, double value) {
        return FormatText(format, value);
    }

    // "upperRangeLimit" -> "Upper range limit"; "dp" -> "DP".
    static std::string Label(const std::string& key) {
        if (key.size() == 2) {
            std::string upper = key;
            for (char& c : upper)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            return upper;
        }
        std::string label;
        for (char c : key) {
            if (c >= 'A' && c <= 'Z' && !label.empty()) {
                label += ' ';
                label += static_cast<char>(c - 'A' + 'a');
            } else {
                label += c;
            }
        }
        if (!label.empty() && label[0] >= 'a' && label[0] <= 'z')
            label[0] = static_cast<char>(label[0] - 'a' + 'A');
        return label;
    }

    static std::string Quoted(const std::string& text) {
        std::string q = "\"";
        for (unsigned char c : text) {
            switch (c) {
                case '"':
                    q += "\\\"";
                    break;
                case '\\':
                    q += "\\\\";
                    break;
                case '\n':
                    q += "\\n";
                    break;
                case '\r':
                    q += "\\r";
                    break;
                case '\t':
                    q += "\\t";
                    break;
                default:
                    if (c < 0x20) {
                        char buffer[8];
                        std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                        q += buffer;
                    } else {
                        q += static_cast<char>(c);
                    }
            }
        }
        return q + "\"";
    }

    Kind m_kind;
    std::string m_text;
    std::string m_display;
    std::vector<std::pair<std::string, CNode>> m_children;
};

// Runs `read`; a device without the registers it needs (errors 67, 68) gives
// null instead of failing the command.
CNode Optional(const std::function<CNode()>& read) {
    try {
        return read();
    } catch (const CCommException& e) {
        if (e.Error() == commerr::kFloatFormatUnsupported ||
            e.Error() == commerr::kIntegerScalingUnsupported)
            return CNode::Null();
        throw;
    }
}

// A code with its name from a code table; unknown codes are named as such
// without a message box.
CNode Coded(int code, const std::vector<int>& table, std::string (*name)(int)) {
    const bool known = std::find(table.begin(), table.end(), code) != table.end();
    return CNode::Coded(code, known ? std::optional<std::string>(name(code)) : std::nullopt);
}

CNode Units(int code, int measType, const std::string& suffix = {}) {
    if (!units::HasUnitName(code, measType)) return CNode::Coded(code, std::nullopt);
    return CNode::Coded(code, units::UnitName(code, measType) + suffix);
}

// The unit name shown beside a value, with the absolute or gauge suffix of SP;
// empty for a code without a name.
std::string UnitText(int unitsCode, int variableCode, uint8_t spType) {
    if (!units::HasUnitName(unitsCode, variableCode)) return {};
    std::string name = units::UnitName(unitsCode, variableCode);
    if (variableCode == kVarSp && spType == CSPVariable::kSpTypeAbsolute) {
        name += texts::kAbsoluteSuffix;
    }
    if (variableCode == kVarSp && spType == CSPVariable::kSpTypeGauge) name += texts::kGaugeSuffix;
    return name;
}

// A variable code of the assignment by its name; codes that are not variables
// are shown without asking anybody about them.
std::string AssignedName(int code) {
    if (IsValidVariableCode(code)) return GetVariableName(code);
    if (code == kVarNone) return "none";
    return "unknown (" + std::to_string(code) + ")";
}

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

CNode Identity(CTransmitter& model) {
    CComm& comm = model.Comm();
    const IdentityRecord record = comm.ReadIdentityRecord();
    CNode n = CNode::Object();
    n.Add("pollingAddress", CNode::Integer(comm.CurrentPollingAddress()));
    n.Add("manufacturerId", CNode::Integer(record.manufacturerId));
    n.Add("deviceType", CNode::Integer(record.deviceType));
    n.Add("transmitterSerialNumber", CNode::Integer(record.serialNumber));
    n.Add("sensorSerialNumber", CNode::Integer(comm.ReadSensorSerialNumber()));
    n.Add("universalRevision", CNode::Integer(record.universalRevision));
    n.Add("specificRevision", CNode::Integer(record.specificRevision));
    n.Add("hardwareRevision", CNode::Integer(record.hardwareRevision));
    n.Add("outputBoardSoftwareRevision",
          CNode::Text(std::to_string(record.softwareRevision >> 8) + "." +
                      std::to_string(record.softwareRevision & 0xFF)));
    n.Add("sensorSoftwareRevision", CNode::Integer(comm.ReadSensorRevision()));
    n.Add("responsePreambles", CNode::Integer(record.responsePreambles));
    return n;
}

CNode DeviceInformation(CTransmitter& model, uint8_t spType) {
    CDeviceInfo& info = model.DeviceInfo();
    const CDeviceInfo::TagDescriptorDate texts = info.ReadTagDescriptorDate(kAccessTransmitter);
    const std::string message = info.ReadMessage(kAccessTransmitter);
    const CDeviceInfo::Codes codes = info.ReadCodes(kAccessTransmitter);
    const ConstructionCodes& c = codes.construction;

    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", texts.date.year, texts.date.month,
                  texts.date.day);
    CNode n = CNode::Object();
    n.Add("tag", CNode::Text(texts.tag));
    n.Add("descriptor", CNode::Text(texts.descriptor));
    n.Add("date", CNode::Text(date));
    n.Add("message", CNode::Text(message));
    n.Add("flangeType",
          Coded(c.flangeType, CDeviceInfo::FlangeTypeCodes(), CDeviceInfo::FlangeTypeName));
    n.Add("flangeMaterial", Coded(c.flangeMaterial, CDeviceInfo::FlangeMaterialCodes(),
                                  CDeviceInfo::FlangeMaterialName));
    n.Add("oRingMaterial", Coded(c.oRingMaterial, CDeviceInfo::ORingMaterialCodes(),
                                 CDeviceInfo::ORingMaterialName));
    n.Add("drainVentMaterial", Coded(c.drainVentMaterial, CDeviceInfo::DrainVentMaterialCodes(),
                                     CDeviceInfo::DrainVentMaterialName));
    n.Add("remoteSealType", Coded(c.remoteSealType, CDeviceInfo::RemoteSealTypeCodes(),
                                  CDeviceInfo::RemoteSealTypeName));
    n.Add("remoteSealFill", Coded(c.remoteSealFill, CDeviceInfo::RemoteSealFillCodes(),
                                  CDeviceInfo::RemoteSealFillName));
    n.Add("remoteSealMaterial", Coded(c.remoteSealMaterial, CDeviceInfo::RemoteSealMaterialCodes(),
                                      CDeviceInfo::RemoteSealMaterialName));
    n.Add("remoteSealCount", Coded(c.remoteSealCount, CDeviceInfo::RemoteSealCountCodes(),
                                   CDeviceInfo::RemoteSealCountName));
    n.Add("isolatorMaterial",
          Coded(codes.sensor.isolatorMaterial, CDeviceInfo::IsolatorMaterialCodes(),
                CDeviceInfo::IsolatorMaterialName));
    n.Add("fillFluid",
          Coded(codes.sensor.fillFluid, CDeviceInfo::FillFluidCodes(), CDeviceInfo::FillFluidName));
    CNode ranges = CNode::Object();
    ranges.Add("dp", CNode::Integer(codes.sensor.dpRangeCode));
    ranges.Add("sp", CNode::Integer(codes.sensor.spRangeCode));
    ranges.Add("pt", CNode::Integer(codes.sensor.ptRangeCode));
    n.Add("sensorRangeCodes", std::move(ranges));
    n.Add("spSensorType",
          Coded(spType, CDeviceInfo::SpSensorTypeCodes(), CDeviceInfo::SpSensorTypeName));
    return n;
}

CNode ScalingRecord(const IntegerScalingRecord& r, const std::string& unit) {
    CNode n = CNode::Object();
    n.Add("counts", CNode::Integer(r.counts));
    n.Add("scaleFactor", CNode::Integer(r.scaleFactor));
    n.Add("offset", CNode::Integer(r.offset));
    n.Add("minInteger", CNode::Integer(r.minInteger));
    n.Add("maxInteger", CNode::Integer(r.maxInteger));
    n.Add("minPv", CNode::Number(r.minPv, unit));
    n.Add("maxPv", CNode::Number(r.maxPv, unit));
    return n;
}

CNode Variable(CMeasuredVariable& variable, uint8_t spType, std::optional<uint16_t> method) {
    const int code = variable.VariableCode();
    const VariableSettings s = variable.ReadSettings(kAccessTransmitter);
    const PresentValue pv = variable.ReadPresentValue();
    const std::string unit = UnitText(s.unitsCode, code, spType);
    std::string suffix;
    if (code == kVarSp && spType == CSPVariable::kSpTypeAbsolute) suffix = texts::kAbsoluteSuffix;
    if (code == kVarSp && spType == CSPVariable::kSpTypeGauge) suffix = texts::kGaugeSuffix;

    CNode n = CNode::Object();
    n.Add("name", CNode::Text(GetVariableName(code)));
    n.Add("units", Units(s.unitsCode, code, suffix));
    n.Add("presentValue",
          CNode::Number(pv.value, UnitText(pv.unitsCode, code, spType), kLiveValueFormat));
    n.Add("lowerRangeLimit", CNode::Number(s.lowerRangeLimit, unit));
    n.Add("upperRangeLimit", CNode::Number(s.upperRangeLimit, unit));
    n.Add("minimumSpan", CNode::Number(s.minimumSpan, unit));
    n.Add("lowerOperatingLimit", CNode::Number(s.lowerOperatingLimit, unit));
    n.Add("upperOperatingLimit", CNode::Number(s.upperOperatingLimit, unit));
    n.Add("damping", CNode::Number(s.damping, kSeconds));
    const TrimPoints trims = variable.ReadTrimPoints();
    n.Add("offsetTrimPoint", CNode::Number(trims.offsetPoint, unit));
    n.Add("slopeTrimPoint", CNode::Number(trims.slopePoint, unit));
    if (method)
        n.Add("integerScaling", Optional([&] {
                  return ScalingRecord(variable.ReadIntegerScaling(*method, kAccessTransmitter),
                                       unit);
              }));
    else
        n.Add("integerScaling", CNode::Null());
    return n;
}

}  // namespace

namespace cli {

int ShowDevice(CTransmitter& model, std::ostream& out, bool json) {
    CNode root = CNode::Object();
    try {
        CComm& comm = model.Comm();
        const uint8_t spType = model.Sp().ReadSpType(kAccessTransmitter);
        std::optional<uint16_t> method;
        try {
            method = model.ReadIntegerScalingMethod(kAccessTransmitter);
        } catch (const CCommException& e) {
            if (e.Error() != commerr::kIntegerScalingUnsupported) throw;
        }

        root.Add("identity", Identity(model));
        root.Add("deviceInformation", DeviceInformation(model, spType));

        CNode variables = CNode::Object();
        variables.Add("dp", Variable(model.Dp(), spType, method));
        variables.Add("sp", Variable(model.Sp(), spType, method));
        variables.Add("pt", Variable(model.Pt(), spType, method));
        root.Add("variables", std::move(variables));

        CNode assignment = CNode::Array();
        for (int code : model.ReadVariableAssignment(kAccessTransmitter))
            assignment.Append(CNode::Integer(code, AssignedName(code)));
        root.Add("variableAssignment", std::move(assignment));

        const CommunicationRegisters regs = comm.ReadCommunicationRegisters();
        CNode formats = CNode::Object();
        formats.Add("floatFormat", Optional([&] {
                        return CNode::Integer(model.ReadFloatFormat(kAccessTransmitter));
                    }));
        formats.Add("integerScalingMethod", method ? CNode::Integer(*method) : CNode::Null());
        formats.Add("turnaroundDelayMs", CNode::Integer(regs.turnaroundDelay));
        formats.Add("inputRegister128", CNode::Integer(regs.register128));
        formats.Add("inputRegister129", CNode::Integer(regs.register129));
        root.Add("communication", std::move(formats));

        const CLCDDisplay::Settings lcd = model.LcdDisplay().Read(kAccessTransmitter);
        CNode display = CNode::Object();
        display.Add("updateIntervalSeconds", CNode::Integer(lcd.interval));
        CNode items = CNode::Array();
        for (uint16_t item : lcd.items) items.Append(CNode::Text(CLCDDisplay::ItemName(item)));
        display.Add("items", std::move(items));
        root.Add("lcd", std::move(display));

        const bool fixedMode = comm.ReadCoil(3);
        CNode temperature = CNode::Object();
        temperature.Add("fixedMode", CNode::Boolean(fixedMode));
        // The fixed temperature is held in the PT units.
        const int ptUnits = model.Pt().ReadSettings(kAccessTransmitter).unitsCode;
        temperature.Add("fixedTemperature",
                        CNode::Number(comm.ReadRegister454(), UnitText(ptUnits, kVarPt, spType)));
        root.Add("processTemperature", std::move(temperature));

        CNode status = CNode::Array();
        for (uint8_t byte : comm.ReadStatusBytes()) status.Append(CNode::Text(Hex(byte, 2)));
        root.Add("statusBytes", std::move(status));
    } catch (const std::exception& e) {
        ReportException(e);
        return 1;
    }

    if (json) {
        root.WriteJson(out, 0);
        out << '\n';
    } else {
        root.WriteText(out, 0);
    }
    return 0;
}

}  // namespace cli
