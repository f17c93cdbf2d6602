// Error Information against the simulated transmitter.
#include "diagnostics/CErrorInfoForm.h"

#include "link/ErrorReport.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"

namespace {

class ErrorInfoFormTest : public DiagnosticsTest {};

TEST_F(ErrorInfoFormTest, ByteZeroIsTheFirstByteOfRegister118) {
    SimTransmitterOptions options = Options();
    options.statusBytes = {0x01, 0x01, 0, 0x04, 0, 0};
    Connect(options);
    CErrorInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Lines(), (std::vector<std::string>{"DP signal below Lower Range Limit",
                                                      "Static Pressure Sensor is Shorted",
                                                      "Status Bit Not Labelled (byte 3, bit 2)"}));
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
}

TEST_F(ErrorInfoFormTest, WriteProtectAloneReportsNoErrorStatus) {
    Connect();
    m_sim->SetWriteProtect(true);
    CErrorInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Status()[5], 0x02);
    EXPECT_EQ(form.Lines(), std::vector<std::string>{LoadString(3022)});
}

TEST_F(ErrorInfoFormTest, AProcessBeyondItsLimitsIsReported) {
    SimTransmitterOptions options = Options();
    options.presentValueSetPoints[0] = 260.0;  // DP above its upper operating and range limit
    Connect(options);
    CErrorInfoForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Lines(), (std::vector<std::string>{"DP signal above Upper Operating Limit",
                                                      "DP signal above Upper Range Limit"}));
}

TEST_F(ErrorInfoFormTest, AReadFailureIsShownAndTheWindowNeverOpens) {
    Connect();
    m_bench.line.SetExceptionRange(118, 121, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    CErrorInfoForm form(Doc());
    EXPECT_FALSE(form.Open());
}

}  // namespace
