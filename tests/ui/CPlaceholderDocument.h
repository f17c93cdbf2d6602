#pragma once

#include <string>

#include "app/ui/IAppDocument.h"

// A document double for the window tests. It knows no file format: Load only
// checks that the file can be read, and Save refuses with "not supported". The
// connection fields are plain values that the tests set.
class CPlaceholderDocument : public IAppDocument {
  public:
    void NewDocument() override;
    void Load(const std::string& path) override;
    void Save(const std::string& path) override;

    std::string PathName() const override { return m_loadedPath; }
    // Any existing file but the one loaded last.
    bool ReplacesAnotherFile(const std::string& path) const override;
    bool IsModified() const override { return m_modified; }
    void SetModified(bool modified) override { m_modified = modified; }
    bool LinkAvailable() const override { return m_linkAvailable; }
    void SetLinkAvailable(bool available) override { m_linkAvailable = available; }
    int PollingAddress() const override { return m_pollingAddress; }
    void SetPollingAddress(int address) override { m_pollingAddress = address; }

    // State 5 whenever the link is unavailable, else the state last set.
    int AccessState() override;
    std::string CurrentTag() const override { return m_tag; }

    void SetConnection(int accessState, std::string tag = {});
    const std::string& LoadedPath() const { return m_loadedPath; }
    int NewCount() const { return m_newCount; }

  private:
    bool m_modified = false;
    bool m_linkAvailable = false;
    int m_pollingAddress = -1;
    int m_accessState = 5;
    std::string m_tag;
    std::string m_loadedPath;
    int m_newCount = 0;
};
