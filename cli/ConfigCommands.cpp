#include "cli/ConfigCommands.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/CMVDoc.h"
#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/JsonText.h"
#include "cli/WorkflowCommands.h"
#include "config/CConfigForm.h"
#include "config/CDampingForm.h"
#include "config/CDataFormatsForm.h"
#include "config/CDeviceInfoForm.h"
#include "config/CLcdDisplayForm.h"
#include "config/CTransmitterCommForm.h"
#include "config/CSensorLimitsForm.h"
#include "config/CSetupLimitsForm.h"
#include "config/CUnitsForm.h"
#include "link/ErrorReport.h"
#include "maintenance/CFixedPtForm.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr unsigned kIdSafetyPrompt = 390;
constexpr const char* kNeedsYesForSafety =
    "Nothing was written. Place the control loop in MANUAL and repeat the command with --yes.";
constexpr const char* kNeedsYesForQuestion =
    "Nothing was written. Repeat the command with --yes to answer OK to the question above.";

using FormFactory = std::function<std::unique_ptr<CConfigForm>(CMVDoc&, int mode)>;

// An area of the configuration and the forms that serve it; a mode without a
// form is not offered.
struct Area {
    const char* name;
    FormFactory setup;
    FormFactory transmitter;
};

template <typename Form>
std::unique_ptr<CConfigForm> Make(CMVDoc& doc, int mode) {
    return std::make_unique<Form>(doc, mode);
}

const std::vector<Area>& Areas() {
    static const std::vector<Area> areas = {
        {"units", Make<CUnitsForm>, Make<CUnitsForm>},
        {"damping", Make<CDampingForm>, Make<CDampingForm>},
        {"device-info", Make<CDeviceInfoForm>, Make<CDeviceInfoForm>},
        {"lcd", Make<CLcdDisplayForm>, Make<CLcdDisplayForm>},
        {"comm", Make<CTransmitterCommForm>, Make<CTransmitterCommForm>},
        {"limits", Make<CSetupLimitsForm>, Make<CSensorLimitsForm>},
        {"data-formats", Make<CDataFormatsForm>, Make<CDataFormatsForm>},
        {"fixed-pt", nullptr,
         [](CMVDoc& doc, int) -> std::unique_ptr<CConfigForm> {
             return std::make_unique<CFixedPtForm>(doc);
         }},
    };
    return areas;
}

const Area* FindArea(const std::string& name) {
    for (const Area& area : Areas()) {
        if (name == area.name) return &area;
    }
    return nullptr;
}

struct ConfigArgs {
    bool isSet = false;
    const Area* area = nullptr;
    std::vector<std::pair<std::string, std::string>> values;
    bool json = false;
    bool yes = false;
    std::string file;
};

bool ParseArgs(const std::string& command, const std::vector<std::string>& words, ConfigArgs& args,
               std::ostream& err) {
    args.isSet = command == "set";
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--json" && !args.isSet) {
            args.json = true;
        } else if (word == "--yes" && args.isSet) {
            args.yes = true;
        } else if (word == "--file") {
            if (i + 1 >= words.size()) {
                err << command << ": --file needs the configuration file\n";
                return false;
            }
            args.file = words[++i];
        } else if (args.area == nullptr && !word.empty() && word[0] != '-') {
            args.area = FindArea(word);
            if (args.area == nullptr) {
                err << command << ": unknown area \"" << word << "\"\n";
                return false;
            }
        } else if (args.isSet && word.find('=') != std::string::npos && word[0] != '=') {
            const size_t equals = word.find('=');
            args.values.emplace_back(word.substr(0, equals), word.substr(equals + 1));
        } else {
            err << command << ": unknown argument \"" << word << "\"\n";
            return false;
        }
    }
    if (args.area == nullptr) {
        err << command << " needs an area: " << ConfigCommandUsage();
        return false;
    }
    if (args.isSet && args.values.empty()) {
        err << "set needs at least one KEY=VALUE\n";
        return false;
    }
    return true;
}

void PrintFields(const CConfigForm& form, bool json, std::ostream& out) {
    const std::vector<FormField> fields = form.TerminalFields();
    if (json) {
        out << '{';
        bool first = true;
        for (const FormField& field : fields) {
            out << (first ? "" : ", ") << JsonString(field.key) << ": ";
            first = false;
            const std::string shown = field.Shown();
            if (field.kind == FieldKind::Choice && field.selected < 0) {
                out << "null";
            } else if (field.kind == FieldKind::Number && IsJsonNumber(shown)) {
                out << shown;
            } else {
                out << JsonString(shown);
            }
        }
        out << "}\n";
        return;
    }
    for (const FormField& field : fields) {
        out << field.key << ": " << field.Shown();
        if (!field.suffix.empty()) out << ' ' << field.suffix;
        out << '\n';
    }
}

// Runs the form as the window would: opening reads, `get` prints, `set`
// enters the values and presses OK.
int RunForm(CConfigForm& form, const ConfigArgs& args, CConsoleUi& ui, std::ostream& out,
            std::ostream& err) {
    if (!form.Open()) return kExitFailure;
    if (!args.isSet) {
        PrintFields(form, args.json, out);
        return 0;
    }
    const std::vector<std::string> keys = form.TerminalKeys();
    for (const auto& [key, value] : args.values) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            err << "set " << args.area->name << ": unknown key \"" << key << "\"; the keys are";
            for (const std::string& known : keys) err << ' ' << known;
            err << '\n';
            return kExitUsage;
        }
    }
    for (const auto& [key, value] : args.values) {
        const std::string reason = form.SetValue(key, value);
        if (!reason.empty()) {
            err << reason << '\n';
            return kExitFailure;
        }
    }
    const FormOutcome outcome = form.Ok();
    if (outcome.message) {
        err << outcome.message->text << '\n';
        return kExitFailure;
    }
    if (outcome.result == FormResult::Ok) return 0;
    if (outcome.settled) {
        PrintFields(form, false, out);
        return 0;
    }
    if (!ui.Declined().empty()) {
        err << (ui.Declined() == LoadString(kIdSafetyPrompt) ? kNeedsYesForSafety
                                                             : kNeedsYesForQuestion)
            << '\n';
    }
    return kExitFailure;
}

CConsoleUi::Questions QuestionsFor(const ConfigArgs& args) {
    return args.yes ? CConsoleUi::Questions::AnswerYes : CConsoleUi::Questions::Decline;
}

}  // namespace

bool ConfigCommandOnFile(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--file") return true;
    }
    return false;
}

int ConfigFileCommand(const std::string& command, const std::vector<std::string>& words,
                      std::ostream& out, std::ostream& err) {
    ConfigArgs args;
    if (!ParseArgs(command, words, args, err)) return kExitUsage;
    if (!args.area->setup) {
        err << command << ": " << args.area->name << " is not kept in a configuration file\n";
        return kExitUsage;
    }
    CConsoleUi ui(err, QuestionsFor(args));
    CScopedUi scope(ui);
    CMVDoc doc;
    try {
        doc.Open(args.file);
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitFailure;
    }
    std::unique_ptr<CConfigForm> form = args.area->setup(doc, config::kSetupMode);
    const int status = RunForm(*form, args, ui, out, err);
    if (status != 0 || !args.isSet || !doc.IsModified()) return status;
    try {
        doc.Save(args.file);
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitFailure;
    }
    return 0;
}

int ConfigTransmitterCommand(const std::string& command, WorkflowContext& context,
                             const std::vector<std::string>& words, std::ostream& out,
                             std::ostream& err) {
    ConfigArgs args;
    if (!ParseArgs(command, words, args, err)) return kExitUsage;
    if (!args.area->transmitter) {
        err << command << ": " << args.area->name
            << " is kept only in a configuration file; use --file\n";
        return kExitUsage;
    }
    CConsoleUi ui(err, QuestionsFor(args));
    CScopedUi scope(ui);
    std::ostringstream connected;
    if (ConnectCommand(context, {}, connected, err) != 0) return kExitFailure;
    std::unique_ptr<CConfigForm> form =
        args.area->transmitter(context.doc, config::kTransmitterMode);
    return RunForm(*form, args, ui, out, err);
}

std::string ConfigCommandUsage() {
    std::string areas;
    for (const Area& area : Areas()) areas += std::string(areas.empty() ? "" : ", ") + area.name;
    return "  get AREA [--json] [--file F]  print the fields of a configuration window, from the\n"
           "                              transmitter or (--file) from a configuration file\n"
           "  set AREA KEY=VALUE... [--yes] [--file F]\n"
           "                              change fields as the window would; --yes answers the\n"
           "                              safety prompt and the window's warnings\n"
           "                              areas: " +
           areas + "\n";
}

}  // namespace cli
