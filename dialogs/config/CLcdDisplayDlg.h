#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/CFormDialog.h"

class CLcdDisplayForm;
class QListWidget;

// "LCD Display Configuration" / "Setup LCD Display Configuration": the items
// displayed and not displayed, each list with several entries selectable,
// ">>" and "<<" between them, and the update interval in seconds.
class CLcdDisplayDlg : public CFormDialog {
    Q_OBJECT
  public:
    CLcdDisplayDlg(CLcdDisplayForm& form, QWidget* parent);

  private:
    // ">>" (out of the displayed list) or "<<" (into it).
    void Move(bool toNotDisplayed);
    // Both lists from the form; the moved items stay selected where they went.
    void ShowLists(const std::vector<uint16_t>& selected);
    static std::vector<int> SelectedRows(const QListWidget& list);

    CLcdDisplayForm& m_lcd;
    QListWidget* m_displayed = nullptr;
    QListWidget* m_notDisplayed = nullptr;
};
