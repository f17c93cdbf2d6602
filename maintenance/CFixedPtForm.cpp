#include "maintenance/CFixedPtForm.h"

#include <cmath>
#include <cstring>

#include "config/FormNumbers.h"
#include "link/CProtocol.h"
#include "link/ErrorReport.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CTransmitter.h"
#include "units/CTemperature.h"

using namespace transmitter;

namespace {
constexpr unsigned kIdBelowLowerRange = 2421;
constexpr unsigned kIdAboveUpperRange = 2422;
constexpr int kDegreesFahrenheit = 33;
constexpr int kTemperatureType = 2;
const EmsArrayId kFixedModeArray{0, 0, 0, 2};
const EmsArrayId kFixedTemperatureArray{0, 3, 0, 1};

double ToFahrenheit(double value, int unitsCode) {
    CTemperature temperature(value, CUnit(unitsCode, kTemperatureType));
    temperature.ConvertTo(CUnit(kDegreesFahrenheit, kTemperatureType));
    return temperature.Value();
}

// A limit given as the value typed is that limit, whatever the conversion
// rounds: a temperature at the LRL or URL is accepted.
bool Beyond(double value, double limit, bool below) {
    const double tolerance = 1e-6 * std::fmax(1.0, std::fabs(limit));
    return below ? value < limit - tolerance : value > limit + tolerance;
}
}  // namespace

CFixedPtForm::CFixedPtForm(CMVDoc& doc) : CConfigForm(doc, config::kTransmitterMode) {}

std::string CFixedPtForm::Caption() const { return texts::kFixedTempCaption; }

bool CFixedPtForm::Fixed() const { return Field(kFixedKey)->selected == 1; }

void CFixedPtForm::Read() {
    CComm& comm = Model().Comm();
    m_firstFixed = comm.ReadEmsArray(kFixedModeArray).at(0) != 0;
    m_firstTemperature = 0.0F;
    if (m_firstFixed) {
        const std::vector<uint8_t> bytes = comm.ReadEmsArray(kFixedTemperatureArray);
        std::memcpy(&m_firstTemperature, bytes.data(), sizeof m_firstTemperature);
    }
    m_unitsCode = Model().Pt().ReadUnits(Access()).UnitCode();

    FormField fixed;
    fixed.key = kFixedKey;
    fixed.label = texts::kFixedTempCheck;
    fixed.kind = FieldKind::Choice;
    fixed.choices = {kOff, kOn};
    fixed.selected = m_firstFixed ? 1 : 0;
    AddField(std::move(fixed));

    FormField temperature;
    temperature.key = kTemperatureKey;
    temperature.label = texts::kFixedTempLabel;
    temperature.kind = FieldKind::Number;
    temperature.text = m_firstFixed ? config::LimitText(m_firstTemperature) : std::string();
    temperature.suffix = CUnit(m_unitsCode, kTemperatureType).Name();
    temperature.enabled = m_firstFixed;
    AddField(std::move(temperature));
}

void CFixedPtForm::SetChoice(const std::string& key, int index) {
    CConfigForm::SetChoice(key, index);
    if (key != kFixedKey) return;
    FormField& temperature = MutableField(kTemperatureKey);
    temperature.enabled = Fixed();
    if (!Fixed()) temperature.text.clear();
}

FormOutcome CFixedPtForm::Ok() {
    const bool fixed = Fixed();
    float temperature = 0.0F;
    if (fixed && !config::ParseFloat(Field(kTemperatureKey)->text, temperature))
        return FormOutcome::Refuse(texts::kEnterNumber, kTemperatureKey);
    const bool changed = fixed != m_firstFixed || (fixed && temperature != m_firstTemperature);
    if (!changed) return FormOutcome::Close(FormResult::Ok);

    if (fixed) {
        double value = 0.0;
        double lower = 0.0;
        double upper = 0.0;
        try {
            CFormWaitCursor wait(*this);
            // The limits as the transmitter holds them now, not as cached.
            Model().Comm().Protocol().SetCacheValid(CacheGroup::RangesBlock, false);
            Model().Comm().Protocol().SetCacheValid(CacheGroup::UnitsCodes, false);
            const VariableSettings settings = Model().Pt().ReadSettings(Access());
            value = ToFahrenheit(temperature, m_unitsCode);
            lower = ToFahrenheit(settings.lowerRangeLimit, settings.unitsCode);
            upper = ToFahrenheit(settings.upperRangeLimit, settings.unitsCode);
        } catch (const std::exception& e) {
            ReportException(e);
            return FormOutcome::Stay(kTemperatureKey);
        }
        if (Beyond(value, lower, true))
            return FormOutcome::Refuse(LoadString(kIdBelowLowerRange), kTemperatureKey,
                                       MsgIcon::Stop);
        if (Beyond(value, upper, false))
            return FormOutcome::Refuse(LoadString(kIdAboveUpperRange), kTemperatureKey,
                                       MsgIcon::Stop);
    }

    if (!ConfirmWrite()) return FormOutcome::Stay();
    bool failed = false;
    {
        CFormWaitCursor wait(*this);
        CComm& comm = Model().Comm();
        try {
            Write(kFixedKey, m_firstFixed ? kOn : kOff, fixed ? kOn : kOff, [&] {
                comm.WriteEmsArray(kFixedModeArray, {static_cast<uint8_t>(fixed ? 1 : 0)});
            });
        } catch (const std::exception& e) {
            ReportException(e);
            failed = true;
        }
        if (fixed) {
            try {
                const std::string& units = Field(kTemperatureKey)->suffix;
                Write(kTemperatureKey, config::LimitText(m_firstTemperature) + " " + units,
                      config::LimitText(temperature) + " " + units, [&] {
                          std::vector<uint8_t> bytes(sizeof temperature);
                          std::memcpy(bytes.data(), &temperature, sizeof temperature);
                          comm.WriteEmsArray(kFixedTemperatureArray, bytes);
                      });
            } catch (const std::exception& e) {
                ReportException(e);
                failed = true;
            }
        }
    }
    NotifyWritten();
    // A write that failed has been shown; the window still closes, but the
    // terminal must not report success.
    return FormOutcome::Close(failed ? FormResult::Abort : FormResult::Ok);
}
