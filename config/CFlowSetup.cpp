#include "config/CFlowSetup.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/CMVDoc.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "flow/FlowTestFiles.h"
#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace config {
namespace {

constexpr unsigned kIdCannotOpenFile = 351;
constexpr unsigned kIdReinstall = 2023;
constexpr unsigned kIdReceivedConfiguration = 2034;
constexpr unsigned kIdSendAsIs = 2035;
constexpr unsigned kIdTypeValues = 2036;
constexpr unsigned kIdSaveToFile = 2044;
constexpr unsigned kIdNotCompleted = 2102;

bool CanOpen(const std::string& directory, const std::string& fileName) {
    if (fileName.empty()) return false;
    std::ifstream file(std::filesystem::path(directory) / fileName, std::ios::binary);
    return file.is_open();
}

// The folder as the message names it, with its separator at the end.
std::string WithSeparator(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

bool FluidInDatabase(const CFlow& flow) { return flow.Database().LookUp(flow.FluidName(), false); }

}  // namespace

FlowSetupEnd RunFlowSetup(CMVDoc& doc, const GridComponent& component) {
    if (!CanOpen(component.systemDirectory, component.fileName) &&
        !CanOpen(component.currentDirectory, component.fileName)) {
        Ui().MessageBox(LoadString(kIdCannotOpenFile) + WithSeparator(component.systemDirectory) +
                            LoadString(kIdReinstall),
                        MsgButtons::Ok, MsgIcon::Stop);
        return FlowSetupEnd::ComponentMissing;
    }

    CTransmitter& model = doc.Transmitter();
    if (!model.HasFlow()) {
        auto created = std::make_unique<CGasFlow>();
        created->InitialiseWithDefaults();
        doc.SetModified(true);
        model.SetFlow(std::move(created));
    }
    const CFlow& current = *model.Flow();
    std::unique_ptr<CFlow> copy;
    if (current.IsLiquid())
        copy = std::make_unique<CLiquidFlow>();
    else
        copy = std::make_unique<CGasFlow>();
    copy->InitialiseWithDefaults();
    copy->CopyFrom(current);

    const CCurveFit* density = copy->Density();
    if (density != nullptr && density->Valid() && density->PointCount() == 0 &&
        !FluidInDatabase(*copy)) {
        Ui().MessageBox(LoadString(kIdReceivedConfiguration) + LoadString(kIdSendAsIs) +
                            LoadString(kIdTypeValues),
                        MsgButtons::Ok, MsgIcon::None);
    }
    copy->InvalidateFits();

    // The setup pages would work on the copy here; without them the copy is
    // dropped and the document keeps what it had.
    Ui().MessageBox(LoadString(kIdNotCompleted), MsgButtons::Ok, MsgIcon::Stop);
    return FlowSetupEnd::PagesUnavailable;
}

CFlowSetupCompletion::CFlowSetupCompletion(CMVDoc& doc, bool connectAllowed)
    : m_doc(doc), m_connectAllowed(connectAllowed) {}

std::string CFlowSetupCompletion::FileNote() const {
    const CFlow* flow = m_doc.Transmitter().Flow();
    if (flow != nullptr && !FluidInDatabase(*flow)) return LoadString(kIdSaveToFile);
    return texts::kFlowFileNote;
}

void CFlowSetupCompletion::WriteTestFiles(const std::string& directory) {
    Ui().MessageBox(texts::kWritingFlowTestFiles, MsgButtons::Ok, MsgIcon::None);
    try {
        CWaitCursor wait;
        flow::WriteFlowTestFiles(m_doc.Transmitter().Flow(), directory);
    } catch (const std::exception& e) {
        ReportException(e);
    }
}

}  // namespace config
