#include "config/CPasswordsForm.h"

#include <gtest/gtest.h>

#include "link/ErrorReport.h"
#include "platform/DebugTrace.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "tests/config/SecurityImageDevice.h"
#include "tests/support/CScratchChangeLog.h"
#include "transmitter/CTransmitter.h"

namespace {

const std::string kUpdateQuestion = LoadString(3106);
const std::vector<std::string> kMediumKeys = {"medium-1", "medium-2", "medium-3",
                                              "medium-4", "medium-5", "medium-6"};

class PasswordsFormTest : public FormTest {
  protected:
    void SetUp() override {
        m_device.Install(Model().Comm());
        CSecurity builder(3);
        m_device.Configure(builder, true, "ADMIN",
                           {"FLOW1", "FLOW2", "", "FLOW4", "FLOW5", "FLOW6"});
        Security().ReadAll(Model().Comm());
        m_device.writtenSlots.clear();
    }

    CSecurity& Security() { return m_bench.security; }
    void ExpectQuestion(MsgAnswer answer) {
        m_ui.ExpectWithIcon(kUpdateQuestion, MsgIcon::Exclamation, answer);
    }

    SecurityImageDevice m_device;
};

TEST_F(PasswordsFormTest, OpeningShowsTheHeldPasswords) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Passwords");
    ASSERT_EQ(form.Fields().size(), 7u);
    EXPECT_EQ(form.Field("medium-1")->text, "FLOW1");
    EXPECT_EQ(form.Field("medium-3")->text, "");
    EXPECT_EQ(form.Field("medium-6")->text, "FLOW6");
    EXPECT_EQ(form.Field("high")->text, "ADMIN");
    EXPECT_EQ(form.Field("high")->maxLength, 8u);
    EXPECT_TRUE(m_device.writtenSlots.empty()) << "opening reads nothing and writes nothing";
}

TEST_F(PasswordsFormTest, OkWithoutAChangeAsksNothingAndWritesNothing) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-2", "flow2");  // turns into the held FLOW2
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(m_ui.Messages().empty());
    EXPECT_TRUE(m_device.writtenSlots.empty());
}

TEST_F(PasswordsFormTest, ChangingOneMediumPasswordWritesOnlyThatNumber) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-3", "new3");
    EXPECT_EQ(form.Field("medium-3")->text, "NEW3");
    ExpectQuestion(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_device.writtenSlots, std::vector<int>{4}) << "medium 3 is password number 4";
    EXPECT_EQ(m_device.PasswordInSlot(4), "NEW3");
    EXPECT_EQ(Security().Password(4), "NEW3");
}

TEST_F(PasswordsFormTest, SeveralChangesAreWrittenMediumFirstThenTheHighPassword) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("high", "BOSS");
    form.SetText("medium-6", "LAST");
    form.SetText("medium-1", "FIRST");
    ExpectQuestion(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_device.writtenSlots, (std::vector<int>{2, 7, 1}));
    EXPECT_EQ(Security().AdministrativePassword(), "BOSS");
    EXPECT_EQ(m_device.PasswordInSlot(1), "BOSS");
    EXPECT_EQ(m_device.PasswordInSlot(3), "FLOW2") << "unchanged slots keep their password";
}

TEST_F(PasswordsFormTest, AllSevenChangedAreWrittenInOneBlockWithTheStateKept) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    for (size_t i = 0; i < kMediumKeys.size(); ++i)
        form.SetText(kMediumKeys[i], "M" + std::to_string(i + 1));
    form.SetText("high", "TOP");
    ExpectQuestion(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_device.writtenSlots, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(CSecurity::StateSlotEnabled(m_device.image[0]));
    EXPECT_EQ(m_device.PasswordInSlot(1), "TOP");
    EXPECT_EQ(m_device.PasswordInSlot(7), "M6");
    EXPECT_EQ(Security().Password(3), "M2");
}

TEST_F(PasswordsFormTest, CancelAtTheQuestionKeepsTheWindowOpenAndWritesNothing) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-4", "X");
    ExpectQuestion(MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_TRUE(m_device.writtenSlots.empty());
    EXPECT_EQ(Security().Password(5), "FLOW4");
}

TEST_F(PasswordsFormTest, AFailedBlockWriteIsShownAndTheOldPasswordsAreKept) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    for (const std::string& key : kMediumKeys) form.SetText(key, "NEW" + key.substr(7));
    form.SetText("high", "NEWHIGH");
    m_device.failAfter = 3;  // the block stops half-way
    ExpectQuestion(MsgAnswer::Ok);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(commerr::kOffline)), MsgIcon::Stop);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_EQ(Security().AdministrativePassword(), "ADMIN");
    EXPECT_EQ(Security().Password(2), "FLOW1");
    EXPECT_EQ(form.Field("high")->text, "NEWHIGH") << "what was typed stays in the window";
}

TEST_F(PasswordsFormTest, AfterAFailedSingleWriteOkAgainWritesOnlyWhatIsLeft) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-2", "TWO");
    form.SetText("high", "BOSS");
    m_device.failAfter = 1;
    ExpectQuestion(MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(commerr::kOffline)));
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_EQ(Security().Password(3), "TWO");
    EXPECT_EQ(Security().AdministrativePassword(), "ADMIN");

    m_device.failAfter = -1;
    m_device.writtenSlots.clear();
    ExpectQuestion(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_device.writtenSlots, std::vector<int>{1});
}

TEST_F(PasswordsFormTest, PasswordsAreUpperCaseKeyboardTextOfAtMostEightCharacters) {
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-5", "abcdefghi");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "Please enter no more than 8 characters.");
    EXPECT_EQ(outcome.focus, "medium-5");
    form.SetText("medium-5", "abc\xC3\xA9");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, texts::kPasswordCharacters);
    form.SetText("medium-5", "a-b 9z!");
    EXPECT_EQ(form.Field("medium-5")->text, "A-B 9Z!");
    ExpectQuestion(MsgAnswer::Ok);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(m_device.PasswordInSlot(6), "A-B 9Z!");
}

TEST_F(PasswordsFormTest, NoPasswordReachesTheTrace) {
    std::string traced;
    trace::SetSink([&traced](const std::string& line) { traced += line + "\n"; });
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    form.SetText("medium-1", "SECRET1");
    form.SetText("high", "SECRET2");
    ExpectQuestion(MsgAnswer::Ok);
    const FormOutcome outcome = form.Ok();
    trace::SetSink({});
    EXPECT_EQ(outcome.result, FormResult::Ok);
    // Medium 1 is password number 2.
    EXPECT_NE(traced.find("passwords changed:  -> 2"), std::string::npos)
        << "the writes are traced: " << traced;
    EXPECT_EQ(traced.find("SECRET"), std::string::npos) << traced;
    EXPECT_EQ(traced.find("FLOW1"), std::string::npos) << traced;
    EXPECT_EQ(traced.find("ADMIN"), std::string::npos) << traced;
}

TEST_F(PasswordsFormTest, WithTheInertTransportEverySlotReadsEmptyAndSecurityOff) {
    Model().Comm().SetLegacyTransport({});
    Connect();  // connecting reads the security image through the inert transport
    EXPECT_FALSE(Security().Enabled());
    EXPECT_EQ(m_bench.context.AccessState(), app::kAccessDisabled);
    CPasswordsForm form(Doc(), Security());
    ASSERT_TRUE(form.Open());
    for (const FormField& field : form.Fields()) EXPECT_EQ(field.text, "") << field.key;
}

}  // namespace

TEST_F(PasswordsFormTest, TheChangeLogNamesThePasswordNumbersAndNeverThePasswords) {
    CScratchChangeLog log;
    {
        CPasswordsForm form(Doc(), Security());
        ASSERT_TRUE(form.Open());
        form.SetText("medium-3", "SECRET3");
        form.SetText("high", "TOPSECRT");
        ExpectQuestion(MsgAnswer::Ok);
        EXPECT_EQ(form.Ok().result, FormResult::Ok);
    }
    {
        CPasswordsForm form(Doc(), Security());
        ASSERT_TRUE(form.Open());
        for (size_t i = 0; i < kMediumKeys.size(); ++i)
            form.SetText(kMediumKeys[i], "QZ" + std::to_string(i + 1) + "XW");
        form.SetText("high", "QZHIGHXW");
        ExpectQuestion(MsgAnswer::Ok);
        EXPECT_EQ(form.Ok().result, FormResult::Ok);
    }
    const std::vector<ChangeRecord> records = log.Records();
    ASSERT_EQ(records.size(), 3u);
    for (const ChangeRecord& record : records) {
        EXPECT_EQ(record.field, "passwords changed");
        EXPECT_EQ(record.oldValue, "");
        EXPECT_EQ(record.outcome, ChangeRecord::kDone);
    }
    // Medium 3 is password number 4; the administrative one is number 1.
    EXPECT_EQ(records[0].newValue, "4");
    EXPECT_EQ(records[1].newValue, "1");
    EXPECT_EQ(records[2].newValue, "1, 2, 3, 4, 5, 6, 7");

    const std::string text = log.Text();
    for (const char* secret : {"SECRET3", "TOPSECRT", "QZ", "FLOW", "ADMIN", "secret"})
        EXPECT_EQ(text.find(secret), std::string::npos) << secret;
}
