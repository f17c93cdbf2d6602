#include "flow/CFlow.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "flow/CGasExpansion.h"
#include "flow/FlowTestFiles.h"
#include "flow/FlowUnits.h"
#include "flow/FluidProperties.h"
#include "flow/Messages.h"
#include "flow/Polynomial.h"
#include "flow/PrimaryElements.h"
#include "platform/CException.h"
#include "platform/DebugTrace.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "units/Units.h"

using namespace flow;

namespace {

constexpr unsigned kMsgSetupIncomplete = 368;
constexpr unsigned kMsgNoMassFlow = 360;
constexpr unsigned kMsgDensityFitFailed = 361;
constexpr unsigned kMsgNotSent = 362;
constexpr unsigned kMsgUpperLimitDivide = 401;
constexpr unsigned kMsgUpperLimitReynolds = 402;
constexpr unsigned kMsgUpperLimitExpansion = 403;
constexpr unsigned kMsgUpperLimitNegative = 404;
constexpr unsigned kNameError = 399;

// Trace lines for an unknown material code.
constexpr const char* kTraceUnknownBore = "ERROR: Unknown BoreMatl\n";
constexpr const char* kTraceUnknownTube = "ERROR: Unknown TubeMatl\n";

constexpr int kDefaultFlowUnit = 242;
constexpr int kFlowUnitCodes[] = {241, 123, 242, 243, 121, 244, 80, 81,
                                  82,  83,  70,  71,  72,  73,  74, 75};

constexpr double kMaterialExpansion[] = {6.2e-6, 9.25e-6, 9.25e-6, 6.2e-6, 7.95e-6};
constexpr int kMaterialCount = 5;

// Flow upper limit iteration.
constexpr int kMaxPasses = 7;
constexpr double kCdTolerance = 5e-6;
constexpr double kReynoldsFactor = 22737.47;
constexpr double kTestModeDp = 250.0;
constexpr double kDpHeadroom = 1.1;
constexpr double kStartReynolds = 1e8;
constexpr double kIntegralStartReynolds = 1e5;

// Flow blocks.
constexpr uint8_t kAreaConfiguration = 0;
constexpr uint8_t kAreaArray = 3;
constexpr int kDataOffset = 4;
constexpr size_t kBlockNameLength = 20;
constexpr int kElementsPerBlock = 5;
constexpr int kFirstArrayStep = 5;
constexpr int kLiquidSkippedStep = 9;  // elements 20-24: the gas expansion fit

// A received pressure unit code: the static-pressure type when the code is one
// of its units, else the differential-pressure type.
CUnit PressureUnit(int code) {
    return CUnit(code, units::IsAllowed(code, units::kMtcSp) ? units::kMtcSp : units::kMtcDp);
}

void PutDouble(IFlowTransport::Block& block, int offset, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        block[static_cast<size_t>(offset + i)] = static_cast<uint8_t>(bits >> (8 * i));
}
double GetDouble(const IFlowTransport::Block& block, int offset) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t{block[static_cast<size_t>(offset + i)]} << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
void PutFloat(IFlowTransport::Block& block, int offset, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        block[static_cast<size_t>(offset + i)] = static_cast<uint8_t>(bits >> (8 * i));
}
float GetFloat(const IFlowTransport::Block& block, int offset) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= uint32_t{block[static_cast<size_t>(offset + i)]} << (8 * i);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
std::string GetText(const IFlowTransport::Block& block, int offset, size_t length) {
    std::string text;
    for (size_t i = 0; i < length && block[static_cast<size_t>(offset) + i] != 0; ++i)
        text += static_cast<char>(block[static_cast<size_t>(offset) + i]);
    return text;
}

std::string MaterialName(int code, const char* traceText) {
    if (code < 0 || code >= kMaterialCount) {
        trace::Write("%s", traceText);
        return LoadString(kNameError);
    }
    return texts::kMaterialNames[code];
}

}  // namespace

CFlow::CFlow(int fluidPhase) : m_fluidPhase(fluidPhase) { ResetToDefaults(); }

CFlow::~CFlow() = default;

void CFlow::ResetToDefaults() {
    m_testMode = 0;
    m_emsType = 0;
    m_array.fill(0.0f);
    m_fluidName.clear();
    m_unnamedFlag = 1;
    m_atmosphericPressure = CPressure(14.696, Psi());
    m_unnamedValue = CDimlessValue(0.0);
    m_flowConstant = CDimlessValue(0.0997019);
    m_testDp = CPressure(1.234, DpUnit());
    m_testSp = CPressure(14.567, Psi());
    m_testPt = CTemperature(68.0, Fahrenheit());
    m_testFlow = CDimValue(2.345, CUnit(243, units::kMtcFlow));
    m_boreDiameter = CLength(0.0, Inches());
    m_boreMaterial = 2;
    m_boreReferenceTemperature = CTemperature(68.0, Fahrenheit());
    m_tubeDiameter = CLength(0.0, Inches());
    m_tubeMaterial = 0;
    m_tubeReferenceTemperature = CTemperature(68.0, Fahrenheit());
    m_diffProducer = 1;
    m_standardPressure = CPressure(14.696, Psi());
    m_standardTemperature = CTemperature(68.0, Fahrenheit());
    m_baseDensity = CDVDensity(34.12, LbsPerCuFt());
    m_molecularWeight = CDimlessValue(0.0);
    m_opTemperatureMin = CTemperature(0.0, Fahrenheit());
    m_opTemperatureMax = CTemperature(0.0, Fahrenheit());
    m_opPressureMin = CPressure(0.0, DpUnit());
    m_opPressureMax = CPressure(0.0, DpUnit());
    m_densitySource = 0;
    m_viscositySource = 6;
    m_densityUnit = CUnit(94, units::kMtcDensity);
    m_viscosityUnit = CUnit(55, units::kMtcViscosity);
    m_flowUnit = CUnit(kDefaultFlowUnit, units::kMtcFlow);
    m_allowedFlowUnits.clear();
    for (int code : kFlowUnitCodes) m_allowedFlowUnits.emplace_back(code, units::kMtcFlow);
}

void CFlow::InitialiseWithDefaults() {
    ResetToDefaults();
    const int liquid = IsLiquid() ? 1 : 0;
    m_density = std::make_unique<CDensity>(*this, liquid);
    m_dischargeCoeff = std::make_unique<CDischargeCoeff>(*this, liquid);
    m_edSquared = std::make_unique<CEdSquared>(*this, liquid);
    m_viscosity = std::make_unique<CViscosity>(*this, liquid);
    CreateKindFits();
}

bool CFlow::CopyFrom(const CFlow& other) {
    if (&other == this) return true;
    if (std::strcmp(other.RuntimeClassName(), RuntimeClassName()) != 0) return false;
    m_testMode = other.m_testMode;
    m_emsType = other.m_emsType;
    m_array = other.m_array;
    m_fluidName = other.m_fluidName;
    m_unnamedFlag = other.m_unnamedFlag;
    m_atmosphericPressure = other.m_atmosphericPressure;
    m_unnamedValue = other.m_unnamedValue;
    m_flowConstant = other.m_flowConstant;
    m_testDp = other.m_testDp;
    m_testSp = other.m_testSp;
    m_testPt = other.m_testPt;
    m_testFlow = other.m_testFlow;
    m_boreDiameter = other.m_boreDiameter;
    m_boreMaterial = other.m_boreMaterial;
    m_boreReferenceTemperature = other.m_boreReferenceTemperature;
    m_tubeDiameter = other.m_tubeDiameter;
    m_tubeMaterial = other.m_tubeMaterial;
    m_tubeReferenceTemperature = other.m_tubeReferenceTemperature;
    m_diffProducer = other.m_diffProducer;
    m_standardPressure = other.m_standardPressure;
    m_standardTemperature = other.m_standardTemperature;
    m_baseDensity = other.m_baseDensity;
    m_molecularWeight = other.m_molecularWeight;
    m_opTemperatureMin = other.m_opTemperatureMin;
    m_opTemperatureMax = other.m_opTemperatureMax;
    m_opPressureMin = other.m_opPressureMin;
    m_opPressureMax = other.m_opPressureMax;
    m_densitySource = other.m_densitySource;
    m_viscositySource = other.m_viscositySource;
    m_densityUnit = other.m_densityUnit;
    m_viscosityUnit = other.m_viscosityUnit;
    m_flowUnit = other.m_flowUnit;
    m_allowedFlowUnits = other.m_allowedFlowUnits;
    m_receivedPressureUnit = other.m_receivedPressureUnit;
    m_receivedTemperatureUnit = other.m_receivedTemperatureUnit;
    m_testFileDirectory = other.m_testFileDirectory;
    m_databasePath = other.m_databasePath;
    m_density->CopyFrom(*other.m_density);
    m_dischargeCoeff->CopyFrom(*other.m_dischargeCoeff);
    m_edSquared->CopyFrom(*other.m_edSquared);
    m_viscosity->CopyFrom(*other.m_viscosity);
    CopyKindFields(other);
    return true;
}

std::vector<CCurveFit*> CFlow::Fits() const {
    std::vector<CCurveFit*> fits = {m_density.get(), m_dischargeCoeff.get(), m_edSquared.get(),
                                    m_viscosity.get()};
    if (CGasExpansion* expansion = GetGasExpansion()) fits.push_back(expansion);
    return fits;
}

void CFlow::InvalidateFits() {
    for (CCurveFit* fit : Fits()) {
        if (fit) fit->SetValid(0);
    }
}

CChemicalDatabase CFlow::Database() const {
    return m_databasePath.empty() ? CChemicalDatabase() : CChemicalDatabase(m_databasePath);
}

std::string CFlow::BoreMaterialName(int code) { return MaterialName(code, kTraceUnknownBore); }

std::string CFlow::TubeMaterialName(int code) { return MaterialName(code, kTraceUnknownTube); }

double CFlow::ExpansionCoefficient(int code) {
    return code >= 0 && code < kMaterialCount ? kMaterialExpansion[code] : 0.0;
}

bool CFlow::ComputeBaseDensity() {
    if (!m_density || !m_density->Valid()) {
        flow::ShowMessage(kMsgDensityFitFailed);
        return false;
    }
    const double mw = m_molecularWeight.Get();
    const CChemicalDatabase database = Database();
    if (database.LookUp(m_fluidName, false)) {
        const auto kind = IsLiquid() ? CChemicalDatabase::RecordKind::LiquidDensity
                                     : CChemicalDatabase::RecordKind::SecondVirial;
        CChemicalDatabase::Record record{};
        if (!database.ReadRecord(m_fluidName, kind, record)) return false;
        double density = 0.0;
        if (!flow::FluidDensity(m_fluidPhase, record, mw, PressureIn(m_standardPressure, Pascal()),
                                TemperatureIn(m_standardTemperature, Kelvin()), density))
            return false;
        CDVDensity value(density, KgPerCuM());
        value.ConvertTo(LbsPerCuFt());
        m_baseDensity = value;
        return true;
    }
    const double t = TemperatureIn(m_standardTemperature, Rankine());
    const double p = PressureIn(m_standardPressure, Psi());
    const double fitted =
        flow::EvaluateTable(m_density->GetTable(), CDensity::kRows - 1, CDensity::kColumns - 1,
                            static_cast<float>(1.0 / t), static_cast<float>(p));
    double density = fitted * static_cast<double>(fitted);
    if (!IsLiquid()) {
        const double z = 1.0 / density;
        density = flow::DensityFromCompressibility(mw, t, p, z);
        if (density < 0.0) return false;
    }
    m_baseDensity = CDVDensity(density, LbsPerCuFt());
    return true;
}

double CFlow::FlowUpperLimit(double h, double pPsi, double tRankine) {
    if (tRankine < flow::kTiny) flow::ShowAndAbandon(kMsgUpperLimitDivide);
    const double tubeD = LengthIn(m_tubeDiameter, Inches());
    const float inverseT = static_cast<float>(1.0 / tRankine);
    double re = m_array[15];
    double previous = -1e10;
    double current = 1e10;
    double q = 0.0;
    for (int pass = 0; pass < kMaxPasses && std::fabs(current - previous) > kCdTolerance; ++pass) {
        previous = current;
        if (re < flow::kTiny) flow::ShowAndAbandon(kMsgUpperLimitReynolds);
        current = flow::EvaluatePolynomial(m_dischargeCoeff->GetCoefficients().data(),
                                           CDischargeCoeff::kDegree,
                                           static_cast<float>(1.0 / std::sqrt(re)));
        const double ed2 = flow::EvaluatePolynomial(m_edSquared->GetCoefficients().data(),
                                                    CEdSquared::kDegree, inverseT);
        const double f =
            flow::EvaluateTable(m_density->GetTable(), CDensity::kRows - 1, CDensity::kColumns - 1,
                                inverseT, static_cast<float>(pPsi));
        q = m_flowConstant.Get() * current * ed2 * f * std::sqrt(h);
        if (const CGasExpansion* expansion = GetGasExpansion()) {
            const double y =
                flow::EvaluatePolynomial(expansion->GetCoefficients().data(),
                                         CGasExpansion::kDegree, static_cast<float>(h / pPsi));
            if (y < flow::kTiny) flow::ShowAndAbandon(kMsgUpperLimitExpansion);
            q *= y *
                 std::sqrt(m_molecularWeight.Get() * flow::kSquareInchesPerFoot /
                           flow::kGasConstantUs) *
                 std::sqrt(pPsi / tRankine);
        }
        if (q < flow::kTiny) flow::ShowAndAbandon(kMsgUpperLimitNegative);
        re = q * kReynoldsFactor / tubeD *
             flow::EvaluatePolynomial(m_viscosity->GetCoefficients().data(), CViscosity::kDegree,
                                      inverseT);
    }
    return q;
}

bool CFlow::ComputeCoefficientArray() {
    auto& a = m_array;
    a[0] = static_cast<float>(PressureIn(m_atmosphericPressure, Psi()));
    if (!ComputeBaseDensity()) return false;
    CDVDensity baseDensity(m_baseDensity);
    baseDensity.ConvertTo(LbsPerCuFt());
    const double tubeD = LengthIn(m_tubeDiameter, Inches());
    const double boreD = LengthIn(m_boreDiameter, Inches());
    a[1] = static_cast<float>(baseDensity.Value());
    a[2] = static_cast<float>(m_molecularWeight.Get());
    a[3] = static_cast<float>(tubeD);
    a[4] = static_cast<float>(IsLiquid() ? 0.0 : GetIsentropicExponent());
    for (int k = 0; k <= CEdSquared::kDegree; ++k) a[5 + k] = m_edSquared->Coefficient(k);
    for (int k = 0; k <= CDischargeCoeff::kDegree; ++k) a[8 + k] = m_dischargeCoeff->Coefficient(k);
    a[15] = static_cast<float>(m_diffProducer == flow::kIntegralOrifice
                                   ? boreD / tubeD * kIntegralStartReynolds
                                   : kStartReynolds);
    for (int k = 0; k <= CViscosity::kDegree; ++k) a[16 + k] = m_viscosity->Coefficient(k);
    if (const CGasExpansion* expansion = GetGasExpansion()) {
        for (int k = 0; k <= CGasExpansion::kDegree; ++k) a[20 + k] = expansion->Coefficient(k);
    } else {
        a[20] = 1.0f;
        a[21] = 0.0f;
        a[22] = 0.0f;
    }
    a[23] = IsLiquid() ? 1.0f : 0.0f;
    a[24] = IsLiquid() ? 0.0f : 1.0f;
    for (int j = 0; j < CDensity::kColumns; ++j) {
        for (int i = 0; i < CDensity::kRows; ++i) a[25 + 7 * j + i] = m_density->TableValue(i, j);
    }
    a[88] = static_cast<float>(IsLiquid()
                                   ? 1.0
                                   : std::sqrt(m_molecularWeight.Get() *
                                               flow::kSquareInchesPerFoot / flow::kGasConstantUs));
    a[89] = static_cast<float>(TemperatureIn(m_tubeReferenceTemperature, Rankine()));
    a[90] = static_cast<float>(ExpansionCoefficient(m_tubeMaterial));
    a[91] = 0.0f;
    double maxDp = (m_testMode ? kTestModeDp : static_cast<double>(a[92])) * kDpHeadroom;
    if (!IsLiquid()) maxDp = std::min(maxDp, PressureIn(m_opPressureMax, DpUnit()));
    a[92] = static_cast<float>(maxDp);
    a[93] = static_cast<float>(PressureIn(m_opPressureMin, Psi()));
    a[94] = static_cast<float>(PressureIn(m_opPressureMax, Psi()));
    a[95] = static_cast<float>(TemperatureIn(m_opTemperatureMin, Rankine()));
    a[96] = static_cast<float>(TemperatureIn(m_opTemperatureMax, Rankine()));
    a[97] = 1.0f;
    a[98] = 0.5f;
    a[99] = 0.0f;
    const double upperLimit = FlowUpperLimit(a[92], a[94], a[95]);
    a[100] = static_cast<float>(upperLimit);
    a[101] = static_cast<float>(upperLimit * 0.01);
    a[102] = a[99];
    a[103] = a[100];
    return true;
}

int CFlow::ReadEmsType(int step, IFlowTransport* transport) {
    if (m_testMode) {
        m_emsType = 1;
    } else if (step == 0) {
        m_emsType = 0;
        if (transport) {
            const std::vector<uint8_t> reply = transport->ReadFlowApplication();
            if (reply.size() > 8 && reply[8] == 1)
                m_emsType = 1;
            else if (reply.size() > 10 && reply[10] == 1)
                m_emsType = 2;
        }
    }
    return m_emsType;
}

void CFlow::BuildConfigurationBlock(int step, IFlowTransport::Block& block) const {
    block[1] = kAreaConfiguration;
    block[2] = static_cast<uint8_t>(step * 20);
    block[3] = static_cast<uint8_t>(step < 2 ? 20 : 18);
    const std::string name = m_fluidName.substr(0, kMaxSentName);
    auto putPair = [&block](const CDimValue& first, const CDimValue& second) {
        PutDouble(block, kDataOffset, first.Value());
        PutDouble(block, kDataOffset + 8, second.Value());
        block[20] = static_cast<uint8_t>(first.Unit().UnitCode());
        block[21] = static_cast<uint8_t>(second.Unit().UnitCode());
    };
    switch (step) {
        case 0:
            for (size_t i = 0; i < kBlockNameLength && i < name.size(); ++i)
                block[kDataOffset + i] = static_cast<uint8_t>(name[i]);
            break;
        case 1:
            for (size_t i = kBlockNameLength; i < name.size(); ++i)
                block[kDataOffset + i - kBlockNameLength] = static_cast<uint8_t>(name[i]);
            block[14] = static_cast<uint8_t>(m_opPressureMin.Unit().UnitCode());
            block[15] = static_cast<uint8_t>(m_fluidPhase);
            block[16] = static_cast<uint8_t>(m_boreMaterial);
            block[17] = static_cast<uint8_t>(m_tubeMaterial);
            block[18] = static_cast<uint8_t>(m_diffProducer);
            block[19] = static_cast<uint8_t>(m_densitySource);
            block[20] = static_cast<uint8_t>(m_viscositySource);
            block[21] = static_cast<uint8_t>(m_densityUnit.UnitCode());
            block[22] = static_cast<uint8_t>(m_viscosityUnit.UnitCode());
            block[23] = static_cast<uint8_t>(m_opTemperatureMin.Unit().UnitCode());
            break;
        case 2:
            putPair(m_boreDiameter, m_tubeDiameter);
            break;
        case 3:
            putPair(m_boreReferenceTemperature, m_tubeReferenceTemperature);
            break;
        default:
            putPair(m_standardPressure, m_standardTemperature);
            break;
    }
}

int CFlow::PrepareFlowBlock(int step, IFlowTransport* transport) {
    if (step < 0 || step > kLastSendStep) return 0;
    for (const CCurveFit* fit : Fits()) {
        if (!fit || !fit->Valid()) {
            flow::ShowMessage(kMsgSetupIncomplete);
            m_emsType = 0;
            return 0;
        }
    }
    const int ems = ReadEmsType(step, transport);
    if (ems < 1) {
        flow::ShowMessage(kMsgNoMassFlow);
        return 0;
    }
    if (!m_testMode && !transport) return 0;

    IFlowTransport::Block block{};
    block[0] = static_cast<uint8_t>(ems);
    if (step == 0) {
        m_array.fill(0.0f);
        if (!m_testMode) {
            CPressure limit(transport->DpUpperRangeLimit());
            limit.ConvertTo(DpUnit());
            m_array[92] = static_cast<float>(limit.Value());
        }
    }
    if (step < kFirstArrayStep) {
        BuildConfigurationBlock(step, block);
    } else {
        if (step == kFirstArrayStep) {
            if (!ComputeCoefficientArray()) return 0;
            if (m_testMode) return WriteSendFile() ? ems : 0;
        }
        const int start = (step - kFirstArrayStep) * kElementsPerBlock;
        const int count = step == kLastSendStep ? kArraySize - start : kElementsPerBlock;
        block[1] = kAreaArray;
        block[2] = static_cast<uint8_t>(start);
        block[3] = static_cast<uint8_t>(count);
        for (int k = 0; k < count; ++k)
            PutFloat(block, kDataOffset + 4 * k, m_array[static_cast<size_t>(start + k)]);
    }
    if (!m_testMode) transport->WriteFlowBlock(block);
    return ems;
}

bool CFlow::WriteSendFile() const {
    const std::string path = flow::TestFilePath(m_testFileDirectory, texts::kSendTestFile);
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        flow::ShowText(path + texts::kOpenFailedSuffix);
        return false;
    }
    for (int k = 0; k < kArraySize; ++k)
        std::fputs(FormatText(texts::kCoefficientLine, k,
                              static_cast<double>(m_array[static_cast<size_t>(k)]))
                       .c_str(),
                   file);
    return std::fclose(file) == 0;
}

int CFlow::TakeFlowBlock(int step, IFlowTransport& transport) {
    if (step < 0 || step > kLastReceiveStep) return 0;
    const int ems = ReadEmsType(step, &transport);
    if (ems < 1) {
        flow::ShowMessage(kMsgNoMassFlow);
        return 0;
    }
    if (step == kLiquidSkippedStep && IsLiquid()) return ems;
    const IFlowTransport::Block block = transport.ReadFlowBlock(static_cast<uint8_t>(step));
    switch (step) {
        case 0:
            m_fluidName = GetText(block, kDataOffset, kBlockNameLength);
            break;
        case 1: {
            if (block[14] == 0 || block[23] == 0) {
                flow::ShowMessage(kMsgNotSent);
                return 0;
            }
            if (block[4] != 0) m_fluidName += GetText(block, kDataOffset, 10);
            for (char& c : m_fluidName)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (block[15] != m_fluidPhase) {
                Ui().MessageBox(texts::kInvalidFluidPhase, MsgButtons::Ok, MsgIcon::Stop);
                AbandonSilently();
            }
            m_boreMaterial = block[16];
            m_tubeMaterial = block[17];
            m_diffProducer = block[18];
            m_densitySource = block[19];
            m_viscositySource = block[20];
            m_densityUnit = CUnit(block[21], units::kMtcDensity);
            m_viscosityUnit = CUnit(block[22], units::kMtcViscosity);
            m_receivedPressureUnit = block[14];
            m_receivedTemperatureUnit = block[23];
            break;
        }
        case 2:
            m_boreDiameter = CLength(GetDouble(block, 4), CUnit(block[20], units::kMtcLength));
            m_tubeDiameter = CLength(GetDouble(block, 12), CUnit(block[21], units::kMtcLength));
            break;
        case 3:
            m_boreReferenceTemperature =
                CTemperature(GetDouble(block, 4), CUnit(block[20], units::kMtcPt));
            m_tubeReferenceTemperature =
                CTemperature(GetDouble(block, 12), CUnit(block[21], units::kMtcPt));
            break;
        case 4:
            m_standardPressure = CPressure(GetDouble(block, 4), PressureUnit(block[20]));
            m_standardTemperature =
                CTemperature(GetDouble(block, 12), CUnit(block[21], units::kMtcPt));
            break;
        default: {
            if (step == kFirstArrayStep) m_array.fill(0.0f);
            const bool last = step == kLastReceiveStep;
            const int start = last ? 93 : (step - kFirstArrayStep) * kElementsPerBlock;
            const int count = last ? 4 : kElementsPerBlock;
            for (int k = 0; k < count; ++k)
                m_array[static_cast<size_t>(start + k)] = GetFloat(block, kDataOffset + 4 * k);
            if (last) StoreReceivedArray();
            break;
        }
    }
    return ems;
}

void CFlow::StoreReceivedArray() {
    const auto& a = m_array;
    m_atmosphericPressure = CPressure(a[0], Psi());
    m_baseDensity = CDVDensity(a[1], LbsPerCuFt());
    m_molecularWeight = CDimlessValue(a[2]);
    SetIsentropicExponent(a[4]);
    auto take = [&a](CCurveFit& fit, int first, int count) {
        fit.DeletePoints();
        fit.ResetCoefficients();
        for (int k = 0; k < count; ++k) fit.SetCoefficient(k, a[static_cast<size_t>(first + k)]);
        fit.SetValid(1);
    };
    take(*m_edSquared, 5, CEdSquared::kDegree + 1);
    take(*m_dischargeCoeff, 8, CDischargeCoeff::kDegree + 1);
    take(*m_viscosity, 16, CViscosity::kDegree + 1);
    if (CGasExpansion* expansion = GetGasExpansion())
        take(*expansion, 20, CGasExpansion::kDegree + 1);
    m_density->DeletePoints();
    m_density->ResetCoefficients();
    for (int i = 0; i <= 3; ++i) {
        for (int j = 0; j <= 3; ++j)
            m_density->SetTableValue(i, j, a[static_cast<size_t>(25 + 7 * j + i)]);
        if (IsLiquid()) m_density->SetCoefficient(i, m_density->TableValue(i, 0));
    }
    m_density->SetValid(1);

    const CUnit pressureUnit = PressureUnit(m_receivedPressureUnit);
    const CUnit temperatureUnit(m_receivedTemperatureUnit, units::kMtcPt);
    CPressure pressure(a[93], Psi());
    pressure.ConvertTo(pressureUnit);
    m_opPressureMin = pressure;
    pressure = CPressure(a[94], Psi());
    pressure.ConvertTo(pressureUnit);
    m_opPressureMax = pressure;
    CTemperature temperature(a[95], Rankine());
    temperature.ConvertTo(temperatureUnit);
    if (std::fabs(temperature.Value()) < 0.0001) temperature = CTemperature(0.0, temperatureUnit);
    m_opTemperatureMin = temperature;
    temperature = CTemperature(a[96], Rankine());
    temperature.ConvertTo(temperatureUnit);
    m_opTemperatureMax = temperature;
}
