#include "config/CConfigSummary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/CMVDoc.h"
#include "app/CSendEngine.h"
#include "app/CommandTable.h"
#include "config/CDampingForm.h"
#include "config/CTransmitterCompare.h"
#include "config/CUnitsForm.h"
#include "config/DateText.h"
#include "config/TransmitterSummary.h"
#include "tests/config/FormTestBench.h"
#include "transmitter/CComm.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {

std::vector<std::string> Keys(const SummaryGroup& group) {
    std::vector<std::string> keys;
    for (const SummaryField& field : group.fields) keys.push_back(field.key);
    return keys;
}

std::vector<std::string> Paths(const std::vector<SummaryDifference>& differences) {
    std::vector<std::string> paths;
    for (const SummaryDifference& d : differences) paths.push_back(d.Path());
    return paths;
}

std::string Value(const CConfigSummary& summary, const std::string& path) {
    const SummaryField* field = summary.Field(path);
    return field != nullptr ? field->value : "<missing " + path + ">";
}

TEST(CConfigSummary, NewDocumentListsEveryAreaWithItsDefaults) {
    CMVDoc doc;
    doc.New();
    const CConfigSummary summary = CConfigSummary::FromModel(doc.Transmitter());

    std::vector<std::string> groups;
    for (const SummaryGroup& group : summary.Groups()) groups.push_back(group.key);
    EXPECT_EQ(groups, (std::vector<std::string>{"device", "DP", "SP", "PT", "data-formats", "lcd",
                                                "comm", "flow"}));
    EXPECT_EQ(Keys(*summary.Group("device")),
              (std::vector<std::string>{"tag", "descriptor", "message", "date", "flange-type",
                                        "flange-material", "o-ring-material", "drain-vent-material",
                                        "seal-type", "seal-fill", "seal-material", "seal-count"}));
    // A disabled integer scaling shows no parameters, and a document knows no range limits.
    for (const char* v : {"DP", "SP", "PT"}) {
        EXPECT_EQ(Keys(*summary.Group(v)),
                  (std::vector<std::string>{"units", "damping", "lower-limit", "upper-limit"}))
            << v;
    }

    EXPECT_EQ(Value(summary, "device.tag"), "");
    EXPECT_EQ(Value(summary, "device.date"), config::DateText(CalendarDate::Today()));
    // Every construction code of a new model names an entry of its list.
    for (const SummaryField& field : summary.Group("device")->fields) {
        EXPECT_EQ(field.value.rfind("code ", 0), std::string::npos) << field.key;
    }
    // The operating limits of a new model, in its units.
    const std::string dpUnit = Value(summary, "DP.units");
    EXPECT_FALSE(dpUnit.empty());
    EXPECT_EQ(Value(summary, "DP.lower-limit"), "-250 " + dpUnit);
    EXPECT_EQ(Value(summary, "DP.upper-limit"), "250 " + dpUnit);
    EXPECT_EQ(Value(summary, "SP.lower-limit"), "0 " + Value(summary, "SP.units"));
    EXPECT_EQ(Value(summary, "SP.upper-limit"), "800 " + Value(summary, "SP.units"));
    EXPECT_EQ(Value(summary, "PT.lower-limit"), "-40 " + Value(summary, "PT.units"));
    EXPECT_EQ(Value(summary, "PT.upper-limit"), "400 " + Value(summary, "PT.units"));
    EXPECT_EQ(Value(summary, "data-formats.float-format"), "Format 0 - default (ABCD)");
    EXPECT_EQ(Value(summary, "data-formats.scaling"), "Disabled");
    EXPECT_EQ(
        Value(summary, "lcd.items"),
        "Differential Pressure, Static Pressure, Process Temperature, " + CLCDDisplay::ItemName(8));
    EXPECT_EQ(Value(summary, "lcd.interval"), "3 Seconds");
    EXPECT_EQ(Value(summary, "comm.turnaround"), "50 mS");
    EXPECT_EQ(Value(summary, "flow.present"), "present");
    EXPECT_EQ(Value(summary, "flow.kind"), "gas");
    EXPECT_EQ(Value(summary, "flow.fluid"), "NITROGEN");
    // Labels are the windows' without mnemonic and colon.
    EXPECT_EQ(summary.Field("device.flange-type")->label, "Flange Type");
    EXPECT_EQ(summary.Field("comm.turnaround")->label, "Turnaround Delay Time");
}

TEST(CConfigSummary, ScalingParametersFollowTheMethodAndCodesWithoutANameShowTheirNumber) {
    CMVDoc doc;
    doc.New();
    CTransmitter& model = doc.Transmitter();
    model.SetIntegerScalingMethod(kScalingEndpoints);
    IntegerScalingRecord record = model.Dp().IntegerScaling();
    record.minInteger = 100;
    record.maxInteger = 64000;
    model.Dp().SetIntegerScaling(record);
    ConstructionCodes codes = model.DeviceInfo().Construction();
    codes.flangeType = 77;  // no such flange type
    model.DeviceInfo().WriteCodes(codes, kAccessDocument);

    const CConfigSummary summary = CConfigSummary::FromModel(model);
    EXPECT_EQ(Value(summary, "data-formats.scaling"), "Entered Endpoints");
    EXPECT_EQ(Keys(*summary.Group("DP")),
              (std::vector<std::string>{"units", "damping", "lower-limit", "upper-limit",
                                        "min-integer", "max-integer", "min-pv", "max-pv"}));
    EXPECT_EQ(Value(summary, "DP.min-integer"), "100");
    EXPECT_EQ(Value(summary, "DP.max-integer"), "64000");
    EXPECT_EQ(Value(summary, "DP.max-pv"), "250 " + Value(summary, "DP.units"));
    EXPECT_EQ(Value(summary, "device.flange-type"), "code 77");

    // Against a disabled document, the parameters of one side are differences.
    CMVDoc plain;
    plain.New();
    const std::vector<SummaryDifference> differences =
        config::CompareSummaries(CConfigSummary::FromModel(plain.Transmitter()), summary);
    const std::vector<std::string> paths = Paths(differences);
    EXPECT_NE(std::find(paths.begin(), paths.end(), "DP.min-integer"), paths.end());
    EXPECT_NE(std::find(paths.begin(), paths.end(), "data-formats.scaling"), paths.end());
    const auto minInteger = std::find_if(differences.begin(), differences.end(),
                                         [](const auto& d) { return d.key == "min-integer"; });
    EXPECT_EQ(minInteger->left, "");
    EXPECT_EQ(minInteger->right, "100");
}

TEST(CConfigSummary, CompareListsExactlyTheValuesThatDifferAndIgnoresUncomparedOnes) {
    CMVDoc a;
    CMVDoc b;
    a.New();
    b.New();
    EXPECT_TRUE(config::CompareSummaries(CConfigSummary::FromModel(a.Transmitter()),
                                         CConfigSummary::FromModel(b.Transmitter()))
                    .empty());

    b.Transmitter().Sp().SetDamping(CDimlessValue(2.5));
    b.Transmitter().LcdDisplay().Write({1, 4}, 5, kAccessDocument);
    // Flow is shown but not compared: Send and Receive do not move it.
    b.Transmitter().Flow()->SetFluidName("METHANE");
    const std::vector<SummaryDifference> differences = config::CompareSummaries(
        CConfigSummary::FromModel(a.Transmitter()), CConfigSummary::FromModel(b.Transmitter()));
    EXPECT_EQ(Paths(differences),
              (std::vector<std::string>{"SP.damping", "lcd.items", "lcd.interval"}));
    EXPECT_EQ(differences[0].left, Value(CConfigSummary::FromModel(a.Transmitter()), "SP.damping"));
    EXPECT_EQ(differences[0].right, "2.5 seconds");
    EXPECT_EQ(differences[0].name, "SP damping");
    EXPECT_EQ(differences[0].area, SummaryArea::Damping);
    EXPECT_EQ(config::DifferenceListText(differences),
              "3 values differ: SP damping, LCD items, LCD update interval.");
    EXPECT_EQ(config::DifferenceListText(differences, 1),
              "3 values differ: SP damping and 2 more.");
    EXPECT_EQ(config::DifferenceListText({differences[0]}), "1 value differs: SP damping.");
    EXPECT_EQ(config::DifferenceListText({}), "No values differ.");
}

TEST(CConfigSummary, LcdItemsReadAlikeWhateverTheOrderTheyWereChosenIn) {
    // The transmitter keeps a set of items: an order chosen in the window is
    // not a difference from it.
    CMVDoc a;
    CMVDoc b;
    a.Transmitter().LcdDisplay().Write({4, 1}, 3, kAccessDocument);
    b.Transmitter().LcdDisplay().Write({1, 4}, 3, kAccessDocument);
    const CConfigSummary left = CConfigSummary::FromModel(a.Transmitter());
    EXPECT_EQ(Value(left, "lcd.items"), "Differential Pressure, Process Temperature");
    EXPECT_TRUE(config::CompareSummaries(left, CConfigSummary::FromModel(b.Transmitter())).empty());
}

TEST(CConfigSummary, EachAreaOpensItsWindowInTheModeOfItsColumn) {
    EXPECT_EQ(config::AreaCommand(SummaryArea::Damping, false), cmd::kSetupDamping);
    EXPECT_EQ(config::AreaCommand(SummaryArea::Damping, true), cmd::kXmtrDamping);
    EXPECT_EQ(config::AreaCommand(SummaryArea::Limits, true), cmd::kXmtrSensorLimits);
    EXPECT_EQ(config::AreaCommand(SummaryArea::Comm, false), cmd::kSetupXmtrComm);
    // No menu item reaches the flow setup; the overview does not either.
    EXPECT_EQ(config::AreaCommand(SummaryArea::Flow, false), 0);
    EXPECT_EQ(config::AreaCommand(SummaryArea::Flow, true), 0);
}

// Against the simulated transmitter.
class TransmitterCompareTest : public FormTest {
  protected:
    void SetUp() override {
        Connect();
        // The document starts as the transmitter's own configuration.
        CTransmitter& model = Model();
        model.ReceiveDataFormats();
        for (int v = kVarDp; v <= kVarPt; ++v) model.ReceiveVariable(v);
        model.ReceiveDeviceInformation();
        model.ReceiveLcd();
        m_sim->ClearRequests();
    }

    std::vector<SummaryDifference> Differences() {
        compare.Read(m_bench.context.Comm());
        return config::CompareSummaries(CConfigSummary::FromModel(Model()), compare.Summary());
    }

    // Every function code the transmitter was asked since the last clear.
    std::vector<int> Functions() const {
        std::vector<int> functions;
        for (const auto& request : m_sim->Requests()) functions.push_back(request.function);
        return functions;
    }

    CTransmitterCompare compare;
};

TEST_F(TransmitterCompareTest, ReadsOnlyAndLeavesTheDocumentAlone) {
    Doc().SetModified(false);
    const std::vector<uint8_t> before = Doc().Store();
    EXPECT_TRUE(Differences().empty());
    const std::vector<int> functions = Functions();
    ASSERT_FALSE(functions.empty());
    for (int function : functions) EXPECT_TRUE(function == 3 || function == 4) << function;
    EXPECT_EQ(Doc().Store(), before);
    EXPECT_FALSE(Doc().IsModified());
    // The transmitter's range limits are shown, not compared; flow is not read.
    EXPECT_FALSE(compare.Summary().Field("DP.url")->compared);
    EXPECT_FALSE(compare.Summary().Field("DP.url")->value.empty());
    EXPECT_EQ(compare.Summary().Group("flow"), nullptr);
    // A second compare reads the transmitter afresh, not the cached groups.
    m_sim->ClearRequests();
    EXPECT_TRUE(Differences().empty());
    EXPECT_EQ(Functions(), functions);
}

TEST_F(TransmitterCompareTest, SetupChangesAreMarkedUntilSent) {
    CDampingForm damping(Doc(), config::kSetupMode);
    ASSERT_TRUE(damping.Open());
    damping.SetText("PT", "7.5");
    ASSERT_EQ(damping.Ok().result, FormResult::Ok);
    Model().DeviceInfo().WriteMessage("CHANGED IN SETUP", kAccessDocument);
    Model().LcdDisplay().Write({4, 2}, 9, kAccessDocument);

    const std::vector<SummaryDifference> differences = Differences();
    EXPECT_EQ(Paths(differences), (std::vector<std::string>{"device.message", "PT.damping",
                                                            "lcd.items", "lcd.interval"}));
    EXPECT_EQ(differences[1].left, "7.5 seconds");
    EXPECT_TRUE(compare.HasSummary());

    CSendEngine send(m_bench.context);
    send.StartConfirmed();
    while (send.Step()) {
    }
    ASSERT_EQ(send.Result(), WorkflowResult::Done);
    // The send wrote: the compare read before it no longer holds.
    EXPECT_TRUE(compare.Follow(m_bench.context.Comm(), m_bench.context.Connected()));
    EXPECT_TRUE(compare.Stale());
    EXPECT_TRUE(Differences().empty());
    EXPECT_FALSE(compare.Stale());
}

TEST_F(TransmitterCompareTest, AWriteFromATransmitterWindowMakesItStaleAndDisconnectClearsIt) {
    compare.Read(m_bench.context.Comm());
    EXPECT_FALSE(compare.Follow(m_bench.context.Comm(), true));
    EXPECT_FALSE(compare.Stale());

    m_ui.Expect(LoadString(kIdSafetyPrompt), MsgAnswer::Ok);
    m_ui.Expect(LoadString(kIdProcessValueNotice));
    CDampingForm damping(Doc(), config::kTransmitterMode);
    ASSERT_TRUE(damping.Open());
    damping.SetText("DP", "3");
    ASSERT_EQ(damping.Ok().result, FormResult::Ok);
    EXPECT_TRUE(compare.Follow(m_bench.context.Comm(), true));
    EXPECT_TRUE(compare.Stale());
    EXPECT_TRUE(compare.HasSummary());
    // Once stale, it stays so without a change being reported again.
    EXPECT_FALSE(compare.Follow(m_bench.context.Comm(), true));

    CConnectEngine(m_bench.context).Disconnect();
    EXPECT_TRUE(compare.Follow(m_bench.context.Comm(), m_bench.context.Connected()));
    EXPECT_FALSE(compare.HasSummary());
    EXPECT_FALSE(compare.Stale());
}

TEST_F(TransmitterCompareTest, AFailedReadLeavesNoColumn) {
    compare.Read(m_bench.context.Comm());
    m_bench.line.SetNoReply(true);
    EXPECT_ANY_THROW(compare.Read(m_bench.context.Comm()));
    EXPECT_FALSE(compare.HasSummary());
}

}  // namespace
