#pragma once

#include <memory>
#include <string>

#include "app/CMVDoc.h"
#include "app/CSecurity.h"
#include "app/WorkflowContext.h"
#include "app/ui/IAppDocument.h"

class ISettingsStore;

// The configuration document as the windows see it: the document itself, the
// security of the connected transmitter and the workflow context that the
// connect, send and receive windows drive.
class CDocumentAdapter : public IAppDocument {
  public:
    explicit CDocumentAdapter(ISettingsStore& settings);

    void NewDocument() override { m_doc.New(); }
    void Load(const std::string& path) override { m_doc.Open(path); }
    void Save(const std::string& path) override { m_doc.Save(path); }

    std::string PathName() const override { return m_doc.PathName(); }
    bool ReplacesAnotherFile(const std::string& path) const override {
        return m_doc.ReplacesAnotherFile(path);
    }
    bool IsModified() const override { return m_doc.IsModified(); }
    void SetModified(bool modified) override { m_doc.SetModified(modified); }
    bool LinkAvailable() const override { return m_doc.LinkAvailable(); }
    void SetLinkAvailable(bool available) override { m_doc.SetLinkAvailable(available); }
    int PollingAddress() const override { return m_doc.PollingAddress(); }
    void SetPollingAddress(int address) override { m_doc.SetPollingAddress(address); }

    int AccessState() override { return m_context.AccessState(); }
    std::string CurrentTag() const override;
    WorkflowContext* Workflow() override { return &m_context; }

  private:
    CMVDoc m_doc;
    CSecurity m_security;
    mutable WorkflowContext m_context;  // reading the tag table is not a change
};
