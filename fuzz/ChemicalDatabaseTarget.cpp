#include "fuzz/ChemicalDatabaseTarget.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "flow/CChemicalDatabase.h"
#include "fuzz/FuzzUi.h"
#include "resources/Strings.h"

namespace fuzz {
namespace {

constexpr unsigned kMsgNotFound = 352;
// Each listed name costs five reads of the file; a few are enough to reach
// every path.
constexpr size_t kNamesChecked = 4;

// The input as a file in memory, reopened by the reader through /proc.
class CMemoryFile {
  public:
    CMemoryFile() : m_fd(::memfd_create("chemical-db", MFD_CLOEXEC)) {}
    ~CMemoryFile() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;

    // The path of a file holding exactly these bytes, or empty on failure.
    std::string Hold(const uint8_t* data, size_t size) {
        if (m_fd < 0 || ::ftruncate(m_fd, 0) != 0) return {};
        size_t done = 0;
        while (done < size) {
            const ssize_t put = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (put <= 0) return {};
            done += static_cast<size_t>(put);
        }
        return "/proc/self/fd/" + std::to_string(m_fd);
    }

  private:
    int m_fd;
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string CheckDatabaseInput(const uint8_t* data, size_t size) {
    static CMemoryFile file;
    const std::string path = file.Hold(data, size);
    if (path.empty()) return "the input could not be held in memory";
    const CChemicalDatabase db(path);
    CRecordingUi ui;

    std::vector<std::string> names;
    const bool listed = db.ListNames(names);
    if (listed != (size > 0)) return "the name list does not follow the first line";

    const std::string notFound = LoadString(kMsgNotFound);
    for (size_t n = 0; n < names.size() && n < kNamesChecked; ++n) {
        const std::string& name = names[n];
        if (name.empty() || name.size() > CChemicalDatabase::kMaxName)
            return "a listed name of length " + std::to_string(name.size());
        for (const char c : name) {
            if (c == '$' || (c >= 'a' && c <= 'z')) return "listed name \"" + name + "\"";
        }
        ui.texts.clear();
        double number = 0.0;
        if (db.LookUp(name, true, &number) && !std::isfinite(number))
            return "a look-up number that is not finite";
        if (std::any_of(ui.texts.begin(), ui.texts.end(),
                        [&](const std::string& t) { return StartsWith(t, notFound); }))
            return "the listed name \"" + name + "\" is not found";
        for (const auto kind : {CChemicalDatabase::RecordKind::LiquidDensity,
                                CChemicalDatabase::RecordKind::HeatCapacity,
                                CChemicalDatabase::RecordKind::SecondVirial,
                                CChemicalDatabase::RecordKind::Viscosity}) {
            CChemicalDatabase::Record record{};
            const bool read = db.ReadRecord(name, kind, record);
            const size_t count = kind == CChemicalDatabase::RecordKind::Viscosity ? 10 : 5;
            for (size_t k = 0; k < record.size(); ++k) {
                if (!std::isfinite(record[k])) return "a record value that is not finite";
                if ((!read || k >= count) && record[k] != 0.0)
                    return "a record value beyond what was read";
            }
        }
    }

    // A name from the input's first bytes: found or not, the reader answers.
    const size_t length = std::min<size_t>(size, 16);
    db.LookUp(std::string(reinterpret_cast<const char*>(data), length), true);
    return {};
}

}  // namespace fuzz
