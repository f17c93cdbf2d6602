#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// CTransmitter.h needs the complete flow class for its inline members.
#include "flow/CFlow.h"
#include "transmitter/CTransmitter.h"

// The configuration document: one complete transmitter configuration, edited by
// the Setup dialogs, filled by Receive, written by Send, and kept in a
// configuration file.
//
// Failures of Open and Save are split in two: the document shows its own
// plain message ("File open error: ..." / "File save error: ...") and then
// throws the failure on, unchanged. The caller reports that failure with
// ReportException, which shows the text of its kind and cause (file and
// archive causes, out of memory) or nothing for a silent abandon (an illegal
// unit, whose 2048/2049 message has already been shown).
class CMVDoc {
  public:
    CMVDoc();
    ~CMVDoc();
    CMVDoc(const CMVDoc&) = delete;
    CMVDoc& operator=(const CMVDoc&) = delete;

    CTransmitter& Transmitter() { return *m_transmitter; }
    const CTransmitter& Transmitter() const { return *m_transmitter; }

    // Every part of the model back to its defaults (the flow configuration to
    // those of its own kind, variable assignment 32, 0, 1, 2), no file name,
    // not modified. The format version is kept.
    void New();

    // Loads a configuration file of any extension. A file that cannot be read
    // (missing, not allowed, too large) leaves the document exactly as it was.
    // A file that is read but cannot be loaded leaves the document as after
    // New (never half-loaded, untitled, the flow configuration of the kind the
    // document had). Either way the open-error message has been shown and the
    // failure is thrown on.
    void Open(const std::string& path);
    // As Open, from the bytes of a file; the file name is not changed on
    // success.
    void Load(const std::vector<uint8_t>& bytes);

    // Writes the configuration so that the file already at `path` survives any
    // failure. On success the document takes the file's name and is not
    // modified; on failure the save-error message has been shown, the failure
    // is thrown on and the document is unchanged.
    void Save(const std::string& path);
    // True when a file exists at `path` and it is not the file whose content
    // the document holds (the one it was opened from or last saved to): saving
    // there would replace another configuration.
    bool ReplacesAnotherFile(const std::string& path) const;
    // The bytes a save writes. Throws (without a message of its own) when the
    // model cannot be stored.
    std::vector<uint8_t> Store() const;

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    // The names the workflow code uses for the same operations.
    void SetModifiedFlag(bool modified = true) { SetModified(modified); }
    void LoadFrom(const std::string& path) { Open(path); }
    void SaveTo(const std::string& path) { Save(path); }

    // Not in the file: whether a link to a transmitter is up, and its address.
    bool LinkAvailable() const { return m_linkAvailable; }
    void SetLinkAvailable(bool available) { m_linkAvailable = available; }
    int PollingAddress() const { return m_pollingAddress; }
    void SetPollingAddress(int address) { m_pollingAddress = address; }

    // The name the document is saved under; empty while it is untitled.
    const std::string& PathName() const { return m_pathName; }
    // Names the document without touching any file (a received configuration
    // is named after the transmitter's tag). The document then no longer holds
    // the content of the file it came from. The recent-file list belongs to
    // the front end, so the flag only mirrors the framework call.
    void SetPathName(const std::string& path, bool /*addToRecentFiles*/ = true) {
        m_pathName = path;
        m_sourceFile.clear();
    }
    // The file's name without folder, or "Untitled" without a file.
    std::string Title() const;

  private:
    // Loads the bytes; on a failure the document is as after New, keeping the
    // kind of flow configuration it had, and the open error has been shown.
    void LoadInto(const std::vector<uint8_t>& bytes);

    std::unique_ptr<CTransmitter> m_transmitter;
    bool m_modified = false;
    bool m_linkAvailable = false;
    int m_pollingAddress = -1;
    std::string m_pathName;
    std::string m_sourceFile;
};
