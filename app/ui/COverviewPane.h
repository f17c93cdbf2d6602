#pragma once

#include <QWidget>
#include <optional>

#include "config/CConfigSummary.h"

class COverviewModel;
class QCheckBox;
class QLabel;
class QTreeView;

// The main window's client area: the configuration overview in a tree, the
// "Show differences only" toggle and a line that says what the transmitter
// column holds. A double-click on a value asks for the window of its area.
class COverviewPane : public QWidget {
    Q_OBJECT
  public:
    explicit COverviewPane(QWidget* parent = nullptr);

    // `transmitter` is null while no compare holds.
    void Show(const CConfigSummary& document, const CConfigSummary* transmitter, bool stale);
    // Nothing to show (no document behind the window).
    void ShowNothing();

    COverviewModel& Model() { return *m_model; }
    QTreeView* Tree() const { return m_tree; }
    QCheckBox* DifferencesOnly() const { return m_differencesOnly; }
    QLabel* CompareLine() const { return m_compareLine; }

  signals:
    // A value row was activated (double-click or Enter): its area, and whether in the transmitter
    // column.
    void AreaActivated(SummaryArea area, bool transmitterColumn);

  private:
    void Refresh();
    void OnActivated(const QModelIndex& index);

    COverviewModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QCheckBox* m_differencesOnly = nullptr;
    QLabel* m_compareLine = nullptr;
    CConfigSummary m_document;
    std::optional<CConfigSummary> m_transmitter;
    bool m_stale = false;
    bool m_hasDocument = false;
};
