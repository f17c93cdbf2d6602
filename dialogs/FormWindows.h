#pragma once

#include <functional>
#include <memory>
#include <vector>

class CConfigForm;
class CFormDialog;
class QWidget;
struct WorkflowContext;

// The windows that menu commands open over a form, each in its mode: the
// configuration windows of the Setup and Transmitter menus and, beside them,
// the maintenance and diagnostics windows. Windows that another window opens
// are listed too, with no command, so that the screenshots draw them.
namespace dialogs {

// The command of a window that only another window opens.
inline constexpr int kOpenedByWindow = 0;

struct FormWindow {
    int command;       // the menu command, or kOpenedByWindow
    const char* name;  // names the window's screenshot ("units")
    int mode;          // the form's mode: Setup or Transmitter
    std::function<std::unique_ptr<CConfigForm>(WorkflowContext&)> makeForm;
    std::function<std::unique_ptr<CFormDialog>(CConfigForm&, QWidget* parent)> makeWindow;
};

// Every window, in menu order.
const std::vector<FormWindow>& FormWindows();
// The window a command opens, or nullptr.
const FormWindow* FindFormWindow(int command);

// Opens the window of a command: the form reads what it shows, then the window
// runs modally. Returns the window's result: QDialog::Accepted, Rejected or
// CFormDialog::kAbortResult (also when the reading failed and the window never
// opened); -1 for a command without such a window.
int RunFormWindow(QWidget* parent, WorkflowContext& context, int command);

}  // namespace dialogs
