#include "app/CMVDoc.h"

#include <filesystem>
#include <system_error>

#include "app/CArchive.h"
#include "app/ConfigFileFormat.h"
#include "app/FileBytes.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "platform/UiServices.h"

namespace {

constexpr const char* kSaveErrorText = "File save error: please delete any file created";
constexpr const char* kOpenErrorText = "File open error: this file cannot be used";
constexpr const char* kUntitled = "Untitled";

enum class FlowKind { None, Gas, Liquid };

FlowKind KindOf(const CTransmitter& model) {
    if (!model.HasFlow()) return FlowKind::None;
    return model.Flow()->IsLiquid() ? FlowKind::Liquid : FlowKind::Gas;
}

// Gives the model a default flow configuration of the kind, or none.
void GiveFlowKind(CTransmitter& model, FlowKind kind) {
    if (KindOf(model) == kind) return;
    switch (kind) {
        case FlowKind::None:
            model.RemoveFlow();
            break;
        case FlowKind::Gas:
            model.SetFlow(std::make_unique<CGasFlow>());
            break;
        case FlowKind::Liquid:
            model.SetFlow(std::make_unique<CLiquidFlow>());
            break;
    }
}

void ShowPlain(const char* text) {
    try {
        Ui().MessageBox(text, MsgButtons::Ok, MsgIcon::None);
    } catch (...) {
        // The failure being reported matters more than its first message.
    }
}

}  // namespace

CMVDoc::CMVDoc() : m_transmitter(std::make_unique<CTransmitter>()) { m_transmitter->Reset(); }

CMVDoc::~CMVDoc() = default;

void CMVDoc::New() {
    m_transmitter->Reset();
    m_pathName.clear();
    m_sourceFile.clear();
    m_modified = false;
}

void CMVDoc::LoadInto(const std::vector<uint8_t>& bytes) {
    const FlowKind kind = KindOf(*m_transmitter);
    try {
        // A file loads into a model at its defaults, so that nothing of the
        // previous configuration shows through fields the file does not hold.
        m_transmitter->Reset();
        CArchive archive(bytes);
        app::LoadConfiguration(archive, *m_transmitter);
    } catch (...) {
        // The load may have stopped after replacing the flow configuration.
        GiveFlowKind(*m_transmitter, kind);
        New();
        ShowPlain(kOpenErrorText);
        throw;
    }
}

void CMVDoc::Load(const std::vector<uint8_t>& bytes) {
    LoadInto(bytes);
    m_modified = false;
}

void CMVDoc::Open(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = app::ReadFileBytes(path);
    } catch (...) {
        // Nothing of the document has changed: it keeps its content and name.
        ShowPlain(kOpenErrorText);
        throw;
    }
    LoadInto(bytes);
    m_pathName = path;
    m_sourceFile = path;
    m_modified = false;
}

std::vector<uint8_t> CMVDoc::Store() const {
    CArchive archive;
    app::StoreConfiguration(archive, *m_transmitter);
    return archive.Buffer();
}

void CMVDoc::Save(const std::string& path) {
    try {
        app::WriteFileAtomically(path, Store());
    } catch (...) {
        ShowPlain(kSaveErrorText);
        throw;
    }
    m_pathName = path;
    m_sourceFile = path;
    m_modified = false;
}

bool CMVDoc::ReplacesAnotherFile(const std::string& path) const {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return false;
    if (m_sourceFile.empty()) return true;
    // A source file that has gone since is not the file now at `path`.
    return !std::filesystem::equivalent(path, m_sourceFile, error);
}

std::string CMVDoc::Title() const {
    if (m_pathName.empty()) return kUntitled;
    const size_t slash = m_pathName.rfind('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}
