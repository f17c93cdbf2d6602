#include "app/CMVDoc.h"

#include "app/CArchive.h"
#include "app/ConfigFileFormat.h"
#include "app/FileBytes.h"
#include "platform/UiServices.h"

namespace {

constexpr const char* kSaveErrorText = "File save error: please delete any file created";
constexpr const char* kOpenErrorText = "File open error: this file cannot be used";
constexpr const char* kUntitled = "Untitled";

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
    m_modified = false;
}

void CMVDoc::LoadInto(const std::vector<uint8_t>& bytes) {
    // A file loads into a model at its defaults, so that nothing of the
    // previous configuration shows through fields the file does not hold.
    m_transmitter->Reset();
    CArchive archive(bytes);
    app::LoadConfiguration(archive, *m_transmitter);
}

void CMVDoc::Load(const std::vector<uint8_t>& bytes) {
    try {
        LoadInto(bytes);
        m_modified = false;
    } catch (...) {
        New();
        ShowPlain(kOpenErrorText);
        throw;
    }
}

void CMVDoc::Open(const std::string& path) {
    try {
        LoadInto(app::ReadFileBytes(path));
    } catch (...) {
        New();
        ShowPlain(kOpenErrorText);
        throw;
    }
    m_pathName = path;
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
    m_modified = false;
}

std::string CMVDoc::Title() const {
    if (m_pathName.empty()) return kUntitled;
    const size_t slash = m_pathName.rfind('/');
    return slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
}
