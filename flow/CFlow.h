#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "flow/CChemicalDatabase.h"
#include "flow/CDensity.h"
#include "flow/CDischargeCoeff.h"
#include "flow/CEdSquared.h"
#include "flow/CViscosity.h"
#include "flow/IFlowTransport.h"
#include "units/CDVDensity.h"
#include "units/CDimlessValue.h"
#include "units/CLength.h"
#include "units/CPressure.h"
#include "units/CTemperature.h"
#include "units/CUnit.h"

class CGasExpansion;

// One compensated-flow measurement: fluid, primary element and meter tube,
// operating and base conditions, the curve fits built from them and the
// coefficient array the transmitter evaluates. CGasFlow and CLiquidFlow are the
// two kinds; the base holds every common field.
class CFlow {
  public:
    static constexpr int kArraySize = 104;
    using CoefficientArray = std::array<float, kArraySize>;
    static constexpr int kLastSendStep = 25;
    static constexpr int kLastReceiveStep = 15;
    static constexpr size_t kMaxSentName = 30;

    virtual ~CFlow();
    CFlow(const CFlow&) = delete;
    CFlow& operator=(const CFlow&) = delete;

    virtual const char* RuntimeClassName() const = 0;

    // Every field to its default, the flow-unit list rebuilt, no fluid name.
    void ResetToDefaults();
    // Reset, fresh invalid fits and the test fluid of the kind.
    virtual void InitialiseWithDefaults();
    // Gas: from the heat capacity in the database; liquid: nothing (returns 0).
    virtual int ComputeIsentropicExponent() = 0;
    virtual double GetIsentropicExponent() const = 0;
    virtual void SetIsentropicExponent(double exponent) = 0;
    // The gas expansion fit of a gas; null for a liquid.
    virtual CGasExpansion* GetGasExpansion() const = 0;

    bool IsLiquid() const { return m_fluidPhase == 1; }

    // Copies every field and fit of another configuration of the same kind.
    // False (nothing copied) when the kinds differ.
    bool CopyFrom(const CFlow& other);

    // All fits of the configuration, density first (gas expansion last, gas only).
    std::vector<CCurveFit*> Fits() const;
    void InvalidateFits();

    // Base density at standard conditions into the base density field.
    bool ComputeBaseDensity();
    // Mass flow (lb/s) at the maximum DP h (InH2O-60°F), pressure (psi) and
    // temperature (°R). Shows 401-404 and abandons on failure.
    double FlowUpperLimit(double h, double pPsi, double tRankine);
    // Computes the whole coefficient array (send step 5 without the sending).
    bool ComputeCoefficientArray();

    // Send step 0-25: builds the block and hands it to the transport (not in
    // test mode; step 5 in test mode writes "162-send.txt" instead). Returns the
    // EMS type, or 0 after a failure whose message has been shown.
    int PrepareFlowBlock(int step, IFlowTransport* transport);
    // Receive step 0-15: reads one block and stores its contents.
    int TakeFlowBlock(int step, IFlowTransport& transport);

    // Where "162-send.txt" goes in test mode (empty: the current directory).
    void SetTestFileDirectory(const std::string& directory) { m_testFileDirectory = directory; }
    const std::string& TestFileDirectory() const { return m_testFileDirectory; }
    // The database used for fluid constants (empty: the default location).
    void SetDatabasePath(const std::string& path) { m_databasePath = path; }
    CChemicalDatabase Database() const;

    // Material names and thermal expansion coefficients (per °F).
    static std::string BoreMaterialName(int code);
    static std::string TubeMaterialName(int code);
    static double ExpansionCoefficient(int code);

    // --- Fields ---
    int TestMode() const { return m_testMode; }
    void SetTestMode(int mode) { m_testMode = mode; }
    int EmsType() const { return m_emsType; }
    void SetEmsType(int type) { m_emsType = type; }
    const CoefficientArray& Array() const { return m_array; }
    CoefficientArray& Array() { return m_array; }

    const std::string& FluidName() const { return m_fluidName; }
    void SetFluidName(const std::string& name) { m_fluidName = name; }
    int FluidPhase() const { return m_fluidPhase; }
    int UnnamedFlag() const { return m_unnamedFlag; }
    void SetUnnamedFlag(int flag) { m_unnamedFlag = flag; }
    const CPressure& AtmosphericPressure() const { return m_atmosphericPressure; }
    void SetAtmosphericPressure(const CPressure& value) { m_atmosphericPressure = value; }
    const CDimlessValue& UnnamedValue() const { return m_unnamedValue; }
    void SetUnnamedValue(const CDimlessValue& value) { m_unnamedValue = value; }
    const CDimlessValue& FlowConstant() const { return m_flowConstant; }
    void SetFlowConstant(const CDimlessValue& value) { m_flowConstant = value; }
    const CPressure& TestDp() const { return m_testDp; }
    void SetTestDp(const CPressure& value) { m_testDp = value; }
    const CPressure& TestSp() const { return m_testSp; }
    void SetTestSp(const CPressure& value) { m_testSp = value; }
    const CTemperature& TestPt() const { return m_testPt; }
    void SetTestPt(const CTemperature& value) { m_testPt = value; }
    const CDimValue& TestFlow() const { return m_testFlow; }
    void SetTestFlow(const CDimValue& value) { m_testFlow = value; }
    const CLength& BoreDiameter() const { return m_boreDiameter; }
    void SetBoreDiameter(const CLength& value) { m_boreDiameter = value; }
    int BoreMaterial() const { return m_boreMaterial; }
    void SetBoreMaterial(int code) { m_boreMaterial = code; }
    const CTemperature& BoreReferenceTemperature() const { return m_boreReferenceTemperature; }
    void SetBoreReferenceTemperature(const CTemperature& value) {
        m_boreReferenceTemperature = value;
    }
    const CLength& TubeDiameter() const { return m_tubeDiameter; }
    void SetTubeDiameter(const CLength& value) { m_tubeDiameter = value; }
    int TubeMaterial() const { return m_tubeMaterial; }
    void SetTubeMaterial(int code) { m_tubeMaterial = code; }
    const CTemperature& TubeReferenceTemperature() const { return m_tubeReferenceTemperature; }
    void SetTubeReferenceTemperature(const CTemperature& value) {
        m_tubeReferenceTemperature = value;
    }
    int DiffProducer() const { return m_diffProducer; }
    void SetDiffProducer(int code) { m_diffProducer = code; }
    const CPressure& StandardPressure() const { return m_standardPressure; }
    void SetStandardPressure(const CPressure& value) { m_standardPressure = value; }
    const CTemperature& StandardTemperature() const { return m_standardTemperature; }
    void SetStandardTemperature(const CTemperature& value) { m_standardTemperature = value; }
    const CDVDensity& BaseDensity() const { return m_baseDensity; }
    void SetBaseDensity(const CDVDensity& value) { m_baseDensity = value; }
    const CDimlessValue& MolecularWeight() const { return m_molecularWeight; }
    void SetMolecularWeight(const CDimlessValue& value) { m_molecularWeight = value; }
    const CTemperature& OperatingTemperatureMin() const { return m_opTemperatureMin; }
    void SetOperatingTemperatureMin(const CTemperature& value) { m_opTemperatureMin = value; }
    const CTemperature& OperatingTemperatureMax() const { return m_opTemperatureMax; }
    void SetOperatingTemperatureMax(const CTemperature& value) { m_opTemperatureMax = value; }
    const CPressure& OperatingPressureMin() const { return m_opPressureMin; }
    void SetOperatingPressureMin(const CPressure& value) { m_opPressureMin = value; }
    const CPressure& OperatingPressureMax() const { return m_opPressureMax; }
    void SetOperatingPressureMax(const CPressure& value) { m_opPressureMax = value; }
    int DensityDataSource() const { return m_densitySource; }
    void SetDensityDataSource(int source) { m_densitySource = source; }
    int ViscosityDataSource() const { return m_viscositySource; }
    void SetViscosityDataSource(int source) { m_viscositySource = source; }
    const CUnit& DensityUnit() const { return m_densityUnit; }
    void SetDensityUnit(const CUnit& unit) { m_densityUnit = unit; }
    const CUnit& ViscosityUnit() const { return m_viscosityUnit; }
    void SetViscosityUnit(const CUnit& unit) { m_viscosityUnit = unit; }

    // The flow item: unit of the flow (measurement type 32) and its allowed list.
    const CUnit& FlowUnit() const { return m_flowUnit; }
    void SetFlowUnit(const CUnit& unit) { m_flowUnit = unit; }
    const std::vector<CUnit>& AllowedFlowUnits() const { return m_allowedFlowUnits; }

    // The fits (null only before InitialiseWithDefaults).
    CDensity* Density() const { return m_density.get(); }
    CDischargeCoeff* DischargeCoeff() const { return m_dischargeCoeff.get(); }
    CEdSquared* EdSquared() const { return m_edSquared.get(); }
    CViscosity* Viscosity() const { return m_viscosity.get(); }

  protected:
    explicit CFlow(int fluidPhase);

    // Kind-specific parts of ResetToDefaults, InitialiseWithDefaults and CopyFrom.
    virtual void CreateKindFits() {}
    virtual void CopyKindFields(const CFlow& other) = 0;

  private:
    int ReadEmsType(int step, IFlowTransport* transport);
    void BuildConfigurationBlock(int step, IFlowTransport::Block& block) const;
    bool WriteSendFile() const;
    void StoreReceivedArray();

    int m_testMode = 0;
    int m_emsType = 0;
    CoefficientArray m_array{};
    std::string m_fluidName;
    int m_fluidPhase;
    int m_unnamedFlag = 1;
    CPressure m_atmosphericPressure;
    CDimlessValue m_unnamedValue;
    CDimlessValue m_flowConstant;
    CPressure m_testDp;
    CPressure m_testSp;
    CTemperature m_testPt;
    CDimValue m_testFlow;
    CLength m_boreDiameter;
    int m_boreMaterial = 2;
    CTemperature m_boreReferenceTemperature;
    CLength m_tubeDiameter;
    int m_tubeMaterial = 0;
    CTemperature m_tubeReferenceTemperature;
    int m_diffProducer = 1;
    CPressure m_standardPressure;
    CTemperature m_standardTemperature;
    CDVDensity m_baseDensity;
    CDimlessValue m_molecularWeight;
    CTemperature m_opTemperatureMin;
    CTemperature m_opTemperatureMax;
    CPressure m_opPressureMin;
    CPressure m_opPressureMax;
    int m_densitySource = 0;
    int m_viscositySource = 6;
    CUnit m_densityUnit;
    CUnit m_viscosityUnit;
    CUnit m_flowUnit;
    std::vector<CUnit> m_allowedFlowUnits;

    std::unique_ptr<CDensity> m_density;
    std::unique_ptr<CDischargeCoeff> m_dischargeCoeff;
    std::unique_ptr<CEdSquared> m_edSquared;
    std::unique_ptr<CViscosity> m_viscosity;

    // Unit codes received in block 1, used for the operating ranges of block 15.
    int m_receivedPressureUnit = 0;
    int m_receivedTemperatureUnit = 0;

    std::string m_testFileDirectory;
    std::string m_databasePath;
};
