#pragma once

#include <string>
#include <utility>

#include "transmitter/CGoArray.h"
#include "transmitter/ModelTypes.h"
#include "units/CDimValue.h"
#include "units/CDimlessValue.h"
#include "units/CUnit.h"

class CComm;

// One measured variable of the transmitter (DP, SP or PT): its units, the units
// it allows, damping, operating limits and integer scaling record. Every read or
// write takes the access flag: kAccessDocument works on the copy held here, any
// other value on the connected transmitter through the command layer.
class CMeasuredVariable {
  public:
    CMeasuredVariable(CComm& comm, int variableCode);
    virtual ~CMeasuredVariable() = default;
    CMeasuredVariable(const CMeasuredVariable&) = delete;
    CMeasuredVariable& operator=(const CMeasuredVariable&) = delete;

    // Restores the initial values of this variable.
    virtual void Reset();

    int VariableCode() const { return m_variableCode; }
    // The variable's name (string 450, 451 or 452).
    std::string Name() const;

    // --- The document copy ---------------------------------------------------
    const CUnit& Units() const { return m_units; }
    void SetUnits(const CUnit& units) { m_units = units; }
    const CGoArray<CUnit>& AllowedUnits() const { return m_allowedUnits; }
    CGoArray<CUnit>& AllowedUnits() { return m_allowedUnits; }
    const CDimlessValue& Damping() const { return m_damping; }
    void SetDamping(const CDimlessValue& damping) { m_damping = damping; }
    const CDimValue& LowerOperatingLimit() const { return m_lowerOperatingLimit; }
    const CDimValue& UpperOperatingLimit() const { return m_upperOperatingLimit; }
    void SetLowerOperatingLimit(const CDimValue& value) { m_lowerOperatingLimit = value; }
    void SetUpperOperatingLimit(const CDimValue& value) { m_upperOperatingLimit = value; }
    const IntegerScalingRecord& IntegerScaling() const { return m_scaling; }
    void SetIntegerScaling(const IntegerScalingRecord& record) { m_scaling = record; }

    // --- Access-flag operations ------------------------------------------------
    // From the transmitter: the variable settings with the units repair prompt
    // (see ReadSettings). From the document: units, damping and operating limits;
    // range limits and minimum span are 0.
    VariableSettings ReadSettings(int access);
    CUnit ReadUnits(int access);
    void WriteUnits(const CUnit& units, int access);
    double ReadDamping(int access);
    void WriteDamping(double seconds, int access);
    // Lower and upper operating limit in the variable's current units.
    std::pair<double, double> ReadOperatingLimits(int access);
    double ReadLowerOperatingLimit(int access) { return ReadOperatingLimits(access).first; }
    double ReadUpperOperatingLimit(int access) { return ReadOperatingLimits(access).second; }
    // Both limits in the variable's current units.
    void WriteOperatingLimits(double lower, double upper, int access);
    // The integer scaling record for a method. From the transmitter, method 0
    // gives the disabled record, 1 the endpoints set and 2 or 3 the scale-factor
    // set (with the PVs derived from it).
    IntegerScalingRecord ReadIntegerScaling(uint16_t method, int access);
    // Document: stores the record. Transmitter: stages this variable's part of
    // the record's parameter set; the set is sent by the transmitter model.
    void StageIntegerScaling(const IntegerScalingRecord& record, int access);

    // --- Transmitter only ----------------------------------------------------------
    PresentValue ReadPresentValue();
    TrimPoints ReadTrimPoints();
    void OffsetTrim(double value);
    void SlopeTrim(double value);

    // The record of a disabled method as the transmitter reports it.
    static IntegerScalingRecord DisabledRecord();
    // Minimum and maximum PV of a scale factor and offset record.
    static void DeriveFactorPvs(IntegerScalingRecord& record);

  protected:
    CComm& m_comm;

  private:
    // Limits of the document copy converted to the current units.
    double LimitInCurrentUnits(const CDimValue& limit) const;
    // The default record: the operating limits as PVs.
    IntegerScalingRecord DefaultScaling() const;

    int m_variableCode;
    CUnit m_units;
    CGoArray<CUnit> m_allowedUnits;
    CDimlessValue m_damping;
    CDimValue m_lowerOperatingLimit;
    CDimValue m_upperOperatingLimit;
    IntegerScalingRecord m_scaling;
};
