#include "flow/FlowTestFiles.h"

#include <cstdio>
#include <memory>

#include "flow/CFlow.h"
#include "flow/CGasExpansion.h"
#include "flow/FlowUnits.h"
#include "flow/Messages.h"
#include "platform/CException.h"
#include "resources/Strings.h"
#include "resources/Texts.h"

namespace flow {
namespace {

// The geometry put in place for a configuration without a bore.
constexpr double kMissingBore = 0.00001;
constexpr double kTestBore = 1.5;              // inches
constexpr double kTestTube = 4.0;              // inches
constexpr double kTestPressureMin = 1.0;       // psi
constexpr double kTestPressureMax = 50.0;      // psi
constexpr double kTestTemperatureMax = 100.0;  // °F

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Clears test mode however the send step ends.
class CTestModeScope {
  public:
    explicit CTestModeScope(CFlow& flow) : m_flow(flow) { m_flow.SetTestMode(1); }
    ~CTestModeScope() { m_flow.SetTestMode(0); }
    CTestModeScope(const CTestModeScope&) = delete;
    CTestModeScope& operator=(const CTestModeScope&) = delete;

  private:
    CFlow& m_flow;
};

void PutTestGeometry(CFlow& flow) {
    flow.SetBoreDiameter(CLength(kTestBore, Inches()));
    flow.SetTubeDiameter(CLength(kTestTube, Inches()));
    flow.SetOperatingPressureMin(CPressure(kTestPressureMin, Psi()));
    flow.SetOperatingPressureMax(CPressure(kTestPressureMax, Psi()));
    flow.SetOperatingTemperatureMax(CTemperature(kTestTemperatureMax, Fahrenheit()));
}

bool EnsureFitted(CCurveFit& fit) { return fit.Valid() || fit.GenerateAndFit(); }

void WriteCoefficients(FILE* file, const char* heading, const CCurveFit& fit, int count) {
    std::fputs(heading, file);
    for (int k = 0; k < count; ++k)
        std::fputs(
            FormatText(texts::kCoefficientLine, k, static_cast<double>(fit.Coefficient(k))).c_str(),
            file);
}

bool WriteFiles(CFlow* flow, const std::string& directory) {
    if (!flow) {
        ShowText(texts::kNoFlowApplication);
        return false;
    }
    if (flow->BoreDiameter().Value() < kMissingBore) PutTestGeometry(*flow);

    const std::string path =
        TestFilePath(directory, flow->IsLiquid() ? texts::kLiquidTestFile : texts::kGasTestFile);
    FilePtr file(std::fopen(path.c_str(), "w"));
    if (!file) {
        ShowText(path + texts::kOpenFailedSuffix);
        return false;
    }

    CGasExpansion* expansion = flow->GetGasExpansion();
    if (!EnsureFitted(*flow->Density()) || !EnsureFitted(*flow->DischargeCoeff()) ||
        !EnsureFitted(*flow->EdSquared()))
        return false;
    if (expansion && !expansion->Valid()) {
        if (!flow->ComputeIsentropicExponent() || !expansion->GenerateAndFit()) return false;
    }
    if (!EnsureFitted(*flow->Viscosity()) || !flow->ComputeBaseDensity()) return false;

    std::fputs(flow->FluidName().c_str(), file.get());
    std::fputs(flow->IsLiquid() ? texts::kDensityFitHeading : texts::kCompressibilityFitHeading,
               file.get());
    const CDensity& density = *flow->Density();
    for (int j = 0; j < CDensity::kColumns; ++j) {
        for (int i = 0; i < CDensity::kRows; ++i)
            std::fputs(FormatText(texts::kDensityTableLine, j, i,
                                  static_cast<double>(density.TableValue(i, j)))
                           .c_str(),
                       file.get());
    }
    WriteCoefficients(file.get(), texts::kCdFitHeading, *flow->DischargeCoeff(),
                      CDischargeCoeff::kDegree + 1);
    WriteCoefficients(file.get(), texts::kEdSquaredFitHeading, *flow->EdSquared(),
                      CEdSquared::kDegree + 1);
    if (expansion)
        WriteCoefficients(file.get(), texts::kGasExpansionFitHeading, *expansion,
                          CGasExpansion::kDegree + 1);
    WriteCoefficients(file.get(), texts::kViscosityFitHeading, *flow->Viscosity(),
                      CViscosity::kDegree + 1);
    if (std::fclose(file.release()) != 0) {
        ShowText(path + texts::kOpenFailedSuffix);
        return false;
    }

    flow->SetTestFileDirectory(directory);
    CTestModeScope testMode(*flow);
    return flow->PrepareFlowBlock(5, nullptr) != 0;
}

}  // namespace

std::string TestFilePath(const std::string& directory, const char* name) {
    if (directory.empty()) return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

bool WriteFlowTestFiles(CFlow* flow, const std::string& directory) {
    try {
        return WriteFiles(flow, directory);
    } catch (const CUserException&) {
        // The calculation has shown its message and abandoned.
        return false;
    }
}

}  // namespace flow
