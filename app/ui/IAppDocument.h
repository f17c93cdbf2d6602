#pragma once

#include <string>

struct WorkflowContext;

// What the windows need of the configuration document and of the connection
// behind it. CDocumentAdapter implements it over the configuration document;
// the window tests use a double.
class IAppDocument {
  public:
    virtual ~IAppDocument() = default;

    // Resets the configuration to its defaults; clears the modified flag.
    virtual void NewDocument() = 0;
    // Load and save a configuration file; failures are thrown as file or
    // archive exceptions. Both clear the modified flag on success. A load that
    // fails leaves the document either as it was (the file could not be read)
    // or untitled at its defaults (the file could not be loaded).
    virtual void Load(const std::string& path) = 0;
    virtual void Save(const std::string& path) = 0;

    // The name the document is saved under: the file it was opened from or
    // saved to, or the name a received configuration takes; empty while it is
    // untitled (after New, a failed open or a receive that did not complete).
    virtual std::string PathName() const = 0;
    // True when a file exists at `path` that is not the one whose content the
    // document holds, so that saving there would replace another configuration.
    virtual bool ReplacesAnotherFile(const std::string& path) const = 0;

    virtual bool IsModified() const = 0;
    virtual void SetModified(bool modified) = 0;

    // Whether the serial link could be opened at start-up.
    virtual bool LinkAvailable() const = 0;
    virtual void SetLinkAvailable(bool available) = 0;

    // Last polling address used, -1 for none.
    virtual int PollingAddress() const = 0;
    virtual void SetPollingAddress(int address) = 0;

    // Access state 0..5 (5: no transmitter), derived on every call.
    virtual int AccessState() = 0;
    // Tag of the connected transmitter (empty when none is connected).
    virtual std::string CurrentTag() const = 0;

    // The connect, send and receive workflows' context; none where the document
    // cannot reach a transmitter (their commands then report that they cannot
    // be completed).
    virtual WorkflowContext* Workflow() { return nullptr; }
};
