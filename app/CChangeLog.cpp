#include "app/CChangeLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>
#include <system_error>

#include "link/CCommException.h"
#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "platform/UiServices.h"
#include "transmitter/CComm.h"

namespace {

constexpr const char* kLogFolder = "Kelmarsh/Corvel Configurator";
constexpr const char* kLogFile = "changes.jsonl";

// --- JSON of one flat record -------------------------------------------------

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A reader of one line holding a flat object of string and number values.
class CFlatJson {
  public:
    explicit CFlatJson(const std::string& text) : m_text(text) {}

    // Calls `value(key, text, isString)` for each member; false on any fault.
    template <typename OnValue>
    bool Parse(OnValue value) {
        Blanks();
        if (!Take('{')) return false;
        Blanks();
        if (Take('}')) return End();
        for (;;) {
            std::string key;
            std::string text;
            Blanks();
            if (!String(key)) return false;
            Blanks();
            if (!Take(':')) return false;
            Blanks();
            bool isString = Peek() == '"';
            if (isString ? !String(text) : !Number(text)) return false;
            value(key, text, isString);
            Blanks();
            if (Take('}')) return End();
            if (!Take(',')) return false;
        }
    }

  private:
    char Peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }
    bool Take(char c) {
        if (Peek() != c || m_at >= m_text.size()) return false;
        ++m_at;
        return true;
    }
    void Blanks() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t')) ++m_at;
    }
    bool End() {
        Blanks();
        return m_at == m_text.size();
    }
    bool Hex4(unsigned& code) {
        if (m_at + 4 > m_text.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_text[m_at++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }
    bool String(std::string& out) {
        if (!Take('"')) return false;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size()) return false;
            const char e = m_text[m_at++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned code = 0;
                    if (!Hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && m_text.compare(m_at, 2, "\\u") == 0) {
                        m_at += 2;
                        unsigned low = 0;
                        if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;  // the closing quote never came
    }
    bool Number(std::string& out) {
        const size_t start = m_at;
        while (m_at < m_text.size() && std::strchr("+-.0123456789eE", m_text[m_at]) != nullptr)
            ++m_at;
        out = m_text.substr(start, m_at - start);
        return !out.empty();
    }

    const std::string& m_text;
    size_t m_at = 0;
};

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

// strtod under any C locale: the log always writes a decimal point.
bool ParseNumber(const std::string& text, double& value) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

CChangeLog*& Installed() {
    static CChangeLog none{std::string()};
    static CChangeLog* installed = &none;
    return installed;
}

}  // namespace

CChangeLog::CChangeLog(std::string path) : m_path(std::move(path)) {}

std::string CChangeLog::DefaultPath() {
    return XdgBaseFolder("XDG_STATE_HOME", ".local/state") + "/" + kLogFolder + "/" + kLogFile;
}

std::string CChangeLog::LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // ISO 8601 writes the offset as +hh:mm.
    std::string stamp = text;
    if (stamp.size() >= 5) stamp.insert(stamp.size() - 2, ":");
    return stamp;
}

std::string CChangeLog::ToJson(const ChangeRecord& r) {
    std::string line = "{";
    auto member = [&line](const char* key, const std::string& value) {
        if (line.size() > 1) line += ',';
        AppendQuoted(line, key);
        line += ':';
        AppendQuoted(line, value);
    };
    member("time", r.time);
    member("port", r.port);
    line += ",\"bitRate\":" + NumberText(r.bitRate);
    line += ",\"address\":" + std::to_string(r.address);
    member("tag", r.tag);
    member("area", r.area);
    member("field", r.field);
    member("old", r.oldValue);
    member("new", r.newValue);
    member("outcome", r.outcome);
    if (!r.error.empty()) member("error", r.error);
    if (!r.kept.empty()) member("kept", r.kept);
    return line + "}";
}

bool CChangeLog::FromJson(const std::string& line, ChangeRecord& record) {
    ChangeRecord parsed;
    bool good = true;
    bool hasTime = false;
    bool hasOutcome = false;
    CFlatJson json(line);
    const bool whole =
        json.Parse([&](const std::string& key, const std::string& text, bool isString) {
            if (key == "bitRate" || key == "address") {
                double number = 0;
                if (isString || !ParseNumber(text, number)) {
                    good = false;
                } else if (key == "bitRate") {
                    parsed.bitRate = number;
                } else {
                    parsed.address = static_cast<int>(std::lround(number));
                }
                return;
            }
            if (!isString) return;  // a number this version does not know
            if (key == "time") {
                parsed.time = text;
                hasTime = true;
            } else if (key == "port")
                parsed.port = text;
            else if (key == "tag")
                parsed.tag = text;
            else if (key == "area")
                parsed.area = text;
            else if (key == "field")
                parsed.field = text;
            else if (key == "old")
                parsed.oldValue = text;
            else if (key == "new")
                parsed.newValue = text;
            else if (key == "outcome") {
                parsed.outcome = text;
                hasOutcome = true;
            } else if (key == "error")
                parsed.error = text;
            else if (key == "kept")
                parsed.kept = text;
        });
    if (!whole || !good || !hasTime || !hasOutcome) return false;
    record = std::move(parsed);
    return true;
}

bool CChangeLog::Write(const std::string& line) {
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);

    const int fd = ::open(m_path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    // A line torn by a crash has no newline: start on a line of our own, so
    // the damage stays in that one line.
    std::string bytes = line + '\n';
    struct stat info {};
    char last = '\n';
    if (::fstat(fd, &info) == 0 && info.st_size > 0 &&
        ::pread(fd, &last, 1, info.st_size - 1) == 1 && last != '\n') {
        bytes.insert(bytes.begin(), '\n');
    }
    ssize_t written = -1;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    const int saved = errno;
    const bool whole = written == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
    const int syncError = errno;
    ::close(fd);
    errno = written < 0 ? saved : (whole ? 0 : (syncError != 0 ? syncError : EIO));
    return whole;
}

bool CChangeLog::Append(const ChangeRecord& record) {
    if (m_path.empty()) return true;
    m_thisRun.push_back(record);
    errno = 0;
    if (Write(ToJson(record))) return true;
    const int error = errno;
    if (!m_warned) {
        m_warned = true;
        Ui().MessageBox("The change log " + m_path +
                            " cannot be written: " + SystemErrorText(error != 0 ? error : EIO) +
                            "\nChanges to transmitters are made but not recorded. This "
                            "warning is not repeated until the program starts again.",
                        MsgButtons::Ok, MsgIcon::Exclamation);
    }
    return false;
}

std::vector<ChangeRecord> CChangeLog::Read(const std::string& path, size_t* skipped) {
    std::vector<ChangeRecord> records;
    size_t bad = 0;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        ChangeRecord record;
        if (FromJson(line, record)) {
            records.push_back(std::move(record));
        } else {
            ++bad;
        }
    }
    if (skipped != nullptr) *skipped = bad;
    return records;
}

CChangeLog& ChangeLog() { return *Installed(); }

CScopedChangeLog::CScopedChangeLog(CChangeLog& log) : m_previous(Installed()) {
    Installed() = &log;
}

CScopedChangeLog::~CScopedChangeLog() { Installed() = m_previous; }

namespace changelog {

ChangeRecord RecordFor(CComm& comm, const std::string& area, const std::string& field,
                       const std::string& oldValue, const std::string& newValue) {
    ChangeRecord record;
    record.time = CChangeLog::LocalTimeNow();
    if (comm.HasProtocol() && comm.Protocol().HasLink()) {
        CCommLink& link = *comm.Protocol().Link();
        record.port = link.PortLabel();
        record.bitRate = link.BitRate();
    }
    record.address = comm.CurrentPollingAddress();
    if (comm.CurrentSlot() != CComm::kNoSlot) record.tag = comm.CurrentTag();
    record.area = area;
    record.field = field;
    record.oldValue = oldValue;
    record.newValue = newValue;
    return record;
}

void RecordWrite(CComm& comm, const std::string& area, const std::string& field,
                 const std::string& oldValue, const std::string& newValue,
                 const std::function<void()>& write, const std::function<std::string()>& kept) {
    if (!ChangeLog().Keeps()) {
        write();
        return;
    }
    ChangeRecord record = RecordFor(comm, area, field, oldValue, newValue);
    try {
        write();
    } catch (const std::exception& e) {
        const auto* failure = dynamic_cast<const CCommException*>(&e);
        if (failure != nullptr && failure->Error() == commerr::kDampingNearest) {
            record.outcome = ChangeRecord::kWarning;
            if (kept) {
                try {
                    record.kept = kept();
                } catch (const std::exception&) {
                    // The value could not be read back; the warning stands alone.
                }
            }
        } else {
            record.outcome = ChangeRecord::kRejected;
            record.error = MessageText(e);
            if (record.error.empty()) record.error = e.what();
        }
        ChangeLog().Append(record);
        throw;
    }
    record.outcome = ChangeRecord::kDone;
    ChangeLog().Append(record);
}

}  // namespace changelog
