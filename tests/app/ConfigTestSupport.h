#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CMVDoc.h"
#include "flow/CDensity.h"
#include "flow/CGasExpansion.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "platform/IUserInterface.h"
#include "platform/UiServices.h"

namespace configtest {

using Bytes = std::vector<uint8_t>;

// Builds the expected bytes of a file, field by field, little-endian.
class CByteWriter {
  public:
    CByteWriter& U16(unsigned v) {
        m_bytes.push_back(static_cast<uint8_t>(v));
        m_bytes.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    CByteWriter& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    CByteWriter& F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    CByteWriter& F64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
    }
    CByteWriter& Unit(unsigned type, unsigned code) { return U16(type).U16(code); }
    CByteWriter& Dim(double v, unsigned type, unsigned code) { return F64(v).Unit(type, code); }
    CByteWriter& ShortText(const std::string& s) {
        m_bytes.push_back(static_cast<uint8_t>(s.size()));
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    // A default fit without points: liquid flag, n 0, invalid, 7 coefficients 1, 0...
    CByteWriter& EmptyFit(unsigned liquid) {
        U16(liquid).U16(0).U16(0).U16(7).F32(1.0f);
        for (int i = 0; i < 6; ++i) F32(0.0f);
        return *this;
    }
    const Bytes& Get() const { return m_bytes; }

  private:
    Bytes m_bytes;
};

// Swallows every message box and answers OK; records the texts.
class CSilentUi : public IUserInterface {
  public:
    CSilentUi() : m_scope(*this) {}
    MsgAnswer MessageBox(const std::string& text, MsgButtons, MsgIcon) override {
        m_texts.push_back(text);
        return MsgAnswer::Ok;
    }
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetLinkBusy(bool) override {}
    bool PumpMessages() override { return false; }
    std::optional<std::string> PromptPassword() override { return std::nullopt; }
    TransmitterStatusAnswer ShowTransmitterStatus(const TransmitterStatusRequest&) override {
        return {};
    }
    std::vector<std::string> m_texts;

  private:
    CScopedUi m_scope;
};

// A folder of its own for each test, removed afterwards.
class CTempFolder {
  public:
    CTempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvel-doc-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp";
        m_path = pattern;
    }
    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// Distinct values in every point array of a fit.
inline void FillFit(CCurveFit& fit, int points, double seed) {
    fit.Resize(points);
    for (int k = 0; k < CCurveFit::kCoefficientCount; ++k) {
        fit.SetCoefficient(k, static_cast<float>(seed + k * 0.125));
    }
    for (int i = 0; i < points; ++i) {
        fit.DisplayX()[static_cast<size_t>(i)] = seed + i;
        fit.DisplayY()[static_cast<size_t>(i)] = -seed / (i + 3.0);
    }
    fit.SetValid(1);
}

inline void FillDensity(CDensity& density, int points, double seed) {
    FillFit(density, points, seed);
    for (int i = 0; i < CDensity::kRows; ++i) {
        for (int j = 0; j < CDensity::kColumns; ++j) {
            density.SetTableValue(i, j, static_cast<float>(seed * 0.01 + i * 10 + j));
        }
    }
    for (int i = 0; i < points; ++i)
        density.DisplayPressure()[static_cast<size_t>(i)] = 100.0 + seed + i;
}

// A configuration with every field away from its default.
inline void MakeRichModel(CMVDoc& doc, bool liquid, const std::string& fluidName) {
    CTransmitter& t = doc.Transmitter();
    t.SetCommunicationWords({0x1234, 0xABCD, 75, 2, 3});
    t.LcdDisplay().SetInterval(9);
    t.LcdDisplay().SetMask(5);
    CDeviceInfo& info = t.DeviceInfo();
    info.SetTag("TAG45678");
    info.SetDescriptor("DESCRIPTOR-16CHR");
    info.SetMessage("A MESSAGE OF EXACTLY 32 CHARS.!!");
    info.SetDateSeconds(1234567890u);
    info.SetConstruction(ConstructionCodes{3, 12, 4, 11, 5, 6, 9, 2});
    t.Dp().SetUnits(CUnit(11, 0));
    t.Dp().SetDamping(CDimlessValue(1.5));
    t.Dp().SetLowerOperatingLimit(CDimValue(-62162.5, CUnit(11, 0)));
    t.Dp().SetUpperOperatingLimit(CDimValue(62162.5, CUnit(11, 0)));
    IntegerScalingRecord r;
    r.method = 3;
    r.rounding = 2;
    r.counts = 30000;
    r.scaleFactor = 7;
    r.offset = 40000;
    r.minInteger = 12;
    r.maxInteger = 60000;
    r.minPv = -1.25f;
    r.maxPv = 3.5e6f;
    t.Dp().SetIntegerScaling(r);
    t.Sp().SetUnits(CUnit(237, 1));
    t.Pt().SetUnits(CUnit(32, 2));
    t.Pt().SetDamping(CDimlessValue(0.1));

    std::unique_ptr<CFlow> flow;
    if (liquid) {
        flow = std::make_unique<CLiquidFlow>();
    } else {
        flow = std::make_unique<CGasFlow>();
    }
    flow->InitialiseWithDefaults();
    flow->SetFluidName(fluidName);
    flow->SetFlowUnit(CUnit(75, 32));
    flow->SetUnnamedFlag(0);
    flow->SetBoreMaterial(4);
    flow->SetTubeMaterial(3);
    flow->SetDiffProducer(11);
    flow->SetDensityDataSource(5);
    flow->SetViscosityDataSource(2);
    flow->SetAtmosphericPressure(CPressure(101.325, CUnit(12, 1)));
    flow->SetUnnamedValue(CDimlessValue(-7.5));
    flow->SetFlowConstant(CDimlessValue(0.123456789012345));
    flow->SetTestDp(CPressure(99.5, CUnit(1, 0)));
    flow->SetTestSp(CPressure(7.25, CUnit(237, 1)));
    flow->SetTestPt(CTemperature(300.15, CUnit(35, 2)));
    flow->SetTestFlow(CDimValue(44.5, CUnit(121, 32)));
    flow->SetBoreDiameter(CLength(50.8, CUnit(49, 35)));
    flow->SetBoreReferenceTemperature(CTemperature(20.0, CUnit(32, 2)));
    flow->SetTubeDiameter(CLength(4.026, CUnit(47, 35)));
    flow->SetTubeReferenceTemperature(CTemperature(527.67, CUnit(34, 2)));
    flow->SetStandardPressure(CPressure(1.01325, CUnit(12, 1)));
    flow->SetStandardTemperature(CTemperature(15.0, CUnit(32, 2)));
    flow->SetBaseDensity(CDVDensity(1.2, CUnit(92, 33)));
    flow->SetMolecularWeight(CDimlessValue(16.043));
    flow->SetOperatingTemperatureMin(CTemperature(-10.0, CUnit(33, 2)));
    flow->SetOperatingTemperatureMax(CTemperature(150.0, CUnit(33, 2)));
    flow->SetOperatingPressureMin(CPressure(10.0, CUnit(6, 1)));
    flow->SetOperatingPressureMax(CPressure(900.0, CUnit(6, 1)));
    flow->SetDensityUnit(CUnit(92, 33));
    flow->SetViscosityUnit(CUnit(246, 34));
    FillDensity(*flow->Density(), liquid ? 4 : 12, 1.0);
    FillFit(*flow->DischargeCoeff(), 5, 2.0);
    FillFit(*flow->EdSquared(), 6, 3.0);
    FillFit(*flow->Viscosity(), 7, 4.0);
    if (!liquid) {
        flow->SetIsentropicExponent(1.31);
        FillFit(*flow->GetGasExpansion(), 3, 5.0);
    }
    t.SetFlow(std::move(flow));
}

}  // namespace configtest
