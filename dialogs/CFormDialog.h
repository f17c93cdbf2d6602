#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <string>

#include "config/FormOutcome.h"

class CConfigForm;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;

// A window over a Qt-free form: it makes a widget for each field of the form
// (named "field_" + key), keeps widgets and form in step, and turns what the
// form's buttons lead to into message boxes, focus and the window's result.
// The windows built on it only lay their widgets out.
class CFormDialog : public QDialog {
    Q_OBJECT
  public:
    // The result of a window that closed after a failure was shown.
    static constexpr int kAbortResult = 3;

    // The form has been opened (its values read).
    CFormDialog(CConfigForm& form, QWidget* parent);

    CConfigForm& Form() { return m_form; }

  protected:
    // The widget of a field: an edit field (one line or several), a drop-down
    // list or, for a value that is only shown, a label. Made on first use.
    QWidget* FieldWidget(const std::string& key);
    // The field's label, its mnemonic leading to the field.
    QLabel* FieldLabel(const std::string& key);
    // Label, widget and suffix of a field in one row of a grid.
    void AddFieldRow(QGridLayout* grid, int row, const std::string& key);
    // A push button named `objectName` in a row of buttons.
    QPushButton* AddButton(QHBoxLayout* row, const char* text, const char* objectName);
    // A row of buttons, right-aligned.
    static QHBoxLayout* ButtonRow();

    // Fills every widget from the form again, then UpdateControls().
    void Refresh();
    // The controls that belong to one window only (notes, button states).
    virtual void UpdateControls() {}

    // Acts on what a button of the form led to.
    void Handle(const FormOutcome& outcome);
    // Puts the focus in a field with its text selected.
    void FocusField(const std::string& key);

    // Runs what a button of the form does. While the link waits for a reply
    // the window still takes events, so a second button pressed meanwhile
    // would start an exchange inside the first: it is refused with a beep.
    // Returns false when refused.
    bool RunAction(const std::function<void()>& action);
    // True while a button's action runs (timers of the window skip their step).
    bool Acting() const { return m_acting; }

    // The OK button of the form, whatever its caption.
    void OnOk();
    // Cancel, Escape and the window frame's close box.
    void reject() override;

  private:
    void Fill(const std::string& key);

    CConfigForm& m_form;
    std::map<std::string, QWidget*> m_widgets;
    bool m_filling = false;
    bool m_acting = false;
};
