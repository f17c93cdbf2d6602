#include "cli/DiffCommand.h"

#include <ostream>
#include <sstream>

#include "app/CMVDoc.h"
#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/JsonText.h"
#include "cli/WorkflowCommands.h"
#include "config/CConfigSummary.h"
#include "config/TransmitterSummary.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "transmitter/CComm.h"

namespace cli {
namespace {

constexpr int kExitEqual = 0;
constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;
constexpr const char* kMissing = "(none)";

struct DiffArgs {
    std::vector<std::string> files;
    bool json = false;
};

bool ParseDiffArgs(const std::vector<std::string>& words, DiffArgs& args, std::ostream& err) {
    for (const std::string& word : words) {
        if (word == "--json") {
            args.json = true;
        } else if (!word.empty() && word[0] == '-') {
            err << "diff: unknown option \"" << word << "\"\n";
            return false;
        } else {
            args.files.push_back(word);
        }
    }
    if (args.files.empty() || args.files.size() > 2) {
        err << "diff needs one or two configuration files: diff A.cmm [B.cmm] [--json]\n";
        return false;
    }
    return true;
}

bool LoadSummary(const std::string& path, CConfigSummary& summary) {
    CMVDoc doc;
    try {
        doc.Open(path);
        summary = CConfigSummary::FromModel(doc.Transmitter());
        return true;
    } catch (const std::exception& e) {
        ReportException(e);
        return false;
    }
}

std::string JsonOrNull(const std::string& value, bool missing) {
    return missing ? std::string("null") : JsonString(value);
}

int Print(const CConfigSummary& left, const CConfigSummary& right, bool json, std::ostream& out) {
    const std::vector<SummaryDifference> differences = config::CompareSummaries(left, right);
    if (json) {
        out << "{\"equal\": " << (differences.empty() ? "true" : "false") << ", \"differences\": [";
        for (size_t i = 0; i < differences.size(); ++i) {
            const SummaryDifference& d = differences[i];
            const bool leftMissing = left.Field(d.group, d.key) == nullptr;
            const bool rightMissing = right.Field(d.group, d.key) == nullptr;
            out << (i == 0 ? "" : ", ") << "{\"field\": " << JsonString(d.Path())
                << ", \"name\": " << JsonString(d.name)
                << ", \"a\": " << JsonOrNull(d.left, leftMissing)
                << ", \"b\": " << JsonOrNull(d.right, rightMissing) << "}";
        }
        out << "]}\n";
    } else {
        for (const SummaryDifference& d : differences) {
            const bool leftMissing = left.Field(d.group, d.key) == nullptr;
            const bool rightMissing = right.Field(d.group, d.key) == nullptr;
            out << d.Path() << ": " << (leftMissing ? kMissing : d.left) << " -> "
                << (rightMissing ? kMissing : d.right) << '\n';
        }
    }
    return differences.empty() ? kExitEqual : kExitDiffer;
}

}  // namespace

bool DiffOnFiles(const std::vector<std::string>& words) {
    size_t files = 0;
    for (const std::string& word : words) files += !word.empty() && word[0] != '-' ? 1 : 0;
    return files == 2;
}

int DiffFilesCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    DiffArgs args;
    if (!ParseDiffArgs(words, args, err) || args.files.size() != 2) return kExitTrouble;
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    CConfigSummary left;
    CConfigSummary right;
    if (!LoadSummary(args.files[0], left) || !LoadSummary(args.files[1], right))
        return kExitTrouble;
    return Print(left, right, args.json, out);
}

int DiffTransmitterCommand(WorkflowContext& context, const std::vector<std::string>& words,
                           std::ostream& out, std::ostream& err) {
    DiffArgs args;
    if (!ParseDiffArgs(words, args, err)) return kExitTrouble;
    if (args.files.size() != 1) {
        err << "diff against the transmitter takes one configuration file\n";
        return kExitTrouble;
    }
    // Questions that a read raises (a units repair) are declined: diff never writes.
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    CConfigSummary file;
    if (!LoadSummary(args.files[0], file)) return kExitTrouble;
    std::ostringstream connected;
    if (ConnectCommand(context, {}, connected, err) != 0) return kExitTrouble;
    CConfigSummary transmitter;
    try {
        transmitter = config::ReadTransmitterSummary(context.Comm());
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitTrouble;
    }
    return Print(file, transmitter, args.json, out);
}

std::string DiffCommandUsage() {
    return "  diff A.cmm [B.cmm] [--json]  print the values that differ between two configuration\n"
           "                              files, or between A and the transmitter; exit status\n"
           "                              0 equal, 1 different, 2 trouble\n";
}

}  // namespace cli
