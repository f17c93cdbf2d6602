#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/CException.h"
#include "platform/DebugTrace.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "units/CUnit.h"
#include "units/Units.h"

namespace units_test {

// Relative tolerance of a conversion and its inverse (LLNL/units style).
inline constexpr double kPreciseTolerance = 1e-12;

inline void ExpectRelativelyNear(double expected, double actual, double tolerance) {
    const double scale = std::max(std::fabs(expected), 1.0);
    EXPECT_LE(std::fabs(expected - actual), tolerance * scale)
        << "expected " << expected << ", got " << actual;
}

// The text that validation shows for a unit code not allowed for its type.
inline std::string InvalidUnitCodeText(int measType) {
    return LoadString(2049) + units::TypeName(measType);
}

inline std::string InvalidMeasTypeText() { return LoadString(2048); }

// Runs `action`, which must show exactly `text` in a plain box (OK, no icon)
// and then abandon silently.
template <class Action>
void ExpectPlainMessageThenAbandon(const std::string& text, Action&& action) {
    CScriptedUi ui;
    ui.ExpectWithIcon(text, MsgIcon::None);
    EXPECT_THROW(action(), CUserException);
    ui.Verify();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(ui.Messages()[0].icon, MsgIcon::None);
}

// Converts `value` from every unit to every other unit and back.
template <class Dimension>
void ExpectRoundTripsBetweenAllUnits(const std::vector<CUnit>& all, double value) {
    for (const CUnit& from : all) {
        for (const CUnit& to : all) {
            Dimension quantity(value, from);
            quantity.ConvertTo(to);
            EXPECT_EQ(quantity.Unit(), to);
            quantity.ConvertTo(from);
            EXPECT_EQ(quantity.Unit(), from);
            SCOPED_TRACE(from.Name() + " -> " + to.Name() + " -> " + from.Name());
            ExpectRelativelyNear(value, quantity.Value(), kPreciseTolerance);
        }
    }
}

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Converting to the own unit leaves the value bit for bit unchanged.
template <class Dimension>
void ExpectOwnUnitConversionKeepsBits(const std::vector<CUnit>& all) {
    for (const CUnit& unit : all) {
        for (double value : {0.1 + 0.2, -17.000000000000004, 1e-300, 6894.757293168361}) {
            Dimension quantity(value, unit);
            quantity.ConvertTo(unit);
            EXPECT_TRUE(SameBits(quantity.Value(), value)) << unit.Name() << " " << value;
        }
    }
}

// Collects the debug trace while it lives (the trace is off otherwise).
class CTraceCapture {
  public:
    CTraceCapture() {
        trace::SetSink([this](const std::string& line) { m_text += line; });
    }
    ~CTraceCapture() { trace::SetSink({}); }
    CTraceCapture(const CTraceCapture&) = delete;
    CTraceCapture& operator=(const CTraceCapture&) = delete;
    const std::string& Text() const { return m_text; }

  private:
    std::string m_text;
};

// A conversion between units outside the class: the trace line, then the
// not-supported failure, and no message box.
template <class Dimension>
void ExpectIllegalConversion(const CUnit& from, const CUnit& to, const std::string& traceText) {
    CScriptedUi ui;
    {
        CTraceCapture capture;
        Dimension quantity(1.0, from);
        EXPECT_THROW(quantity.ConvertTo(to), CNotSupportedException);
        EXPECT_EQ(capture.Text(), traceText);
    }
    Dimension quantity(1.0, from);
    EXPECT_FALSE(trace::Enabled());
    EXPECT_THROW(quantity.ConvertTo(to), CNotSupportedException);
    EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace units_test
