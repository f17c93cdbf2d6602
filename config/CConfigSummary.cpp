#include "config/CConfigSummary.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "app/CommandTable.h"
#include "config/CDataFormatsForm.h"
#include "config/DateText.h"
#include "config/FormNumbers.h"
#include "flow/CCurveFit.h"
#include "flow/CFlow.h"
#include "flow/PrimaryElements.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CDeviceInfo.h"
#include "transmitter/CLCDDisplay.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {

constexpr unsigned kIdFirstFormat = 3358;
constexpr unsigned kIdFirstMethod = 32775;
constexpr int kFormatCount = 4;
constexpr int kMethodCount = 4;
constexpr const char* kRoundingNames[] = {"nearest", "down", "up"};
constexpr const char* kNotConvertible = "(not in the variable's units)";

// A window's label as a summary shows it: without the mnemonic and the colon.
std::string Plain(const std::string& label) {
    std::string text;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size() && label[i + 1] != '&') continue;
        text += label[i];
    }
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    return text;
}

// A code's name from a list, or its number when the list does not hold it.
std::string CodeName(const std::vector<int>& codes, std::string (*name)(int), int code) {
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
        return "code " + std::to_string(code);
    return name(code);
}

class CBuilder {
  public:
    explicit CBuilder(SummaryGroup& group) : m_group(group) {}
    CBuilder& Add(const char* key, const std::string& label, const std::string& value,
                  SummaryArea area, bool compared = true) {
        m_group.fields.push_back({key, Plain(label), value, area, compared});
        return *this;
    }

  private:
    SummaryGroup& m_group;
};

SummaryGroup DeviceGroup(CTransmitter& model) {
    SummaryGroup group{"device", "Device information", "", {}};
    CDeviceInfo& info = model.DeviceInfo();
    const CDeviceInfo::TagDescriptorDate texts = info.ReadTagDescriptorDate(kAccessDocument);
    const ConstructionCodes codes = info.Construction();
    const SummaryArea area = SummaryArea::DeviceInfo;
    CBuilder b(group);
    b.Add("tag", texts::kTagLabel, texts.tag, area)
        .Add("descriptor", texts::kDescriptorLabel, texts.descriptor, area)
        .Add("message", texts::kMessageLabel, info.ReadMessage(kAccessDocument), area)
        .Add("date", texts::kDateLabel, config::DateText(texts.date), area);
    // The construction lists in the window's order, with the window's keys.
    b.Add("flange-type", texts::kFlangeTypeLabel,
          CodeName(CDeviceInfo::FlangeTypeCodes(), CDeviceInfo::FlangeTypeName, codes.flangeType),
          area)
        .Add("flange-material", texts::kFlangeMaterialLabel,
             CodeName(CDeviceInfo::FlangeMaterialCodes(), CDeviceInfo::FlangeMaterialName,
                      codes.flangeMaterial),
             area)
        .Add("o-ring-material", texts::kORingMaterialLabel,
             CodeName(CDeviceInfo::ORingMaterialCodes(), CDeviceInfo::ORingMaterialName,
                      codes.oRingMaterial),
             area)
        .Add("drain-vent-material", texts::kDrainVentMaterialLabel,
             CodeName(CDeviceInfo::DrainVentMaterialCodes(), CDeviceInfo::DrainVentMaterialName,
                      codes.drainVentMaterial),
             area)
        .Add("seal-type", texts::kRemoteSealTypeLabel,
             CodeName(CDeviceInfo::RemoteSealTypeCodes(), CDeviceInfo::RemoteSealTypeName,
                      codes.remoteSealType),
             area)
        .Add("seal-fill", texts::kRemoteSealFillLabel,
             CodeName(CDeviceInfo::RemoteSealFillCodes(), CDeviceInfo::RemoteSealFillName,
                      codes.remoteSealFill),
             area)
        .Add("seal-material", texts::kRemoteSealMaterialLabel,
             CodeName(CDeviceInfo::RemoteSealMaterialCodes(), CDeviceInfo::RemoteSealMaterialName,
                      codes.remoteSealMaterial),
             area)
        .Add("seal-count", texts::kNumberOfSealsLabel,
             CodeName(CDeviceInfo::RemoteSealCountCodes(), CDeviceInfo::RemoteSealCountName,
                      codes.remoteSealCount),
             area);
    return group;
}

std::string WithUnit(double value, const std::string& unit) {
    return config::LimitText(value) + " " + unit;
}

// The integer scaling record as the parameter window of the method shows it;
// nothing for a disabled method, whose record never reaches a transmitter.
void AddScaling(CBuilder& b, const IntegerScalingRecord& record, uint16_t method,
                const std::string& unit) {
    const SummaryArea area = SummaryArea::DataFormats;
    switch (method) {
        case kScalingEndpoints:
            b.Add("min-integer", "Minimum integer", std::to_string(record.minInteger), area)
                .Add("max-integer", "Maximum integer", std::to_string(record.maxInteger), area)
                .Add("min-pv", "Minimum PV", WithUnit(record.minPv, unit), area)
                .Add("max-pv", "Maximum PV", WithUnit(record.maxPv, unit), area);
            break;
        case kScalingEnteredFactors:
            b.Add("scale-factor", texts::kScaleFactorColumn, std::to_string(record.scaleFactor),
                  area)
                .Add("offset", texts::kOffsetColumn, std::to_string(record.offset), area);
            break;
        case kScalingCalculatedFactors:
            b.Add("counts", "Counts", std::to_string(record.counts), area)
                .Add("rounding", "Rounding",
                     record.rounding < 3 ? kRoundingNames[record.rounding]
                                         : std::to_string(record.rounding),
                     area)
                .Add("min-pv", "Minimum PV", WithUnit(record.minPv, unit), area)
                .Add("max-pv", "Maximum PV", WithUnit(record.maxPv, unit), area);
            break;
        default:
            break;
    }
}

SummaryGroup VariableGroup(CTransmitter& model, int v,
                           const std::optional<std::pair<double, double>>& range) {
    CMeasuredVariable& variable = model.Variable(v);
    static const char* const kKeys[] = {"DP", "SP", "PT"};
    SummaryGroup group{
        kKeys[v], std::string(kKeys[v]) + " (" + variable.Name() + ")", kKeys[v], {}};
    const std::string unit = variable.ReadUnits(kAccessDocument).Name();
    // Limits kept in units of another class cannot be converted: shown so,
    // rather than leaving the whole summary out.
    std::string lower = kNotConvertible;
    std::string upper = kNotConvertible;
    try {
        const std::pair<double, double> limits = variable.ReadOperatingLimits(kAccessDocument);
        lower = WithUnit(limits.first, unit);
        upper = WithUnit(limits.second, unit);
    } catch (const std::exception&) {
    }
    CBuilder b(group);
    b.Add("units", "Units", unit, SummaryArea::Units)
        .Add("damping", "Damping",
             FormatText("%g", static_cast<float>(variable.ReadDamping(kAccessDocument))) + " " +
                 texts::kSeconds,
             SummaryArea::Damping)
        .Add("lower-limit", "Lower operating limit", lower, SummaryArea::Limits)
        .Add("upper-limit", "Upper operating limit", upper, SummaryArea::Limits);
    if (range) {
        b.Add("lrl", "Lower range limit (LRL)", WithUnit(range->first, unit), SummaryArea::Limits,
              false)
            .Add("url", "Upper range limit (URL)", WithUnit(range->second, unit),
                 SummaryArea::Limits, false);
    }
    AddScaling(b, variable.IntegerScaling(), model.IntegerScalingMethod(), unit);
    return group;
}

SummaryGroup DataFormatsGroup(CTransmitter& model) {
    SummaryGroup group{"data-formats", "Data formats", "", {}};
    const int format = model.ReadFloatFormat(kAccessDocument);
    const int method = model.ReadIntegerScalingMethod(kAccessDocument);
    const std::string formatText =
        format < kFormatCount ? LoadString(kIdFirstFormat + static_cast<unsigned>(format)) + " (" +
                                    CDataFormatsForm::ByteOrder(format) + ")"
                              : std::to_string(format);
    const std::string methodText = method < kMethodCount
                                       ? LoadString(kIdFirstMethod + static_cast<unsigned>(method))
                                       : std::to_string(method);
    CBuilder(group)
        .Add("float-format", "Float format", formatText, SummaryArea::DataFormats)
        .Add("scaling", texts::kScalingMethodLabel, methodText, SummaryArea::DataFormats);
    return group;
}

SummaryGroup LcdGroup(const CTransmitter& model) {
    SummaryGroup group{"lcd", "LCD display", "LCD", {}};
    const CLCDDisplay& lcd = model.LcdDisplay();
    std::string items;
    const std::vector<uint16_t>& known = CLCDDisplay::AllItems();
    // The transmitter keeps which items it shows, not an order of them: they
    // are listed in the order it cycles through them, so that a document and
    // a transmitter holding the same items read alike.
    for (uint16_t item : known) {
        if (std::find(lcd.Items().begin(), lcd.Items().end(), item) == lcd.Items().end()) continue;
        if (!items.empty()) items += ", ";
        items += CLCDDisplay::ItemName(item);
    }
    for (uint16_t item : lcd.Items()) {
        if (std::find(known.begin(), known.end(), item) != known.end()) continue;
        if (!items.empty()) items += ", ";
        items += "code " + std::to_string(item);
    }
    if (items.empty()) items = "none";
    CBuilder(group)
        .Add("items", "Items", items, SummaryArea::Lcd)
        .Add("interval", texts::kUpdateIntervalLabel,
             std::to_string(lcd.Interval()) + " " + texts::kUpdateIntervalUnit, SummaryArea::Lcd);
    return group;
}

SummaryGroup CommGroup(CTransmitter& model) {
    SummaryGroup group{"comm", "Communication", "", {}};
    CBuilder(group).Add(
        "turnaround", texts::kTurnaroundDelayLabel,
        std::to_string(model.ReadTurnaroundDelay(kAccessDocument)) + " " + texts::kMilliseconds,
        SummaryArea::Comm);
    return group;
}

SummaryGroup FlowGroup(const CTransmitter& model) {
    SummaryGroup group{"flow", "Flow", "flow", {}};
    CBuilder b(group);
    const CFlow* flow = model.Flow();
    const SummaryArea area = SummaryArea::Flow;
    b.Add("present", "Flow configuration", flow != nullptr ? "present" : "none", area, false);
    if (flow == nullptr) return group;
    int valid = 0;
    const std::vector<CCurveFit*> fits = flow->Fits();
    for (const CCurveFit* fit : fits) valid += fit != nullptr && fit->Valid() != 0 ? 1 : 0;
    const std::string fitsText =
        valid == static_cast<int>(fits.size())
            ? "all " + std::to_string(fits.size()) + " valid"
            : std::to_string(valid) + " of " + std::to_string(fits.size()) + " valid";
    b.Add("kind", "Kind", flow->IsLiquid() ? "liquid" : "gas", area, false)
        .Add("fluid", "Fluid", flow->FluidName().empty() ? "unnamed" : flow->FluidName(), area,
             false)
        .Add("producer", "Primary element", flow::DiffProducerName(flow->DiffProducer()), area,
             false)
        .Add("fits", "Curve fits", fitsText, area, false);
    return group;
}

}  // namespace

CConfigSummary CConfigSummary::FromModel(CTransmitter& model, const RangeLimits& ranges) {
    CConfigSummary summary;
    summary.m_groups.push_back(DeviceGroup(model));
    for (int v = kVarDp; v <= kVarPt; ++v)
        summary.m_groups.push_back(VariableGroup(model, v, ranges[static_cast<size_t>(v)]));
    summary.m_groups.push_back(DataFormatsGroup(model));
    summary.m_groups.push_back(LcdGroup(model));
    summary.m_groups.push_back(CommGroup(model));
    summary.m_groups.push_back(FlowGroup(model));
    return summary;
}

const SummaryGroup* CConfigSummary::Group(const std::string& key) const {
    for (const SummaryGroup& group : m_groups) {
        if (group.key == key) return &group;
    }
    return nullptr;
}

const SummaryField* CConfigSummary::Field(const std::string& group, const std::string& key) const {
    const SummaryGroup* g = Group(group);
    if (g == nullptr) return nullptr;
    for (const SummaryField& field : g->fields) {
        if (field.key == key) return &field;
    }
    return nullptr;
}

const SummaryField* CConfigSummary::Field(const std::string& path) const {
    const size_t dot = path.find('.');
    if (dot == std::string::npos) return nullptr;
    return Field(path.substr(0, dot), path.substr(dot + 1));
}

void CConfigSummary::RemoveGroup(const std::string& key) {
    m_groups.erase(std::remove_if(m_groups.begin(), m_groups.end(),
                                  [&key](const SummaryGroup& g) { return g.key == key; }),
                   m_groups.end());
}

namespace config {

namespace {

// "Update Interval" -> "update interval"; words in capitals ("LRL", "PV") stay.
std::string LowerFirst(std::string text) {
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        bool hasLower = false;
        for (size_t i = start + 1; i < end; ++i)
            hasLower = hasLower || std::islower(static_cast<unsigned char>(text[i]));
        if (hasLower)
            text[start] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[start])));
        start = end + 1;
    }
    return text;
}

std::string DifferenceName(const SummaryGroup& group, const SummaryField& field) {
    const std::string label = LowerFirst(field.label);
    return group.shortName.empty() ? label : group.shortName + " " + label;
}

}  // namespace

std::vector<SummaryDifference> CompareSummaries(const CConfigSummary& left,
                                                const CConfigSummary& right) {
    std::vector<SummaryDifference> out;
    auto add = [&out](const SummaryGroup& group, const SummaryField& field, const std::string& l,
                      const std::string& r) {
        out.push_back({group.key, field.key, DifferenceName(group, field), l, r, field.area});
    };
    for (const SummaryGroup& group : left.Groups()) {
        for (const SummaryField& field : group.fields) {
            if (!field.compared) continue;
            const SummaryField* other = right.Field(group.key, field.key);
            if (other == nullptr) {
                add(group, field, field.value, std::string());
            } else if (other->compared && other->value != field.value) {
                add(group, field, field.value, other->value);
            }
        }
    }
    for (const SummaryGroup& group : right.Groups()) {
        for (const SummaryField& field : group.fields) {
            if (field.compared && left.Field(group.key, field.key) == nullptr)
                add(group, field, std::string(), field.value);
        }
    }
    return out;
}

std::string DifferenceListText(const std::vector<SummaryDifference>& differences, size_t maxNames) {
    if (differences.empty()) return "No values differ.";
    std::string text = differences.size() == 1
                           ? std::string("1 value differs: ")
                           : std::to_string(differences.size()) + " values differ: ";
    const size_t shown = std::min(differences.size(), std::max<size_t>(maxNames, 1));
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += differences[i].name;
    }
    if (shown < differences.size())
        text += " and " + std::to_string(differences.size() - shown) + " more";
    return text + ".";
}

int AreaCommand(SummaryArea area, bool transmitterMode) {
    switch (area) {
        case SummaryArea::DeviceInfo:
            return transmitterMode ? cmd::kXmtrDeviceInfo : cmd::kSetupDeviceInfo;
        case SummaryArea::Units:
            return transmitterMode ? cmd::kXmtrUnits : cmd::kSetupUnits;
        case SummaryArea::Damping:
            return transmitterMode ? cmd::kXmtrDamping : cmd::kSetupDamping;
        case SummaryArea::Limits:
            return transmitterMode ? cmd::kXmtrSensorLimits : cmd::kSetupSensorLimits;
        case SummaryArea::DataFormats:
            return transmitterMode ? cmd::kXmtrDataFormats : cmd::kSetupDataFormats;
        case SummaryArea::Lcd:
            return transmitterMode ? cmd::kXmtrLcdDisplay : cmd::kSetupLcdDisplay;
        case SummaryArea::Comm:
            return transmitterMode ? cmd::kXmtrComm : cmd::kSetupXmtrComm;
        case SummaryArea::Flow:
            return 0;
    }
    return 0;
}

}  // namespace config
