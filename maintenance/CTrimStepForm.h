#pragma once

#include <string>

#include "config/CConfigForm.h"

// One step of a sensor trim: the sensor, the kind of step, the sensor's range
// limits, the value the applied condition should read and the value the
// sensor measures now. The window reads the measured value again on its own
// 250 ms clock (Refresh()); the terminal does the same on its line. OK
// confirms the step, Cancel skips it; the trim itself is sent by Sensor Trim.
class CTrimStepForm : public CConfigForm {
  public:
    static constexpr int kRefreshMs = 250;
    static constexpr const char* kSensorKey = "sensor";
    static constexpr const char* kTypeKey = "type";
    static constexpr const char* kLowerKey = "lrl";
    static constexpr const char* kUpperKey = "url";
    static constexpr const char* kEnteredKey = "entered";
    static constexpr const char* kMeasuredKey = "measured";

    enum class Kind { Offset, Slope };

    // `unitsName` is the sensor's present units name, as Sensor Trim shows it;
    // empty for the name of the units the sensor reports at opening.
    CTrimStepForm(CMVDoc& doc, int sensor, Kind kind, float entered, std::string unitsName);

    std::string Caption() const override;
    int Sensor() const { return m_sensor; }
    Kind StepKind() const { return m_kind; }
    float Entered() const { return m_entered; }

    // Reads the present value of the sensor. False when the read failed: its
    // text has been shown and the step ends with the abort result.
    bool Refresh();
    // The last value read.
    double Measured() const { return m_measured; }

    FormOutcome Ok() override;

  protected:
    void Read() override;

  private:
    std::string WithUnits(double value) const;
    void ReadMeasured();

    int m_sensor;
    Kind m_kind;
    float m_entered;
    std::string m_unitsName;
    double m_measured = 0.0;
};
