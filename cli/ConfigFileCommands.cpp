#include "cli/ConfigFileCommands.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/CMVDoc.h"
#include "flow/CDensity.h"
#include "flow/CGasExpansion.h"
#include "link/ErrorReport.h"
#include "platform/IUserInterface.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CalendarDate.h"

namespace {

constexpr unsigned kFirstFloatFormatText = 3358;
constexpr unsigned kFirstScalingMethodText = 32775;
// The damping window's unit.
constexpr const char* kSeconds = "seconds";

// Message boxes of a file command go to stderr: there is nobody to answer them,
// and every one of them reports a failure.
class CStderrUi : public IUserInterface {
  public:
    MsgAnswer MessageBox(const std::string& text, MsgButtons, MsgIcon) override {
        std::cerr << text << '\n';
        return MsgAnswer::Ok;
    }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override { return std::nullopt; }
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest&) override {
        return {};
    }
};

// Runs a command with its messages on stderr; a failure is reported there.
template <typename F>
int RunFileCommand(F&& command) {
    CStderrUi ui;
    CScopedUi scope(ui);
    try {
        command();
    } catch (const std::exception& e) {
        ReportException(e);
        return 1;
    }
    return 0;
}

// --- Values as text --------------------------------------------------------------

// The shortest text that reads back to the same value.
template <typename T>
std::string Number(T value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Integer(long long value) { return std::to_string(value); }

// A value as the windows show it ("%g"); JSON keeps the full value instead.
std::string Shown(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return FormatText("%g", value);
}

bool IsUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else if (c >= 0x80) {
            return false;
        }
        if (text.size() - i <= extra) return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

// Texts of the file are 8-bit; those that are not UTF-8 are read as Latin-1.
std::string ToUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string converted;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            converted.push_back(ch);
        } else {
            converted.push_back(static_cast<char>(0xC0 | (c >> 6)));
            converted.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return converted;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char ch : ToUtf8(text)) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// --- The shown document: a tree rendered as text or as JSON ----------------------------

struct Node {
    enum class Kind { Object, Array, Number, String, Null };
    std::string key;    // JSON key
    std::string label;  // text label
    Kind kind = Kind::Object;
    std::string value;  // number text or raw string
    std::string text;   // one-line text form, when the text differs from the value
    std::vector<Node> children;

    Node& Add(Node child) {
        children.push_back(std::move(child));
        return children.back();
    }
};

Node Group(std::string key, std::string label) {
    return Node{std::move(key), std::move(label), Node::Kind::Object, {}, {}, {}};
}

Node Num(std::string key, std::string label, std::string number, std::string text = {}) {
    return Node{std::move(key),    std::move(label), Node::Kind::Number,
                std::move(number), std::move(text),  {}};
}

Node Str(std::string key, std::string label, const std::string& value) {
    return Node{std::move(key), std::move(label), Node::Kind::String, value, JsonString(value), {}};
}

// A real value: in full in JSON, as the windows show it (with its unit, when
// it has one) in text.
Node Real(std::string key, std::string label, double value, const std::string& unit = {}) {
    std::string text = Shown(value);
    if (!unit.empty()) text += " " + unit;
    return Num(std::move(key), std::move(label), Number(value), std::move(text));
}

template <typename T>
Node NumArray(std::string key, std::string label, const std::vector<T>& values) {
    Node node{std::move(key), std::move(label), Node::Kind::Array, {}, {}, {}};
    for (T v : values) node.children.push_back(Num({}, {}, Number(v), Shown(v)));
    return node;
}

// A code with its name, when the code has one.
Node Coded(std::string key, std::string label, int code, const std::string& name) {
    Node node = Group(std::move(key), std::move(label));
    node.Add(Num("code", "", Integer(code)));
    node.Add(Str("name", "", name));
    node.text = Integer(code) + (name.empty() ? "" : " (" + ToUtf8(name) + ")");
    return node;
}

Node UnitNode(std::string key, std::string label, const CUnit& unit) {
    const std::string name = unit.Name();
    Node node = Group(std::move(key), std::move(label));
    node.Add(Num("code", "", Integer(unit.UnitCode())));
    node.Add(Num("measType", "", Integer(unit.MeasType())));
    node.Add(Str("name", "", name));
    node.text = (name.empty() ? "(none)" : name) + " (code " + Integer(unit.UnitCode()) +
                ", measurement type " + Integer(unit.MeasType()) + ")";
    return node;
}

Node DimNode(std::string key, std::string label, const CDimValue& value) {
    const CUnit unit = value.Unit();
    Node node = Group(std::move(key), std::move(label));
    node.Add(Num("value", "", Number(value.Value())));
    node.Add(UnitNode("unit", "", unit));
    const std::string name = unit.Name();
    node.text = Shown(value.Value()) + (name.empty() ? "" : " " + name);
    return node;
}

std::string NameIfListed(int code, const std::vector<int>& codes, std::string (*name)(int)) {
    for (int c : codes) {
        if (c == code) return name(code);
    }
    return {};
}

std::string TextOr(unsigned first, unsigned count, unsigned code) {
    return code < count ? LoadString(first + code) : std::string();
}

void RenderText(const Node& node, std::ostream& out, int indent) {
    const std::string pad(static_cast<size_t>(indent), ' ');
    if (!node.text.empty() || node.kind == Node::Kind::Number) {
        out << pad << node.label << ": " << (node.text.empty() ? node.value : node.text) << '\n';
        return;
    }
    switch (node.kind) {
        case Node::Kind::Null:
            out << pad << node.label << ": none\n";
            return;
        case Node::Kind::Array: {
            const bool rows = !node.children.empty() && node.children[0].kind == Node::Kind::Array;
            out << pad << node.label << ":";
            for (const Node& child : node.children) {
                out << (rows ? "\n" + pad + "  " : " ")
                    << (child.text.empty() ? child.value : child.text);
            }
            out << '\n';
            return;
        }
        default:
            break;
    }
    if (!node.label.empty()) out << pad << node.label << '\n';
    for (const Node& child : node.children)
        RenderText(child, out, node.label.empty() ? indent : indent + 2);
}

std::string JsonNumber(const std::string& number) {
    // JSON has no NaN or infinity.
    if (number == "nan" || number == "inf" || number == "-inf") return "null";
    return number;
}

void RenderJson(const Node& node, std::ostream& out) {
    switch (node.kind) {
        case Node::Kind::Null:
            out << "null";
            return;
        case Node::Kind::Number:
            out << JsonNumber(node.value);
            return;
        case Node::Kind::String:
            out << JsonString(node.value);
            return;
        case Node::Kind::Array:
            out << '[';
            for (size_t i = 0; i < node.children.size(); ++i) {
                if (i) out << ',';
                RenderJson(node.children[i], out);
            }
            out << ']';
            return;
        case Node::Kind::Object:
            out << '{';
            for (size_t i = 0; i < node.children.size(); ++i) {
                if (i) out << ',';
                out << JsonString(node.children[i].key) << ':';
                RenderJson(node.children[i], out);
            }
            out << '}';
            return;
    }
}

// --- The configuration ---------------------------------------------------------------

Node VariableNode(std::string key, const CMeasuredVariable& variable) {
    Node node = Group(std::move(key), variable.Name());
    node.Add(UnitNode("units", "Units", variable.Units()));
    node.Add(Real("dampingSeconds", "Damping", variable.Damping().Get(), kSeconds));
    node.Add(
        DimNode("lowerOperatingLimit", "Lower operating limit", variable.LowerOperatingLimit()));
    node.Add(
        DimNode("upperOperatingLimit", "Upper operating limit", variable.UpperOperatingLimit()));
    const IntegerScalingRecord& r = variable.IntegerScaling();
    Node& s = node.Add(Group("integerScaling", "Integer scaling"));
    s.Add(Coded("method", "Method", r.method, TextOr(kFirstScalingMethodText, 4, r.method)));
    s.Add(Num("rounding", "Rounding", Integer(r.rounding)));
    s.Add(Num("counts", "Counts", Integer(r.counts)));
    s.Add(Num("scaleFactor", "Scale factor", Integer(r.scaleFactor)));
    s.Add(Num("offset", "Offset", Integer(r.offset)));
    s.Add(Num("minInteger", "Minimum integer", Integer(r.minInteger)));
    s.Add(Num("maxInteger", "Maximum integer", Integer(r.maxInteger)));
    const std::string unit = variable.Units().Name();
    s.Add(Real("minPv", "Minimum PV", r.minPv, unit));
    s.Add(Real("maxPv", "Maximum PV", r.maxPv, unit));
    return node;
}

Node FitNode(std::string key, std::string label, const CCurveFit& fit) {
    Node node = Group(std::move(key), std::move(label));
    node.Add(Num("liquid", "Liquid flag", Integer(fit.LiquidFlag())));
    node.Add(Num("valid", "Valid", Integer(fit.Valid())));
    node.Add(Num("pointCount", "Points", Integer(fit.PointCount())));
    const auto& c = fit.GetCoefficients();
    node.Add(NumArray("coefficients", "Coefficients", std::vector<float>(c.begin(), c.end())));
    node.Add(NumArray("displayX", "Display x", fit.DisplayX()));
    node.Add(NumArray("displayY", "Display y", fit.DisplayY()));
    if (const auto* density = dynamic_cast<const CDensity*>(&fit)) {
        Node& table = node.Add(Node{"table", "Table", Node::Kind::Array, {}, {}, {}});
        for (int i = 0; i < CDensity::kRows; ++i) {
            std::vector<float> row;
            for (int j = 0; j < CDensity::kColumns; ++j) row.push_back(density->TableValue(i, j));
            Node rowNode = NumArray({}, {}, row);
            std::string joined;
            for (float v : row) joined += (joined.empty() ? "" : " ") + Shown(v);
            rowNode.text = joined;
            table.children.push_back(std::move(rowNode));
        }
        node.Add(NumArray("displayPressures", "Display pressures", density->DisplayPressure()));
    }
    return node;
}

Node FlowNode(const CFlow& flow) {
    Node node = Group("flow", "Flow configuration");
    node.Add(Str("kind", "Kind", flow.IsLiquid() ? "liquid" : "gas"));
    node.Add(UnitNode("flowUnit", "Flow unit", flow.FlowUnit()));
    node.Add(Num("fluidPhase", "Fluid phase", Integer(flow.FluidPhase())));
    node.Add(Num("unnamedFlag", "Unnamed flag", Integer(flow.UnnamedFlag())));
    node.Add(Coded("boreMaterial", "Bore material", flow.BoreMaterial(),
                   CFlow::BoreMaterialName(flow.BoreMaterial())));
    node.Add(Coded("tubeMaterial", "Tube material", flow.TubeMaterial(),
                   CFlow::TubeMaterialName(flow.TubeMaterial())));
    node.Add(Num("differentialProducer", "Differential producer", Integer(flow.DiffProducer())));
    node.Add(Num("densityDataSource", "Density data source", Integer(flow.DensityDataSource())));
    node.Add(
        Num("viscosityDataSource", "Viscosity data source", Integer(flow.ViscosityDataSource())));
    node.Add(Str("fluidName", "Fluid name", flow.FluidName()));
    node.Add(DimNode("atmosphericPressure", "Atmospheric pressure", flow.AtmosphericPressure()));
    node.Add(Real("unnamedValue", "Unnamed value", flow.UnnamedValue().Get()));
    node.Add(Real("flowConstant", "Flow constant N", flow.FlowConstant().Get()));
    node.Add(DimNode("testDp", "Test DP", flow.TestDp()));
    node.Add(DimNode("testSp", "Test SP", flow.TestSp()));
    node.Add(DimNode("testPt", "Test PT", flow.TestPt()));
    node.Add(DimNode("testFlow", "Test flow", flow.TestFlow()));
    node.Add(DimNode("boreDiameter", "Bore diameter d", flow.BoreDiameter()));
    node.Add(DimNode("boreReferenceTemperature", "Bore reference temperature",
                     flow.BoreReferenceTemperature()));
    node.Add(DimNode("tubeDiameter", "Meter tube diameter D", flow.TubeDiameter()));
    node.Add(DimNode("tubeReferenceTemperature", "Tube reference temperature",
                     flow.TubeReferenceTemperature()));
    node.Add(DimNode("standardPressure", "Standard pressure", flow.StandardPressure()));
    node.Add(DimNode("standardTemperature", "Standard temperature", flow.StandardTemperature()));
    node.Add(DimNode("baseDensity", "Base density", flow.BaseDensity()));
    node.Add(Real("molecularWeight", "Molecular weight", flow.MolecularWeight().Get()));
    node.Add(DimNode("operatingTemperatureMin", "Operating temperature minimum",
                     flow.OperatingTemperatureMin()));
    node.Add(DimNode("operatingTemperatureMax", "Operating temperature maximum",
                     flow.OperatingTemperatureMax()));
    node.Add(
        DimNode("operatingPressureMin", "Operating pressure minimum", flow.OperatingPressureMin()));
    node.Add(
        DimNode("operatingPressureMax", "Operating pressure maximum", flow.OperatingPressureMax()));
    node.Add(UnitNode("densityUnit", "Density unit", flow.DensityUnit()));
    node.Add(UnitNode("viscosityUnit", "Viscosity unit", flow.ViscosityUnit()));
    if (flow.Density()) node.Add(FitNode("densityFit", "Density fit", *flow.Density()));
    if (flow.DischargeCoeff()) {
        node.Add(FitNode("dischargeCoefficientFit", "Discharge coefficient fit",
                         *flow.DischargeCoeff()));
    }
    if (flow.EdSquared()) node.Add(FitNode("edSquaredFit", "Ed\xC2\xB2 fit", *flow.EdSquared()));
    if (flow.Viscosity()) node.Add(FitNode("viscosityFit", "Viscosity fit", *flow.Viscosity()));
    if (const CGasExpansion* expansion = flow.GetGasExpansion()) {
        node.Add(Real("isentropicExponent", "Isentropic exponent", flow.GetIsentropicExponent()));
        node.Add(FitNode("gasExpansionFit", "Gas expansion fit", *expansion));
    }
    return node;
}

Node ConfigurationNode(const std::string& path, const CTransmitter& t) {
    Node root = Group("", "");
    root.Add(Str("file", "Configuration file", path));
    root.Add(Num("formatVersion", "Format version", Integer(t.FormatVersion())));

    Node& comm = root.Add(Group("communication", "Communication"));
    comm.Add(Num("inputRegister128", "Input register 128", Integer(t.Register128())));
    comm.Add(Num("inputRegister129", "Input register 129", Integer(t.Register129())));
    comm.Add(Num("turnaroundDelayMs", "Turnaround delay", Integer(t.TurnaroundDelay()),
                 Integer(t.TurnaroundDelay()) + " ms"));
    comm.Add(Coded("floatFormat", "Floating point format", t.FloatFormat(),
                   TextOr(kFirstFloatFormatText, 4, t.FloatFormat())));
    comm.Add(Coded("integerScalingMethod", "Integer scaling method", t.IntegerScalingMethod(),
                   TextOr(kFirstScalingMethodText, 4, t.IntegerScalingMethod())));

    const CLCDDisplay& lcd = t.LcdDisplay();
    Node& lcdNode = root.Add(Group("lcd", "LCD display"));
    lcdNode.Add(Num("intervalSeconds", "Update interval", Integer(lcd.Interval()),
                    Integer(lcd.Interval()) + " s"));
    lcdNode.Add(Num("mask", "Displayed-variables mask", Integer(lcd.Mask())));
    Node& items = lcdNode.Add(Node{"items", "Displayed", Node::Kind::Array, {}, {}, {}});
    std::string names;
    for (uint16_t item : lcd.Items()) {
        items.children.push_back(Num({}, {}, Integer(item)));
        names += (names.empty() ? "" : ", ") + CLCDDisplay::ItemName(item);
    }
    items.text = names.empty() ? "(none)" : names;

    const CDeviceInfo& info = t.DeviceInfo();
    Node& device = root.Add(Group("deviceInfo", "Device information"));
    device.Add(Str("tag", "Tag", info.Tag()));
    device.Add(Str("descriptor", "Descriptor", info.Descriptor()));
    device.Add(Str("message", "Message", info.Message()));
    const CalendarDate date = info.Date();
    char dateText[32];
    std::snprintf(dateText, sizeof dateText, "%04d-%02d-%02d", date.year, date.month, date.day);
    device.Add(Num("dateSeconds", "Date", Integer(info.DateSeconds()), dateText));
    device.Add(Coded("flangeType", "Flange type", info.FlangeType(),
                     NameIfListed(info.FlangeType(), CDeviceInfo::FlangeTypeCodes(),
                                  &CDeviceInfo::FlangeTypeName)));
    device.Add(Coded("flangeMaterial", "Flange material", info.FlangeMaterial(),
                     NameIfListed(info.FlangeMaterial(), CDeviceInfo::FlangeMaterialCodes(),
                                  &CDeviceInfo::FlangeMaterialName)));
    device.Add(Coded("oRingMaterial", "O-ring material", info.ORingMaterial(),
                     NameIfListed(info.ORingMaterial(), CDeviceInfo::ORingMaterialCodes(),
                                  &CDeviceInfo::ORingMaterialName)));
    device.Add(Coded("drainVentMaterial", "Drain/vent material", info.DrainVentMaterial(),
                     NameIfListed(info.DrainVentMaterial(), CDeviceInfo::DrainVentMaterialCodes(),
                                  &CDeviceInfo::DrainVentMaterialName)));
    device.Add(Coded("remoteSealType", "Remote seal type", info.RemoteSealType(),
                     NameIfListed(info.RemoteSealType(), CDeviceInfo::RemoteSealTypeCodes(),
                                  &CDeviceInfo::RemoteSealTypeName)));
    device.Add(Coded("remoteSealFill", "Remote seal fill", info.RemoteSealFill(),
                     NameIfListed(info.RemoteSealFill(), CDeviceInfo::RemoteSealFillCodes(),
                                  &CDeviceInfo::RemoteSealFillName)));
    device.Add(Coded("remoteSealMaterial", "Remote seal material", info.RemoteSealMaterial(),
                     NameIfListed(info.RemoteSealMaterial(), CDeviceInfo::RemoteSealMaterialCodes(),
                                  &CDeviceInfo::RemoteSealMaterialName)));
    device.Add(Coded("remoteSealCount", "Number of remote seals", info.RemoteSealCount(),
                     NameIfListed(info.RemoteSealCount(), CDeviceInfo::RemoteSealCountCodes(),
                                  &CDeviceInfo::RemoteSealCountName)));

    root.Add(VariableNode("pt", t.Pt()));
    root.Add(VariableNode("dp", t.Dp()));
    root.Add(VariableNode("sp", t.Sp()));
    if (const CFlow* flow = t.Flow()) {
        root.Add(FlowNode(*flow));
    } else {
        root.Add(Node{"flow", "Flow configuration", Node::Kind::Null, {}, {}, {}});
    }
    return root;
}

}  // namespace

int NewConfig(const std::string& out) {
    return RunFileCommand([&] {
        CMVDoc doc;
        doc.New();
        doc.Save(out);
    });
}

int CopyConfig(const std::string& in, const std::string& out) {
    return RunFileCommand([&] {
        CMVDoc doc;
        doc.Open(in);
        doc.Save(out);
    });
}

int ShowConfig(const std::string& in, std::ostream& out, bool json) {
    return RunFileCommand([&] {
        CMVDoc doc;
        doc.Open(in);
        const Node root = ConfigurationNode(in, doc.Transmitter());
        if (json) {
            RenderJson(root, out);
            out << '\n';
        } else {
            RenderText(root, out, 0);
        }
    });
}
