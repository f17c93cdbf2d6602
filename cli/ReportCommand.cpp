#include "cli/ReportCommand.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#include "app/CMVDoc.h"
#include "app/WorkflowContext.h"
#include "cli/CConsoleUi.h"
#include "cli/WorkflowCommands.h"
#include "config/CCommissioningReport.h"
#include "config/TransmitterSummary.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "transmitter/CComm.h"

#ifdef CORVEL_CLI_REPORT
#include "report/ReportContent.h"
#include "report/ReportPdf.h"
#endif

namespace cli {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct ReportArgs {
    std::string file;
    std::string output;
    bool device = false;
    bool html = false;
};

bool ParseReportArgs(const std::vector<std::string>& words, ReportArgs& args, std::ostream& err) {
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "-o" || word == "--output") {
            if (i + 1 >= words.size()) {
                err << "report: " << word << " needs a file name\n";
                return false;
            }
            args.output = words[++i];
        } else if (word == "--device") {
            args.device = true;
        } else if (word == "--html") {
            args.html = true;
        } else if (!word.empty() && word[0] != '-' && args.file.empty()) {
            args.file = word;
        } else {
            err << "report: unknown argument \"" << word << "\"\n";
            return false;
        }
    }
    if (args.output.empty() || args.device == !args.file.empty()) {
        err << "report needs a configuration file or --device, and -o REPORT: "
               "report CONFIG.cmm -o REPORT.pdf [--html]\n";
        return false;
    }
    return true;
}

int Write(const CCommissioningReport& report, const ReportArgs& args, std::ostream& out,
          std::ostream& err) {
#ifdef CORVEL_CLI_REPORT
    report::CGuiForReport gui;
    std::string error;
    const PaperSize paper =
        CCommissioningReport::PaperForLocale(CCommissioningReport::PaperLocaleFromEnvironment());
    const bool written = args.html ? report::WriteHtml(report, args.output, error)
                                   : report::WritePdf(report, args.output, paper, error);
    if (!written) {
        err << "report: " << args.output << " could not be written: " << error << '\n';
        return kExitFailure;
    }
    out << "Report written to " << args.output << '\n';
    return 0;
#else
    (void)report;
    (void)args;
    (void)out;
    err << "report: this build has no report writer\n";
    return kExitFailure;
#endif
}

std::string Now() {
#ifdef CORVEL_CLI_REPORT
    return report::LocalTimeText();
#else
    return std::string();
#endif
}

}  // namespace

bool ReportOnDevice(const std::vector<std::string>& words) {
    return std::find(words.begin(), words.end(), "--device") != words.end();
}

int ReportFileCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    ReportArgs args;
    if (!ParseReportArgs(words, args, err)) return kExitUsage;
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    CMVDoc doc;
    CCommissioningReport report;
    try {
        doc.Open(args.file);
        report.document = CConfigSummary::FromModel(doc.Transmitter());
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitFailure;
    }
    report.date = Now();
    report.source = args.file;
    return Write(report, args, out, err);
}

int ReportDeviceCommand(WorkflowContext& context, const std::vector<std::string>& words,
                        std::ostream& out, std::ostream& err) {
    ReportArgs args;
    if (!ParseReportArgs(words, args, err)) return kExitUsage;
    // Reads only: any question a read raises is declined.
    CConsoleUi ui(err, CConsoleUi::Questions::Decline);
    CScopedUi scope(ui);
    std::ostringstream connected;
    if (ConnectCommand(context, {}, connected, err) != 0) return kExitFailure;
    CCommissioningReport report;
    try {
        report.document = config::ReadTransmitterSummary(context.Comm());
    } catch (const std::exception& e) {
        ReportException(e);
        return kExitFailure;
    }
#ifdef CORVEL_CLI_REPORT
    report.identification = report::ReadIdentification(context.doc);
    if (report.identification.empty()) return kExitFailure;
#endif
    report.date = Now();
    const SummaryField* tag = report.document.Field("device", "tag");
    report.changes = CCommissioningReport::ChangesOfThisRun(tag != nullptr ? tag->value : "");
    report.source =
        "transmitter at polling address " + std::to_string(context.Comm().CurrentPollingAddress());
    return Write(report, args, out, err);
}

std::string ReportCommandUsage() {
    return "  report CONFIG.cmm -o REPORT.pdf [--html]\n"
           "                              write the commissioning report of a configuration\n"
           "                              file (as HTML with --html)\n"
           "  report --device -o REPORT.pdf [--html]\n"
           "                              the same of the connected transmitter\n";
}

}  // namespace cli
