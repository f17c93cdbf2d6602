#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CTransmitter;

// The area of the configuration a summary row belongs to: the window that
// shows and changes it.
enum class SummaryArea {
    DeviceInfo,
    Units,
    Damping,
    Limits,
    DataFormats,
    Lcd,
    Comm,
    Flow,
};

// One value of the configuration as the windows show it.
struct SummaryField {
    std::string key;    // "damping": with the group's key it names the value ("DP.damping")
    std::string label;  // "Damping", the window's label without mnemonic and colon
    std::string value;  // "0.4 seconds"
    SummaryArea area = SummaryArea::DeviceInfo;
    // False for values that are not kept on both sides (range limits, known only
    // from a transmitter; the flow configuration, which Send and Receive leave
    // alone): they are shown but never counted as a difference.
    bool compared = true;
};

struct SummaryGroup {
    std::string key;        // "DP"
    std::string title;      // "DP (Differential Pressure)"
    std::string shortName;  // "DP": put before a field's label in the change list ("DP damping")
    std::vector<SummaryField> fields;
};

// What differs between two summaries, one entry per value.
struct SummaryDifference {
    std::string group;  // group key
    std::string key;    // field key
    std::string name;   // "DP damping", for the change list
    std::string left;   // empty when the value is missing on that side
    std::string right;
    SummaryArea area = SummaryArea::DeviceInfo;

    // "DP.damping"
    std::string Path() const { return group + "." + key; }
};

// The whole configuration held by a model, group by group, each value as its
// window shows it: device information, the three variables, data formats, LCD,
// communication and the flow configuration. Built from the model's document
// copy only, so building it never reaches a transmitter and never asks the user
// anything (codes that name nothing are shown as their number).
class CConfigSummary {
  public:
    // Range limits (lower, upper) of DP, SP and PT, when known.
    using RangeLimits = std::array<std::optional<std::pair<double, double>>, 3>;

    CConfigSummary() = default;
    static CConfigSummary FromModel(CTransmitter& model, const RangeLimits& ranges = {});

    const std::vector<SummaryGroup>& Groups() const { return m_groups; }
    const SummaryGroup* Group(const std::string& key) const;
    // nullptr when the summary has no such value.
    const SummaryField* Field(const std::string& group, const std::string& key) const;
    // "DP.damping"
    const SummaryField* Field(const std::string& path) const;
    void RemoveGroup(const std::string& key);

  private:
    std::vector<SummaryGroup> m_groups;
};

namespace config {

// The values that differ between two summaries, in the left summary's order
// (values only the right one has follow in its order). A value held on one
// side only counts when it is compared (an integer scaling parameter of a
// method the other side does not use).
std::vector<SummaryDifference> CompareSummaries(const CConfigSummary& left,
                                                const CConfigSummary& right);

// "7 values differ: DP units, DP damping, ..." or "No values differ." — the
// first `maxNames` names, then "and N more".
std::string DifferenceListText(const std::vector<SummaryDifference>& differences,
                               size_t maxNames = 8);

// The window of an area in its mode, as menu command ids; 0 where no menu
// item opens it (the flow configuration).
int AreaCommand(SummaryArea area, bool transmitterMode);

}  // namespace config
