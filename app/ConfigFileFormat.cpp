#include "app/ConfigFileFormat.h"

#include <array>
#include <limits>
#include <memory>

#include "app/CArchive.h"
#include "flow/CCurveFit.h"
#include "flow/CDensity.h"
#include "flow/CFlow.h"
#include "flow/CGasExpansion.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "platform/CArchiveException.h"
#include "transmitter/CTransmitter.h"

namespace app {
namespace {

constexpr uint16_t kFlowPresent = 1;
constexpr uint16_t kFlowAbsent = 0;
constexpr uint16_t kFlowKindGas = 0;
constexpr uint16_t kFlowKindLiquid = 1;
constexpr uint16_t kVersion0Counts = 65534;
constexpr uint16_t kVersion0MaxInteger = 65534;
constexpr uint16_t kDefaultCommWords[5] = {0, 0, 50, 0, 0};

[[noreturn]] void Damaged() { throw CArchiveException(CArchiveException::Cause::BadIndex); }

// Fields held as int in the model are u16 in the file; a value the file
// cannot hold would come back as another value, so it is not written.
uint16_t ToWord(int value) {
    if (value < 0 || value > std::numeric_limits<uint16_t>::max()) {
        throw CArchiveException(CArchiveException::Cause::Generic);
    }
    return static_cast<uint16_t>(value);
}

// A derived integer scaling field: truncated towards zero and kept within the
// 16 bits of its register (a NaN gives 0).
uint16_t ClampToWord(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 65535.0) return 65535;
    return static_cast<uint16_t>(value);
}

// --- Variables ------------------------------------------------------------------

void StoreVariable(CArchive& ar, const CMeasuredVariable& variable) {
    ar.WriteUnit(variable.Units());
    ar.WriteDimless(variable.Damping());
    ar.WriteDimValue(variable.LowerOperatingLimit());
    ar.WriteDimValue(variable.UpperOperatingLimit());
    const IntegerScalingRecord& r = variable.IntegerScaling();
    for (uint16_t word :
         {r.method, r.rounding, r.counts, r.scaleFactor, r.offset, r.minInteger, r.maxInteger}) {
        ar.WriteU16(word);
    }
    ar.WriteF32(r.minPv);
    ar.WriteF32(r.maxPv);
}

// The record a version-0 file implies: full counts over the operating limits,
// with the scale factor and offset that map them (the entered-factors rule).
IntegerScalingRecord Version0Scaling(const CMeasuredVariable& variable) {
    IntegerScalingRecord r = variable.IntegerScaling();
    const double lower = variable.LowerOperatingLimit().Value();
    const double upper = variable.UpperOperatingLimit().Value();
    r.counts = kVersion0Counts;
    r.maxInteger = kVersion0MaxInteger;
    r.minInteger = 0;
    r.minPv = static_cast<float>(lower);
    r.maxPv = static_cast<float>(upper);
    const double span = upper - lower;
    r.scaleFactor = span > 0.0 ? ClampToWord(r.counts / span) : 0;
    // A scale factor is never 0 (limits in the wrong order, or a span wider
    // than the counts): every integer would map to one PV.
    if (r.scaleFactor == 0) r.scaleFactor = 1;
    r.offset = ClampToWord(r.scaleFactor * lower + transmitter::kScalingOffsetBias);
    return r;
}

void LoadVariable(CArchive& ar, CMeasuredVariable& variable, uint16_t version) {
    variable.SetUnits(ar.ReadUnit());
    CDimlessValue damping;
    ar.ReadDimless(damping);
    variable.SetDamping(damping);
    CDimValue limit;
    ar.ReadDimValue(limit);
    variable.SetLowerOperatingLimit(limit);
    ar.ReadDimValue(limit);
    variable.SetUpperOperatingLimit(limit);

    if (version == kReducedFormatVersion) {
        variable.SetIntegerScaling(Version0Scaling(variable));
        return;
    }
    IntegerScalingRecord r;
    r.method = ar.ReadU16();
    r.rounding = ar.ReadU16();
    r.counts = ar.ReadU16();
    r.scaleFactor = ar.ReadU16();
    r.offset = ar.ReadU16();
    r.minInteger = ar.ReadU16();
    r.maxInteger = ar.ReadU16();
    r.minPv = ar.ReadF32();
    r.maxPv = ar.ReadF32();
    variable.SetIntegerScaling(r);
}

// --- Curve fits -------------------------------------------------------------------

void StorePoints(CArchive& ar, const std::vector<double>& values, size_t count) {
    if (values.size() < count) throw CArchiveException(CArchiveException::Cause::Generic);
    for (size_t i = 0; i < count; ++i) ar.WriteF64(values[i]);
}

void StoreCurveFit(CArchive& ar, const CCurveFit& fit) {
    const uint16_t count = ToWord(fit.PointCount());
    ar.WriteU16(ToWord(fit.LiquidFlag()));
    ar.WriteU16(count);
    ar.WriteU16(ToWord(fit.Valid()));
    ar.WriteU16(CCurveFit::kCoefficientCount);
    for (float c : fit.GetCoefficients()) ar.WriteF32(c);
    StorePoints(ar, fit.DisplayX(), count);
    StorePoints(ar, fit.DisplayY(), count);
}

void LoadCurveFit(CArchive& ar, CCurveFit& fit) {
    ar.ReadU16();  // the liquid flag was fixed when the fit was created
    const uint16_t count = ar.ReadU16();
    const uint16_t valid = ar.ReadU16();
    const uint16_t coefficients = ar.ReadU16();
    if (coefficients > CCurveFit::kCoefficientCount) Damaged();
    ar.Require(uint64_t{coefficients} * 4 + uint64_t{count} * 16);

    fit.Resize(count);
    for (int k = 0; k < coefficients; ++k) fit.SetCoefficient(k, ar.ReadF32());
    for (double& x : fit.DisplayX()) x = ar.ReadF64();
    for (double& y : fit.DisplayY()) y = ar.ReadF64();
    fit.SetValid(valid);
}

void StoreDensity(CArchive& ar, const CDensity& density) {
    StoreCurveFit(ar, density);
    ar.WriteU16(CDensity::kRows);
    ar.WriteU16(CDensity::kColumns);
    for (int i = 0; i < CDensity::kRows; ++i) {
        for (int j = 0; j < CDensity::kColumns; ++j) ar.WriteF32(density.TableValue(i, j));
    }
    const uint16_t pressures = density.LiquidFlag() ? 0 : ToWord(density.PointCount());
    ar.WriteU16(pressures);
    StorePoints(ar, density.DisplayPressure(), pressures);
}

void LoadDensity(CArchive& ar, CDensity& density) {
    LoadCurveFit(ar, density);
    const uint16_t rows = ar.ReadU16();
    const uint16_t columns = ar.ReadU16();
    if (rows > CDensity::kRows || columns > CDensity::kColumns) Damaged();
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) density.SetTableValue(i, j, ar.ReadF32());
    }
    const uint16_t pressures = ar.ReadU16();
    if (pressures > density.DisplayPressure().size()) Damaged();
    for (uint16_t i = 0; i < pressures; ++i) density.DisplayPressure()[i] = ar.ReadF64();
}

// --- Flow configuration ---------------------------------------------------------------

// Reads a dimensioned value into a field of its dimension class.
template <typename T>
T ReadValue(CArchive& ar) {
    T value;
    ar.ReadDimValue(value);
    return value;
}

CDimlessValue ReadDimless(CArchive& ar) {
    CDimlessValue value;
    ar.ReadDimless(value);
    return value;
}

// A configuration without its fits cannot be stored: the record has no form
// for a missing fit.
const CCurveFit& Fit(const CCurveFit* fit) {
    if (fit == nullptr) throw CArchiveException(CArchiveException::Cause::Generic);
    return *fit;
}

void StoreFlow(CArchive& ar, const CFlow& flow) {
    ar.WriteUnit(flow.FlowUnit());
    ar.WriteU16(ToWord(flow.FluidPhase()));
    ar.WriteU16(ToWord(flow.UnnamedFlag()));
    ar.WriteU16(ToWord(flow.BoreMaterial()));
    ar.WriteU16(ToWord(flow.TubeMaterial()));
    ar.WriteU16(ToWord(flow.DiffProducer()));
    ar.WriteU16(ToWord(flow.DensityDataSource()));
    ar.WriteU16(ToWord(flow.ViscosityDataSource()));
    ar.WriteString(flow.FluidName());
    ar.WriteDimValue(flow.AtmosphericPressure());
    ar.WriteDimless(flow.UnnamedValue());
    ar.WriteDimless(flow.FlowConstant());
    ar.WriteDimValue(flow.TestDp());
    ar.WriteDimValue(flow.TestSp());
    ar.WriteDimValue(flow.TestPt());
    ar.WriteDimValue(flow.TestFlow());
    ar.WriteDimValue(flow.BoreDiameter());
    ar.WriteDimValue(flow.BoreReferenceTemperature());
    ar.WriteDimValue(flow.TubeDiameter());
    ar.WriteDimValue(flow.TubeReferenceTemperature());
    ar.WriteDimValue(flow.StandardPressure());
    ar.WriteDimValue(flow.StandardTemperature());
    ar.WriteDimValue(flow.BaseDensity());
    ar.WriteDimless(flow.MolecularWeight());
    ar.WriteDimValue(flow.OperatingTemperatureMin());
    ar.WriteDimValue(flow.OperatingTemperatureMax());
    ar.WriteDimValue(flow.OperatingPressureMin());
    ar.WriteDimValue(flow.OperatingPressureMax());
    ar.WriteUnit(flow.DensityUnit());
    ar.WriteUnit(flow.ViscosityUnit());
    if (flow.Density() == nullptr) throw CArchiveException(CArchiveException::Cause::Generic);
    StoreDensity(ar, *flow.Density());
    StoreCurveFit(ar, Fit(flow.DischargeCoeff()));
    StoreCurveFit(ar, Fit(flow.EdSquared()));
    StoreCurveFit(ar, Fit(flow.Viscosity()));
    if (!flow.IsLiquid()) {
        ar.WriteDimless(CDimlessValue(flow.GetIsentropicExponent()));
        StoreCurveFit(ar, Fit(flow.GetGasExpansion()));
    }
}

void LoadFlow(CArchive& ar, CFlow& flow) {
    flow.SetFlowUnit(ar.ReadUnit());
    ar.ReadU16();  // the fluid phase is the configuration's own kind
    flow.SetUnnamedFlag(ar.ReadU16());
    flow.SetBoreMaterial(ar.ReadU16());
    flow.SetTubeMaterial(ar.ReadU16());
    flow.SetDiffProducer(ar.ReadU16());
    flow.SetDensityDataSource(ar.ReadU16());
    flow.SetViscosityDataSource(ar.ReadU16());
    flow.SetFluidName(ar.ReadString());
    flow.SetAtmosphericPressure(ReadValue<CPressure>(ar));
    flow.SetUnnamedValue(ReadDimless(ar));
    flow.SetFlowConstant(ReadDimless(ar));
    flow.SetTestDp(ReadValue<CPressure>(ar));
    flow.SetTestSp(ReadValue<CPressure>(ar));
    flow.SetTestPt(ReadValue<CTemperature>(ar));
    flow.SetTestFlow(ReadValue<CDimValue>(ar));
    flow.SetBoreDiameter(ReadValue<CLength>(ar));
    flow.SetBoreReferenceTemperature(ReadValue<CTemperature>(ar));
    flow.SetTubeDiameter(ReadValue<CLength>(ar));
    flow.SetTubeReferenceTemperature(ReadValue<CTemperature>(ar));
    flow.SetStandardPressure(ReadValue<CPressure>(ar));
    flow.SetStandardTemperature(ReadValue<CTemperature>(ar));
    flow.SetBaseDensity(ReadValue<CDVDensity>(ar));
    flow.SetMolecularWeight(ReadDimless(ar));
    flow.SetOperatingTemperatureMin(ReadValue<CTemperature>(ar));
    flow.SetOperatingTemperatureMax(ReadValue<CTemperature>(ar));
    flow.SetOperatingPressureMin(ReadValue<CPressure>(ar));
    flow.SetOperatingPressureMax(ReadValue<CPressure>(ar));
    flow.SetDensityUnit(ar.ReadUnit());
    flow.SetViscosityUnit(ar.ReadUnit());
    LoadDensity(ar, *flow.Density());
    LoadCurveFit(ar, *flow.DischargeCoeff());
    LoadCurveFit(ar, *flow.EdSquared());
    LoadCurveFit(ar, *flow.Viscosity());
    if (CGasExpansion* expansion = flow.GetGasExpansion()) {
        flow.SetIsentropicExponent(ar.ReadF64());
        LoadCurveFit(ar, *expansion);
    }
}

}  // namespace

void StoreConfiguration(CArchive& ar, const CTransmitter& model) {
    ar.WriteU16(kFileFormatVersion);
    for (uint16_t word : model.CommunicationWords()) ar.WriteU16(word);

    const CLCDDisplay& lcd = model.LcdDisplay();
    ar.WriteU16(lcd.Interval());
    ar.WriteU16(lcd.Mask());

    const CDeviceInfo& info = model.DeviceInfo();
    for (uint16_t code : {info.FlangeType(), info.FlangeMaterial(), info.ORingMaterial(),
                          info.DrainVentMaterial(), info.RemoteSealType(), info.RemoteSealFill(),
                          info.RemoteSealMaterial(), info.RemoteSealCount()}) {
        ar.WriteU16(code);
    }
    ar.WriteString(info.Tag());
    ar.WriteString(info.Descriptor());
    ar.WriteString(info.Message());
    ar.WriteU32(info.DateSeconds());

    StoreVariable(ar, model.Pt());
    StoreVariable(ar, model.Dp());
    StoreVariable(ar, model.Sp());

    const CFlow* flow = model.Flow();
    ar.WriteU16(flow ? kFlowPresent : kFlowAbsent);
    ar.WriteU16(static_cast<uint16_t>(flow ? transmitter::kVarFlow : transmitter::kVarNone));
    ar.WriteU16(flow && flow->IsLiquid() ? kFlowKindLiquid : kFlowKindGas);
    if (flow) StoreFlow(ar, *flow);
}

void LoadConfiguration(CArchive& ar, CTransmitter& model) {
    const uint16_t version = ar.ReadU16();
    model.SetFormatVersion(version);
    if (version == kReducedFormatVersion) {
        model.SetCommunicationWords({kDefaultCommWords[0], kDefaultCommWords[1],
                                     kDefaultCommWords[2], kDefaultCommWords[3],
                                     kDefaultCommWords[4]});
    } else {
        std::array<uint16_t, 5> words{};
        for (uint16_t& word : words) word = ar.ReadU16();
        model.SetCommunicationWords(words);
    }

    CLCDDisplay& lcd = model.LcdDisplay();
    lcd.SetInterval(ar.ReadU16());
    lcd.SetMask(ar.ReadU16());

    CDeviceInfo& info = model.DeviceInfo();
    info.SetFlangeType(ar.ReadU16());
    info.SetFlangeMaterial(ar.ReadU16());
    info.SetORingMaterial(ar.ReadU16());
    info.SetDrainVentMaterial(ar.ReadU16());
    info.SetRemoteSealType(ar.ReadU16());
    info.SetRemoteSealFill(ar.ReadU16());
    info.SetRemoteSealMaterial(ar.ReadU16());
    info.SetRemoteSealCount(ar.ReadU16());
    info.SetTag(ar.ReadString());
    info.SetDescriptor(ar.ReadString());
    info.SetMessage(ar.ReadString());
    info.SetDateSeconds(ar.ReadU32());

    LoadVariable(ar, model.Pt(), version);
    LoadVariable(ar, model.Dp(), version);
    LoadVariable(ar, model.Sp(), version);

    const uint16_t present = ar.ReadU16();
    ar.ReadU16();  // the flow variable code follows from the flag
    const uint16_t kind = ar.ReadU16();
    model.RemoveFlow();
    if (present == kFlowAbsent) return;
    std::unique_ptr<CFlow> flow;
    if (kind == kFlowKindGas) {
        flow = std::make_unique<CGasFlow>();
    } else {
        flow = std::make_unique<CLiquidFlow>();
    }
    flow->InitialiseWithDefaults();
    LoadFlow(ar, *flow);
    model.SetFlow(std::move(flow));
}

}  // namespace app
