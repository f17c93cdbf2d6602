// Every write a configuration window makes to a transmitter leaves one record
// per field in the change log, with the values as the window showed them.
#include <gtest/gtest.h>

#include "app/CChangeLog.h"
#include "config/CCommissioningReport.h"
#include "config/CDampingForm.h"
#include "config/CDeviceInfoForm.h"
#include "config/CUnitsForm.h"
#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "platform/SystemError.h"
#include "tests/config/CHalfSecondDampingForm.h"
#include "tests/config/FormTestBench.h"
#include "tests/support/CScratchChangeLog.h"
#include "transmitter/CTransmitter.h"

namespace {

class ChangeLogFormsTest : public FormTest {
  protected:
    CScratchChangeLog m_log;
};

void ExpectConnection(const ChangeRecord& record, const std::string& port) {
    EXPECT_EQ(record.port, port);
    EXPECT_EQ(record.bitRate, 38400);
    EXPECT_EQ(record.address, 1);
    EXPECT_EQ(record.tag, "CORVEL");
}

}  // namespace

TEST_F(ChangeLogFormsTest, EachWrittenVariableIsOneRecordWithItsOldAndNewValue) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.5");
    form.SetText("PT", "7");
    ExpectSafetyAndNotice();
    ASSERT_EQ(form.Ok().result, FormResult::Ok);

    const std::vector<ChangeRecord> records = m_log.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].area, "Transmitter Damping");
    EXPECT_EQ(records[0].field, "DP");
    EXPECT_EQ(records[0].oldValue, "0.896 seconds");
    EXPECT_EQ(records[0].newValue, "2.5 seconds");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kDone);
    EXPECT_EQ(records[1].field, "PT");
    EXPECT_EQ(records[1].newValue, "7 seconds");
    ExpectConnection(records[0], m_bench.line.SlavePath());
    EXPECT_EQ(records[0].time.size(), 25u) << records[0].time;
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(ChangeLogFormsTest, SetupModeEditsTheDocumentAndLogsNothing) {
    CDampingForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "2.5");
    ASSERT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(m_log.Records().empty());
    EXPECT_TRUE(m_log.Text().empty());
}

TEST_F(ChangeLogFormsTest, ARefusedWriteIsLoggedAsRejectedWithItsText) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    m_sim->SetWriteProtect(true);
    form.SetText("SP", "4");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    // Exception 4 on the wire.
    const std::string refusal = LoadString(CommErrorMessageId(62));
    m_ui.ExpectWithIcon(refusal, MsgIcon::Stop);
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);

    const std::vector<ChangeRecord> records = m_log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].field, "SP");
    EXPECT_EQ(records[0].newValue, "4 seconds");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kRejected);
    EXPECT_EQ(records[0].error, refusal);
}

TEST_F(ChangeLogFormsTest, WarningTwentyFourRecordsTheValueTheTransmitterKept) {
    Connect();
    CHalfSecondDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("SP", "2.3");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kDampingNearest)), MsgIcon::Stop);
    form.Ok();

    const std::vector<ChangeRecord> records = m_log.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].field, "SP");
    EXPECT_EQ(records[0].newValue, "2.3 seconds");
    EXPECT_EQ(records[0].outcome, ChangeRecord::kWarning);
    EXPECT_EQ(records[0].kept, "2.5 seconds");
    EXPECT_TRUE(records[0].error.empty());
}

TEST_F(ChangeLogFormsTest, AnUnwritableLogWarnsOnceAndEveryWriteStillHappens) {
    Connect();
    CScratchFolder folder;
    std::ofstream(folder.File("file")) << "x";
    CChangeLog blocked(folder.File("file/changes.jsonl"));
    CScopedChangeLog scope(blocked);
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "3");
    form.SetText("SP", "4");
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.ExpectWithIcon("The change log " + blocked.Path() +
                            " cannot be written: " + SystemErrorText(ENOTDIR) +
                            "\nChanges to transmitters are made but not recorded. This warning "
                            "is not repeated until the program starts again.",
                        MsgIcon::Exclamation);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_sim->Damping(SimVariable::kDp), 3.0);
    EXPECT_EQ(m_sim->Damping(SimVariable::kSp), 4.0);
    EXPECT_EQ(Writes().size(), 2u);
}

TEST_F(ChangeLogFormsTest, UnitsAndDeviceInformationAreLoggedAsTheWindowShowsThem) {
    Connect();
    {
        CUnitsForm units(Doc(), config::kTransmitterMode);
        ASSERT_TRUE(units.Open());
        const FormField& dp = *units.Field("DP");
        const std::string before = dp.Shown();
        const int other = dp.selected == 0 ? 1 : 0;
        units.SetChoice("DP", other);
        const std::string after = units.Field("DP")->Shown();
        ExpectSafetyAndNotice();
        ASSERT_EQ(units.Ok().result, FormResult::Ok);
        const std::vector<ChangeRecord> records = m_log.Records();
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].field, "DP");
        EXPECT_EQ(records[0].oldValue, before);
        EXPECT_EQ(records[0].newValue, after);
        EXPECT_NE(before, after);
    }
    CDeviceInfoForm info(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(info.Open());
    info.SetText("message", "CHECKED BY JS");
    ASSERT_EQ(info.Ok().result, FormResult::Ok);  // device information asks no safety question
    const std::vector<ChangeRecord> records = m_log.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].field, "message");
    EXPECT_EQ(records[1].newValue, "CHECKED BY JS");
    EXPECT_EQ(records[1].outcome, ChangeRecord::kDone);
}

TEST_F(ChangeLogFormsTest, TheReportListsTheWritesOfThisRunToItsTagOnly) {
    Connect();
    CDampingForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("DP", "3");
    ExpectSafetyAndNotice();
    ASSERT_EQ(form.Ok().result, FormResult::Ok);

    const std::vector<ChangeRecordLine> lines = CCommissioningReport::ChangesOfThisRun("CORVEL");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].area, "Transmitter Damping");
    EXPECT_EQ(lines[0].field, "DP");
    EXPECT_EQ(lines[0].oldValue, "0.896 seconds");
    EXPECT_EQ(lines[0].newValue, "3 seconds");
    EXPECT_EQ(lines[0].outcome, ChangeRecord::kDone);
    EXPECT_TRUE(CCommissioningReport::ChangesOfThisRun("FT-102").empty());
}
