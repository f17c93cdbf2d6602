#include "config/CFlowSetup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/CMVDoc.h"
#include "app/FileBytes.h"
#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "flow/FlowTestFiles.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "tests/app/ConfigTestSupport.h"
#include "tests/support/CScriptedUi.h"

using configtest::CTempFolder;

namespace {

class FlowSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(m_system.File("grid.component")) << "grid";
        m_grid = {m_system.Path().string(), m_elsewhere.Path().string(), "grid.component"};
    }

    void ExpectNotCompleted() { m_ui.ExpectWithIcon(LoadString(2102), MsgIcon::Stop); }

    std::string Received() const { return LoadString(2034) + LoadString(2035) + LoadString(2036); }

    CScriptedUi m_ui;
    CTempFolder m_system;
    CTempFolder m_elsewhere;
    config::GridComponent m_grid;
    CMVDoc m_doc;
};

TEST_F(FlowSetupTest, EndsWithNotCompletedAndLeavesTheDocumentAsItWas) {
    auto liquid = std::make_unique<CLiquidFlow>();
    liquid->InitialiseWithDefaults();
    m_doc.Transmitter().SetFlow(std::move(liquid));
    const std::vector<uint8_t> before = m_doc.Store();
    ExpectNotCompleted();
    EXPECT_EQ(config::RunFlowSetup(m_doc, m_grid), config::FlowSetupEnd::PagesUnavailable);
    EXPECT_EQ(m_doc.Store(), before);
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FlowSetupTest, ADocumentWithoutFlowGetsAGasConfigurationAndIsModified) {
    m_doc.Transmitter().RemoveFlow();
    ExpectNotCompleted();
    config::RunFlowSetup(m_doc, m_grid);
    ASSERT_TRUE(m_doc.Transmitter().HasFlow());
    EXPECT_STREQ(m_doc.Transmitter().Flow()->RuntimeClassName(), "CGasFlow");
    EXPECT_EQ(m_doc.Transmitter().Flow()->FluidName(), "NITROGEN");
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(FlowSetupTest, AReceivedConfigurationWithAnUnknownFluidExplainsWhatWasNotReceived) {
    CFlow& flow = *m_doc.Transmitter().Flow();
    flow.SetFluidName("UNKNOWN FLUID 7");
    flow.Density()->SetValid(1);
    ASSERT_EQ(flow.Density()->PointCount(), 0);
    m_ui.Expect(Received());
    ExpectNotCompleted();
    config::RunFlowSetup(m_doc, m_grid);
    EXPECT_EQ(flow.Density()->Valid(), 1) << "only the working copy's fits are invalidated";
}

TEST_F(FlowSetupTest, AKnownFluidOrAFitWithPointsNeedsNoExplanation) {
    CFlow& flow = *m_doc.Transmitter().Flow();
    flow.Density()->SetValid(1);  // NITROGEN is in the database
    ExpectNotCompleted();
    config::RunFlowSetup(m_doc, m_grid);
}

TEST_F(FlowSetupTest, TheComponentIsAlsoFoundInTheCurrentFolder) {
    const config::GridComponent grid{m_elsewhere.Path().string(), m_system.Path().string(),
                                     "grid.component"};
    ExpectNotCompleted();
    EXPECT_EQ(config::RunFlowSetup(m_doc, grid), config::FlowSetupEnd::PagesUnavailable);
}

TEST_F(FlowSetupTest, AMissingComponentNamesTheSystemFolderAndChangesNothing) {
    m_doc.Transmitter().RemoveFlow();
    const config::GridComponent grid{m_elsewhere.Path().string(), m_elsewhere.Path().string(),
                                     "grid.component"};
    m_ui.ExpectWithIcon(LoadString(351) + m_elsewhere.Path().string() + "/" + LoadString(2023),
                        MsgIcon::Stop);
    EXPECT_EQ(config::RunFlowSetup(m_doc, grid), config::FlowSetupEnd::ComponentMissing);
    EXPECT_FALSE(m_doc.Transmitter().HasFlow());
    EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FlowSetupTest, TheFileNoteRemindsThatOnlyAFileKeepsTypedValues) {
    config::CFlowSetupCompletion known(m_doc, true);
    EXPECT_EQ(known.FileNote(), texts::kFlowFileNote);
    EXPECT_TRUE(known.ConnectEnabled());
    m_doc.Transmitter().Flow()->SetFluidName("MY BLEND");
    config::CFlowSetupCompletion unknown(m_doc, false);
    EXPECT_EQ(unknown.FileNote(), LoadString(2044));
    EXPECT_FALSE(unknown.ConnectEnabled());
}

TEST_F(FlowSetupTest, TheHiddenWriterWritesWhatTheTerminalWrites) {
    CTempFolder window;
    CTempFolder terminal;
    m_ui.Expect(texts::kWritingFlowTestFiles);
    config::CFlowSetupCompletion completion(m_doc, true);
    completion.WriteTestFiles(window.Path().string());
    CMVDoc fresh;
    ASSERT_TRUE(flow::WriteFlowTestFiles(fresh.Transmitter().Flow(), terminal.Path().string()));
    for (const char* name : {texts::kGasTestFile, texts::kSendTestFile}) {
        const auto written = app::ReadFileBytes(window.File(name));
        EXPECT_FALSE(written.empty()) << name;
        EXPECT_EQ(written, app::ReadFileBytes(terminal.File(name))) << name;
    }
}

TEST_F(FlowSetupTest, TheHiddenWriterSaysSoWithoutAFlowConfiguration) {
    m_doc.Transmitter().RemoveFlow();
    m_ui.Expect(texts::kWritingFlowTestFiles).Expect(texts::kNoFlowApplication);
    config::CFlowSetupCompletion completion(m_doc, true);
    completion.WriteTestFiles(m_system.Path().string());
}

}  // namespace
