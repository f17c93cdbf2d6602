#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "config/FormField.h"
#include "config/FormOutcome.h"

class CMVDoc;
class CTransmitter;

namespace config {
// The mode a window runs in. Its value is the access flag of every model read
// and write the window makes.
inline constexpr int kSetupMode = 1;        // the document's copy; nothing is sent
inline constexpr int kTransmitterMode = 2;  // the connected transmitter
}  // namespace config

// The rules of one configuration window, without the window: its mode, what it
// reads at opening, its fields with the values first read, the checks of its
// buttons and the writes they make. The Qt window and the terminal's get/set
// drive the same form, so both show the same texts and write the same things.
//
// What every window that writes shares lives here: the manual-mode safety
// prompt before the first write to a transmitter, the process-value notice
// after, the failure pattern (error text, "Configuration failed", abort), the
// wait cursor around exchanges and the modified mark of the document.
class CConfigForm {
  public:
    CConfigForm(CMVDoc& doc, int mode);
    virtual ~CConfigForm();
    CConfigForm(const CConfigForm&) = delete;
    CConfigForm& operator=(const CConfigForm&) = delete;

    int Mode() const { return m_mode; }
    bool InSetupMode() const { return m_mode == config::kSetupMode; }
    virtual std::string Caption() const = 0;

    // Reads everything the window shows. False when a read failed: the failure
    // has been shown and the window closes with the abort result.
    bool Open();

    const std::vector<FormField>& Fields() const { return m_fields; }
    // nullptr for a key the window does not have.
    const FormField* Field(const std::string& key) const;

    // Edits as the window makes them: typed text, or the chosen list entry (-1
    // for none). Unknown keys and positions outside the list change nothing.
    virtual void SetText(const std::string& key, const std::string& text);
    virtual void SetChoice(const std::string& key, int index);
    // A value given on the terminal: an edit field takes it as typed, a list
    // the entry of that name, else the entry of that code. Returns why the
    // value was not taken; empty when it was.
    virtual std::string SetValue(const std::string& key, const std::string& value);
    // The fields as the terminal's get prints them and its set names them: the
    // window's fields, unless a form joins several of them into one value.
    virtual std::vector<FormField> TerminalFields() const;
    // Every key the terminal's set takes: those of TerminalFields(), unless a
    // form takes keys it does not print at the moment.
    virtual std::vector<std::string> TerminalKeys() const;

    // The window's OK button (whatever its caption) and its Cancel.
    virtual FormOutcome Ok() = 0;
    virtual FormOutcome Cancel();

  protected:
    // Reads the window's values and adds its fields; throws on a failure.
    virtual void Read() = 0;
    // The codes behind a list's entries, in list order, so that the terminal
    // can name an entry by its code; empty for a list without codes.
    virtual std::vector<int> ChoiceCodes(const std::string& key) const;

    CMVDoc& Doc() { return m_doc; }
    CTransmitter& Model();
    const CTransmitter& Model() const;
    // The access flag of the model operations.
    int Access() const { return m_mode; }

    FormField& AddField(FormField field);
    // The field of a key the form has added; a missing key is a programming error.
    FormField& MutableField(const std::string& key);

    // Transmitter mode: the manual-mode safety prompt; true on OK. Setup mode:
    // true, nothing shown.
    bool ConfirmWrite() const;
    // Transmitter mode: the process-value notice after successful writes.
    void NotifyWritten() const;
    // After a failed write: its text, then in Transmitter mode "Configuration
    // failed ..."; the window closes with the abort result.
    FormOutcome WriteFailed(const std::exception& failure) const;
    // Setup mode: the document now holds changes to save.
    void MarkModified();
    // One write of the window to the model, with what the window showed before
    // and what it asks for (as shown, with units); failures are thrown on. In
    // Transmitter mode every such write is recorded in the change log with its
    // outcome (changelog::RecordWrite), so a form that writes only through
    // here is logged field by field with nothing more to do.
    void Write(const std::string& field, const std::string& before, const std::string& after,
               const std::function<void()>& write);
    // After warning 24 on `field`: reads the value the transmitter kept, as
    // the window shows it, for the change log. Empty (nothing read) unless a
    // form whose writes can draw the warning gives one.
    virtual std::function<std::string()> KeptValue(const std::string& field);

  private:
    CMVDoc& m_doc;
    int m_mode;
    std::vector<FormField> m_fields;
};

// Shows the wait cursor for its lifetime while the window works on a
// transmitter; in Setup mode nothing waits.
class CFormWaitCursor {
  public:
    explicit CFormWaitCursor(const CConfigForm& form);
    ~CFormWaitCursor();
    CFormWaitCursor(const CFormWaitCursor&) = delete;
    CFormWaitCursor& operator=(const CFormWaitCursor&) = delete;

  private:
    bool m_shown;
};
