#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "config/CConfigForm.h"
#include "maintenance/OutputSample.h"

// Read Outputs, on the connected transmitter: the live values of the first
// three assigned variables with their names and units, and the PC's date and
// time. Refresh() is one step of the window's 250 ms timer and alternates two
// phases: the variable assignment (the row labels), then the present values
// (one read of the transmitter). The window stops its timer while a step
// runs, so a slow reply stretches the interval. Every value read is kept as
// a sample for the trend and the CSV export; they add no exchange.
class CReadOutputsForm : public CConfigForm {
  public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;
    using AssignmentSource = std::function<std::array<int, 4>()>;

    static constexpr int kRefreshMs = 250;
    static constexpr int kRows = 3;
    static constexpr const char* kDateKey = "date";
    static constexpr const char* kTimeKey = "time";

    // Without a clock the system clock is used.
    explicit CReadOutputsForm(CMVDoc& doc, Clock clock = Clock());

    std::string Caption() const override;
    // Where the assignment comes from; by default the transmitter model.
    void SetAssignmentSource(AssignmentSource source) { m_assignment = std::move(source); }

    // The keys of a row's label, value and units (row 0 to 2).
    static std::string LabelKey(int row);
    static std::string ValueKey(int row);
    static std::string UnitsKey(int row);

    // One timer step. StayOpen while the window goes on; a failure has been
    // shown and ends the window with the abort result.
    FormOutcome Refresh();
    // The phase the next step runs: 0 the assignment, 1 the values.
    int Phase() const { return m_phase; }
    // The variable codes of the shown rows, as last read.
    const std::array<int, 4>& Assignment() const { return m_codes; }

    // Every value read since opening, oldest first.
    const std::vector<OutputSample>& Samples() const { return m_samples; }

    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    // One step; failures are thrown.
    void Step();
    void ShowClock();
    void ReadLabels();
    void ReadValues();
    std::string UnitsName(int code, int unitsCode) const;

    Clock m_clock;
    AssignmentSource m_assignment;
    int m_phase = 0;
    int m_spType = 0;
    std::array<int, 4> m_codes{};
    std::vector<OutputSample> m_samples;
};
