#include "config/CDeviceInfoForm.h"

#include <gtest/gtest.h>

#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegCodes = 21;
constexpr uint16_t kRegTag = 31;
constexpr uint16_t kRegMessage = 43;

class DeviceInfoFormTest : public FormTest {};

TEST_F(DeviceInfoFormTest, OpensWithTheTextsDateAndCodesRead) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("FT 101");
    options.day = 20;
    options.month = 2;
    options.year = 1995;
    Connect(options);
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Transmitter Device Information");
    EXPECT_EQ(form.Field("tag")->text, "FT 101");
    EXPECT_EQ(form.Field("descriptor")->text, "SIMULATED XMTR");
    EXPECT_EQ(form.Field("date")->text, "20/FEB/95");
    EXPECT_EQ(form.Field("tag")->maxLength, 8u);
    EXPECT_EQ(form.Field("message")->maxLength, 32u);
    EXPECT_EQ(form.Field("flange-type")->label, "&Flange Type:");
    EXPECT_EQ(form.Field("flange-type")->Shown(), CDeviceInfo::FlangeTypeName(13));
    EXPECT_EQ(form.Field("seal-count")->Shown(), CDeviceInfo::RemoteSealCountName(251));
}

TEST_F(DeviceInfoFormTest, ChangingOnlyTheMessageWritesOnlyTheMessage) {
    Connect();
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("message", "CHECK IMPULSE LINES");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegMessage});
    EXPECT_EQ(Model().DeviceInfo().ReadMessage(transmitter::kAccessTransmitter),
              "CHECK IMPULSE LINES");
    EXPECT_TRUE(m_ui.Messages().empty()) << "device information asks no safety question";
}

TEST_F(DeviceInfoFormTest, ANewTagIsWrittenWithDescriptorAndDateAndReadBackForTheStatusBar) {
    Connect();
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("tag", "PT_204");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    ASSERT_FALSE(Writes().empty());
    EXPECT_EQ(Writes().front().address, kRegTag - 2) << "date, tag and descriptor in one write";
    EXPECT_EQ(Model().Comm().CurrentTag().substr(0, 6), "PT_204");
}

TEST_F(DeviceInfoFormTest, AChangedListWritesAllEightCodes) {
    Connect();
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.SetValue("seal-count", "2"), "") << CDeviceInfo::RemoteSealCountName(2);
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    ASSERT_EQ(Writes().size(), 1u);
    EXPECT_EQ(Writes()[0].address, kRegCodes);
    EXPECT_EQ(Writes()[0].quantity, 8u);
    EXPECT_EQ(Model()
                  .DeviceInfo()
                  .ReadCodes(transmitter::kAccessTransmitter)
                  .construction.remoteSealCount,
              2u);
}

TEST_F(DeviceInfoFormTest, AnUnknownCodeIsReportedAndKeptWhenAnotherListChanges) {
    SimTransmitterOptions options = CWorkflowTestBench::Options("CORVEL");
    options.deviceInfoCodes[1] = 99;  // flange type
    Connect(options);
    m_ui.ExpectWithIcon(texts::kUnknownFlangeType, MsgIcon::None);
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("flange-type")->selected, -1);
    ASSERT_EQ(form.SetValue("o-ring-material", "11"), "");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    const ConstructionCodes codes =
        Model().DeviceInfo().ReadCodes(transmitter::kAccessTransmitter).construction;
    EXPECT_EQ(codes.flangeType, 99u);
    EXPECT_EQ(codes.oRingMaterial, 11u);
}

TEST_F(DeviceInfoFormTest, ALowerCaseTagNamesItsFirstLetter) {
    CDeviceInfoForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("tag", "FT-1o1");
    const FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, LoadString(716) + "o");
    EXPECT_EQ(outcome.message->icon, MsgIcon::Exclamation);
    EXPECT_EQ(outcome.focus, "tag");
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(DeviceInfoFormTest, UpperCaseDigitsAndTheUnderscoreAreAccepted) {
    CDeviceInfoForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup Device Information");
    form.SetText("tag", "FT_101");
    form.SetText("descriptor", "LINE 4 [NORTH]");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Model().DeviceInfo().Tag(), "FT_101");
    EXPECT_EQ(Model().DeviceInfo().Descriptor(), "LINE 4 [NORTH]");
}

TEST_F(DeviceInfoFormTest, ChecksLengthsThenTheDateThenCharactersMessageFirst) {
    CDeviceInfoForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("tag", "ft");
    form.SetText("date", "31/APR/99");
    form.SetText("message", std::string(33, 'A'));
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "Please enter no more than 32 characters.");
    EXPECT_EQ(outcome.focus, "message");

    form.SetText("message", "é");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, LoadString(715));
    EXPECT_EQ(outcome.focus, "date");

    form.SetText("date", "01/JAN/95");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, LoadString(716) + "é") << "the whole character is named";
    EXPECT_EQ(outcome.focus, "message");
}

TEST_F(DeviceInfoFormTest, TheDateTakesTheCenturyFromTheTwoDigitYear) {
    CDeviceInfoForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("date", "5/MAR/35");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().DeviceInfo().Date(), (CalendarDate{2035, 3, 5}));
}

TEST_F(DeviceInfoFormTest, NothingChangedWritesNothing) {
    Connect();
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(DeviceInfoFormTest, AFailedWriteShowsItsTextThenConfigurationFailed) {
    Connect();
    CDeviceInfoForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.SetText("message", "NEW");
    m_sim->SetWriteProtect(true);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
}

}  // namespace
