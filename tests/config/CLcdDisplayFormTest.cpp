#include "config/CLcdDisplayForm.h"

#include <gtest/gtest.h>

#include "link/ErrorReport.h"
#include "resources/Texts.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr uint16_t kRegInterval = 125;
constexpr uint16_t kRegMask = 127;
const std::string kBetweenOneAndTen = "Please enter an integer between 1 and 10.";
using Items = std::vector<uint16_t>;

class LcdDisplayFormTest : public FormTest {
  protected:
    CSimTransmitter& Sim() { return *m_sim; }
};

TEST_F(LcdDisplayFormTest, OpeningListsTheDisplayedItemsAndTheOthersInCanonicalOrder) {
    Model().LcdDisplay().Write({8, 2}, 7, config::kSetupMode);
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "Setup LCD Display Configuration");
    EXPECT_EQ(form.Displayed(), (Items{8, 2}));
    EXPECT_EQ(form.NotDisplayed(), (Items{1, 4}));
    EXPECT_EQ(form.Field("items")->text, "COMM,SP");
    EXPECT_EQ(form.Field("interval")->text, "7");
    EXPECT_EQ(form.Field("interval")->suffix, "Seconds");
    EXPECT_FALSE(form.Changed());
}

TEST_F(LcdDisplayFormTest, SelectedEntriesMoveInTheirListOrderToTheEndOfTheOtherList) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    // Selection given out of order: the list order decides.
    EXPECT_EQ(form.MoveToNotDisplayed({3, 1}), (Items{2, 8}));
    EXPECT_EQ(form.Displayed(), (Items{1, 4}));
    EXPECT_EQ(form.NotDisplayed(), (Items{2, 8}));
    EXPECT_EQ(form.MoveToNotDisplayed({0}), (Items{1}));
    EXPECT_EQ(form.NotDisplayed(), (Items{2, 8, 1}));
    EXPECT_EQ(form.MoveToDisplayed({2, 0}), (Items{2, 1}));
    EXPECT_EQ(form.Displayed(), (Items{4, 2, 1}));
    EXPECT_EQ(form.NotDisplayed(), (Items{8}));
    EXPECT_EQ(form.Field("items")->text, "PT,SP,DP");
}

TEST_F(LcdDisplayFormTest, WithNothingSelectedNothingMovesAndNothingCountsAsChanged) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    EXPECT_TRUE(form.MoveToNotDisplayed({}).empty());
    EXPECT_TRUE(form.MoveToDisplayed({0}).empty()) << "the list is empty";
    EXPECT_TRUE(form.MoveToNotDisplayed({4, -1}).empty()) << "positions outside the list";
    EXPECT_FALSE(form.Changed());
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(LcdDisplayFormTest, MovingEveryItemOutWritesMaskZero) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Caption(), "LCD Display Configuration");
    form.MoveToNotDisplayed({0, 1, 2, 3});
    EXPECT_EQ(form.NotDisplayed(), (Items{1, 2, 4, 8}));
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegInterval});
    EXPECT_EQ(Writes().at(0).quantity, 3);
    EXPECT_EQ(Sim().HoldingRegister(kRegMask), 0);
    EXPECT_EQ(Sim().HoldingRegister(kRegInterval), 3);
}

TEST_F(LcdDisplayFormTest, MovingAnItemOutAndBackStillCountsAsAChangeAndWrites) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.MoveToNotDisplayed({1});
    form.MoveToDisplayed({0});
    EXPECT_TRUE(form.Changed());
    ExpectSafetyAndNotice();
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(WrittenRegisters(), std::vector<uint16_t>{kRegInterval});
    EXPECT_EQ(Sim().HoldingRegister(kRegMask), 15);
}

TEST_F(LcdDisplayFormTest, RetypingTheSameIntervalStillCountsAsAChange) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("interval", "3");
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(LcdDisplayFormTest, OkWithoutAChangeWritesNothingAndAsksNothing) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(LcdDisplayFormTest, TheDisplayedOrderIsKeptInTheDocumentUntilTheFileIsLoadedAgain) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.MoveToNotDisplayed({0});
    form.MoveToDisplayed({0});
    ASSERT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(m_ui.Messages().empty()) << "Setup mode shows no safety boxes";

    CLcdDisplayForm again(Doc(), config::kSetupMode);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.Displayed(), (Items{2, 4, 8, 1}));

    CMVDoc loaded;
    loaded.Load(Doc().Store());
    CLcdDisplayForm fromFile(loaded, config::kSetupMode);
    ASSERT_TRUE(fromFile.Open());
    EXPECT_EQ(fromFile.Displayed(), (Items{1, 2, 4, 8}));
}

TEST_F(LcdDisplayFormTest, AfterAWriteTheTransmitterGivesTheItemsBackInCanonicalOrder) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.MoveToNotDisplayed({0, 2});  // DP and PT out: SP, COMM stay
    form.MoveToDisplayed({1, 0});     // then PT, DP back at the end
    ASSERT_EQ(form.Displayed(), (Items{2, 8, 1, 4}));
    form.SetText("interval", "9");
    ExpectSafetyAndNotice();
    ASSERT_EQ(form.Ok().result, FormResult::Ok);

    CLcdDisplayForm readBack(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(readBack.Open());
    EXPECT_EQ(readBack.Displayed(), (Items{1, 2, 4, 8}));
    EXPECT_EQ(readBack.Field("interval")->text, "9");
}

TEST_F(LcdDisplayFormTest, TheIntervalTakesOneToTenSeconds) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    for (const char* refused : {"0", "11", "65539"}) {
        form.SetText("interval", refused);
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << refused;
        EXPECT_EQ(outcome.message->text, kBetweenOneAndTen) << refused;
        EXPECT_EQ(outcome.focus, "interval");
    }
    for (const char* refused : {"-1", "2.5", "", "ten"}) {
        form.SetText("interval", refused);
        const FormOutcome outcome = form.Ok();
        ASSERT_TRUE(outcome.message) << refused;
        EXPECT_EQ(outcome.message->text, texts::kEnterPositiveInteger) << refused;
    }
    EXPECT_FALSE(Doc().IsModified()) << "a refused interval writes nothing";
    for (const char* accepted : {"1", "10"}) {
        CLcdDisplayForm edge(Doc(), config::kSetupMode);
        ASSERT_TRUE(edge.Open());
        edge.SetText("interval", accepted);
        ASSERT_EQ(edge.Ok().result, FormResult::Ok) << accepted;
        EXPECT_EQ(std::to_string(Model().LcdDisplay().Interval()), accepted);
    }
}

TEST_F(LcdDisplayFormTest, SafetyPromptCancelledKeepsTheWindowOpenAndWritesNothing) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.MoveToNotDisplayed({3});
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Cancel);
    EXPECT_EQ(form.Ok().result, FormResult::StayOpen);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(form.NotDisplayed(), (Items{8}));
}

TEST_F(LcdDisplayFormTest, AFailedWriteShowsItsTextAndConfigurationFailed) {
    Connect();
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(form.Open());
    form.MoveToNotDisplayed({0});
    m_bench.line.SetExceptionRange(125, 127, 4);
    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    m_ui.Expect(LoadString(kIdConfigurationFailed));
    EXPECT_EQ(form.Ok().result, FormResult::Abort);
}

TEST_F(LcdDisplayFormTest, AReadFailureAtOpeningIsShownAndTheWindowDoesNotOpen) {
    Connect();
    m_bench.line.SetExceptionRange(125, 127, 4);
    m_ui.Expect(LoadString(CommErrorMessageId(62)));
    CLcdDisplayForm form(Doc(), config::kTransmitterMode);
    EXPECT_FALSE(form.Open());
}

TEST_F(LcdDisplayFormTest, TheTerminalNamesTheItemsInDisplayOrder) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("items", " pt , Comm");
    EXPECT_EQ(form.Displayed(), (Items{4, 8}));
    EXPECT_EQ(form.NotDisplayed(), (Items{1, 2}));
    EXPECT_EQ(form.Field("items")->text, "PT,COMM");
    ASSERT_EQ(form.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().LcdDisplay().Items(), (Items{4, 8}));
    EXPECT_EQ(Model().LcdDisplay().Mask(), 12);

    CLcdDisplayForm none(Doc(), config::kSetupMode);
    ASSERT_TRUE(none.Open());
    none.SetText("items", "");
    ASSERT_EQ(none.Ok().result, FormResult::Ok);
    EXPECT_EQ(Model().LcdDisplay().Mask(), 0);
}

TEST_F(LcdDisplayFormTest, AnUnknownOrRepeatedItemIsRefusedAndNothingIsWritten) {
    CLcdDisplayForm form(Doc(), config::kSetupMode);
    ASSERT_TRUE(form.Open());
    form.SetText("items", "DP,XP");
    FormOutcome outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text,
              "There is no display item \"XP\". The items are DP, SP, PT and COMM.");
    EXPECT_EQ(outcome.focus, "items");
    form.SetText("items", "SP,,PT");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text,
              "There is no display item \"\". The items are DP, SP, PT and COMM.");
    form.SetText("items", "SP,PT,sp");
    outcome = form.Ok();
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "The display item SP is named twice.");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Model().LcdDisplay().Mask(), 15);
}

}  // namespace
