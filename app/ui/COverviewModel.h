#pragma once

#include <QStandardItemModel>
#include <optional>
#include <set>
#include <string>

#include "config/CConfigSummary.h"

// The configuration overview as a Qt model: one top-level row per group, one
// child row per value, with the columns Field, Configuration (the document)
// and Transmitter (the last compare). Values that differ carry a mark that
// survives a monochrome print as well as colour: the symbol kDifferenceMark
// before the field's name, and a tinted background.
class COverviewModel : public QStandardItemModel {
    Q_OBJECT
  public:
    enum Column { kFieldColumn = 0, kDocumentColumn = 1, kTransmitterColumn = 2, kColumnCount };
    // Data roles of every item in a value row.
    static constexpr int kAreaRole = Qt::UserRole + 1;        // int(SummaryArea), -1 for none
    static constexpr int kPathRole = Qt::UserRole + 2;        // "DP.damping"; empty for a group
    static constexpr int kDiffersRole = Qt::UserRole + 3;     // bool
    static constexpr const char* kDifferenceMark = "\u2260";  // ≠

    explicit COverviewModel(QObject* parent = nullptr);

    // Shows the document's summary and, when given, the transmitter's. Only
    // the rows that differ when `differencesOnly` (groups without one are
    // left out). Nothing is rebuilt when nothing changed, so the view keeps
    // its selection and scroll position.
    void Show(const CConfigSummary& document, const CConfigSummary* transmitter, bool stale,
              bool differencesOnly);

    // The paths of the values that differ in what is shown.
    const std::set<std::string>& Differing() const { return m_differing; }
    int DifferenceCount() const { return static_cast<int>(m_differing.size()); }

  private:
    void Rebuild(const CConfigSummary& document, const CConfigSummary* transmitter, bool stale,
                 bool differencesOnly);

    std::string m_signature;
    std::set<std::string> m_differing;
};
