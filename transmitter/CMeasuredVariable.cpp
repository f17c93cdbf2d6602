#include "transmitter/CMeasuredVariable.h"

#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/VariableNames.h"
#include "units/CPressure.h"
#include "units/CTemperature.h"

using namespace transmitter;

namespace {

constexpr double kDefaultDamping = 0.896;
constexpr unsigned kInvalidUnitsPromptStart = 364;
constexpr unsigned kInvalidUnitsPromptMiddle = 365;

struct VariableDefaults {
    int unitsCode;
    std::vector<int> allowedUnits;
    double lowerLimit;
    double upperLimit;
    uint16_t scaleFactor;
    uint16_t offset;
};

const VariableDefaults& DefaultsFor(int variableCode) {
    static const VariableDefaults kDp{240, {240, 1, 11, 12}, -250.0, 250.0, 131, 18};
    static const VariableDefaults kSp{6, {6, 12, 237}, 0.0, 800.0, 81, 32768};
    static const VariableDefaults kPt{33, {33, 32}, -40.0, 400.0, 148, 26848};
    switch (variableCode) {
        case kVarDp:
            return kDp;
        case kVarSp:
            return kSp;
        case kVarPt:
            return kPt;
        default:
            RaiseCommError(commerr::kInvalidVariable);
    }
}

}  // namespace

CMeasuredVariable::CMeasuredVariable(CComm& comm, int variableCode)
    : m_comm(comm), m_variableCode(variableCode) {
    CMeasuredVariable::Reset();
}

void CMeasuredVariable::Reset() {
    const VariableDefaults& d = DefaultsFor(m_variableCode);
    m_units = CUnit(d.unitsCode, m_variableCode);
    m_allowedUnits.RemoveAll();
    for (int code : d.allowedUnits) m_allowedUnits.Add(CUnit(code, m_variableCode));
    m_damping.Set(kDefaultDamping);
    m_lowerOperatingLimit = CDimValue(d.lowerLimit, m_units);
    m_upperOperatingLimit = CDimValue(d.upperLimit, m_units);
    m_scaling = DefaultScaling();
}

IntegerScalingRecord CMeasuredVariable::DefaultScaling() const {
    const VariableDefaults& d = DefaultsFor(m_variableCode);
    IntegerScalingRecord r;
    r.scaleFactor = d.scaleFactor;
    r.offset = d.offset;
    r.minPv = static_cast<float>(d.lowerLimit);
    r.maxPv = static_cast<float>(d.upperLimit);
    return r;
}

std::string CMeasuredVariable::Name() const { return GetVariableName(m_variableCode); }

double CMeasuredVariable::LimitInCurrentUnits(const CDimValue& limit) const {
    if (limit.Unit() == m_units) return limit.Value();
    if (m_variableCode == kVarPt) {
        CTemperature t(limit);
        t.ConvertTo(m_units);
        return t.Value();
    }
    CPressure p(limit);
    p.ConvertTo(m_units);
    return p.Value();
}

VariableSettings CMeasuredVariable::ReadSettings(int access) {
    if (IsDocument(access)) {
        VariableSettings s;
        s.unitsCode = m_units.UnitCode();
        s.damping = m_damping.Get();
        s.lowerOperatingLimit = LimitInCurrentUnits(m_lowerOperatingLimit);
        s.upperOperatingLimit = LimitInCurrentUnits(m_upperOperatingLimit);
        return s;
    }

    if (m_allowedUnits.IsEmpty()) RaiseCommError(commerr::kInvalidUnits);
    VariableSettings s = m_comm.ReadVariableSettings(m_variableCode);
    for (size_t i = 0; i < m_allowedUnits.GetSize(); ++i) {
        if (m_allowedUnits[i].UnitCode() != s.unitsCode) continue;
        if (m_allowedUnits[i].MeasType() != m_variableCode) RaiseCommError(commerr::kInvalidUnits);
        return s;
    }

    // The transmitter reports a unit this variable cannot have: offer to repair it.
    const CUnit& first = m_allowedUnits[0];
    const std::string prompt = LoadString(kInvalidUnitsPromptStart) + Name() +
                               LoadString(kInvalidUnitsPromptMiddle) + first.Name() +
                               texts::kQuestionEnd;
    if (Ui().MessageBox(prompt, MsgButtons::OkCancel, MsgIcon::Stop) != MsgAnswer::Ok)
        AbandonSilently();
    m_comm.WriteUnits(m_variableCode, first.UnitCode());
    s = m_comm.ReadVariableSettings(m_variableCode);
    if (s.unitsCode != first.UnitCode()) RaiseCommError(commerr::kInvalidUnits);
    return s;
}

CUnit CMeasuredVariable::ReadUnits(int access) {
    if (IsDocument(access)) return m_units;
    return CUnit(ReadSettings(access).unitsCode, m_variableCode);
}

void CMeasuredVariable::WriteUnits(const CUnit& units, int access) {
    bool allowed = false;
    for (size_t i = 0; i < m_allowedUnits.GetSize(); ++i)
        allowed = allowed || m_allowedUnits[i] == units;
    if (!allowed) RaiseCommError(commerr::kInvalidUnits);
    if (IsDocument(access))
        m_units = units;
    else
        m_comm.WriteUnits(m_variableCode, units.UnitCode());
}

double CMeasuredVariable::ReadDamping(int access) {
    if (IsDocument(access)) return m_damping.Get();
    return ReadSettings(access).damping;
}

void CMeasuredVariable::WriteDamping(double seconds, int access) {
    if (IsDocument(access))
        m_damping.Set(seconds);
    else
        m_comm.WriteDamping(m_variableCode, seconds);
}

std::pair<double, double> CMeasuredVariable::ReadOperatingLimits(int access) {
    if (IsDocument(access))
        return {LimitInCurrentUnits(m_lowerOperatingLimit),
                LimitInCurrentUnits(m_upperOperatingLimit)};
    return m_comm.ReadOperatingLimits(m_variableCode);
}

void CMeasuredVariable::WriteOperatingLimits(double lower, double upper, int access) {
    if (IsDocument(access)) {
        m_lowerOperatingLimit = CDimValue(lower, m_units);
        m_upperOperatingLimit = CDimValue(upper, m_units);
    } else {
        m_comm.WriteOperatingLimits(m_variableCode, lower, upper);
    }
}

IntegerScalingRecord CMeasuredVariable::DisabledRecord() {
    IntegerScalingRecord r;
    r.counts = 65534;
    r.maxInteger = 65534;
    return r;
}

void CMeasuredVariable::DeriveFactorPvs(IntegerScalingRecord& record) {
    const double factor = record.scaleFactor != 0 ? record.scaleFactor : 1.0;
    record.minPv = static_cast<float>((record.offset - kScalingOffsetBias) / factor);
    record.maxPv =
        static_cast<float>((record.counts + record.offset - kScalingOffsetBias) / factor);
}

IntegerScalingRecord CMeasuredVariable::ReadIntegerScaling(uint16_t method, int access) {
    if (IsDocument(access)) return m_scaling;

    IntegerScalingRecord r = DisabledRecord();
    if (method == kScalingDisabled) return r;
    r.method = method;
    const auto v = static_cast<size_t>(m_variableCode);
    if (method == kScalingEndpoints) {
        const EndpointsSet set = m_comm.ReadEndpointsSet();
        r.minInteger = set.minInteger[v];
        r.maxInteger = set.maxInteger[v];
        r.minPv = set.minPv[v];
        r.maxPv = set.maxPv[v];
        return r;
    }
    const ScaleFactorSet set = m_comm.ReadScaleFactorSet();
    r.counts = set.counts;
    // A scale factor is never 0: it divides.
    r.scaleFactor = set.scaleFactor[v] != 0 ? set.scaleFactor[v] : 1;
    r.offset = set.offset[v];
    DeriveFactorPvs(r);
    return r;
}

void CMeasuredVariable::StageIntegerScaling(const IntegerScalingRecord& record, int access) {
    if (IsDocument(access)) {
        m_scaling = record;
        return;
    }
    if (record.method == kScalingEndpoints)
        m_comm.StageEndpoints(m_variableCode, record.minInteger, record.maxInteger, record.minPv,
                              record.maxPv);
    else if (record.method != kScalingDisabled)
        m_comm.StageScaleFactors(m_variableCode, record.counts, record.scaleFactor, record.offset);
}

PresentValue CMeasuredVariable::ReadPresentValue() {
    return m_comm.ReadPresentValue(m_variableCode);
}

TrimPoints CMeasuredVariable::ReadTrimPoints() { return m_comm.ReadTrimPoints(m_variableCode); }

void CMeasuredVariable::OffsetTrim(double value) { m_comm.OffsetTrim(m_variableCode, value); }

void CMeasuredVariable::SlopeTrim(double value) { m_comm.SlopeTrim(m_variableCode, value); }
