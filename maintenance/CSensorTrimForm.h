#pragma once

#include <array>
#include <functional>
#include <string>

#include "config/CConfigForm.h"
#include "maintenance/CTrimStepForm.h"

// Sensor Trim, on the connected transmitter: choose DP, SP or PT (PT not while
// the transmitter uses a fixed process temperature), see its limits and
// present trim points, and trim it at one point (offset) or two (offset, then
// slope). Trim() checks the span, asks the safety prompt, switches the
// transmitter's trim mode (coil 2) on, runs each step through the step runner
// and sends the trims the user confirmed; the trim mode is switched off again
// whatever the steps ended in.
class CSensorTrimForm : public CConfigForm {
  public:
    enum class TrimType { Recall = 0, Offset = 1, OffsetAndSlope = 2 };
    // How one trim step ended: confirmed, cancelled (nothing is sent for it),
    // failed (its text has been shown), or interrupted (the terminal's Ctrl+C:
    // nothing is sent for it and no further step runs).
    enum class StepResult { Ok, Cancel, Failed, Interrupted };
    // Opens a step and runs it to its end: the window shows it modally, the
    // terminal on its line. The form has been opened.
    using StepRunner = std::function<StepResult(CTrimStepForm&)>;

    static constexpr int kTrimModeCoil = 2;

    static constexpr const char* kLowerKey = "lower-limit";
    static constexpr const char* kUpperKey = "upper-limit";
    static constexpr const char* kMinSpanKey = "min-span";
    static constexpr const char* kOffsetPointKey = "offset-point";
    static constexpr const char* kSlopePointKey = "slope-point";
    // The entry fields: the offset trim's point, and the two of an offset and
    // slope trim; each with its (always disabled) units list.
    static constexpr const char* kOffsetKey = "offset";
    static constexpr const char* kPairOffsetKey = "pair-offset";
    static constexpr const char* kSlopeKey = "slope";
    static constexpr const char* kUnitsSuffix = "-units";

    explicit CSensorTrimForm(CMVDoc& doc);

    std::string Caption() const override;
    void SetStepRunner(StepRunner runner) { m_runStep = std::move(runner); }

    int Sensor() const { return m_sensor; }
    TrimType Type() const { return m_type; }
    // True when the transmitter uses a fixed process temperature: PT reads
    // "PT (fixed)" and cannot be chosen.
    bool PtFixed() const { return m_ptFixed; }
    // The caption of a sensor's choice and of the recall choice.
    std::string SensorChoiceText(int sensor) const;
    static std::string RecallText();

    // Chooses a sensor and reads its lines. False when PT is fixed (nothing
    // changes) or the read failed; `failed` then tells the window to close
    // with the abort result (the text has been shown).
    bool SelectSensor(int sensor, bool* failed = nullptr);
    // Enables the fields of the trim type; the recall type is refused.
    bool SelectTrimType(TrimType type);

    // The "&Trim" button.
    FormOutcome Trim();
    // The window's close button: Sensor Trim has no other OK.
    FormOutcome Ok() override;

    // Write requests to coil 2 that switched the trim mode on and off since
    // the form was made (the terminal's Ctrl+C check and tests).
    int TrimModeOnWrites() const { return m_trimModeOn; }
    int TrimModeOffWrites() const { return m_trimModeOff; }

  protected:
    void Read() override;

  private:
    void ReadSensorLines();
    void EnableFields();
    void AddEntry(const char* key, const char* label);
    // Runs one step; false when the sequence has to end with the abort result.
    bool RunStep(CTrimStepForm::Kind kind, float value, bool& stop);
    // Switches the trim mode off; false (its text shown) when that failed.
    bool TrimModeOff();
    FormOutcome TrimFailed();

    StepRunner m_runStep;
    int m_sensor = 0;
    TrimType m_type = TrimType::Offset;
    bool m_ptFixed = false;
    std::string m_unitsName;
    double m_minSpan = 0.0;
    double m_slopePoint = 0.0;
    int m_trimModeOn = 0;
    int m_trimModeOff = 0;
};
