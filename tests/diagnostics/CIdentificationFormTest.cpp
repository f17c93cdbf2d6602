// Identification Information against the simulated transmitter.
#include "diagnostics/CIdentificationForm.h"

#include "link/ErrorReport.h"
#include "link/LinkSettings.h"
#include "tests/diagnostics/DiagnosticsTestBench.h"

namespace {

class IdentificationFormTest : public DiagnosticsTest {
  protected:
    static std::vector<std::pair<std::string, std::string>> Shown(const CConfigForm& form) {
        std::vector<std::pair<std::string, std::string>> shown;
        for (const FormField& field : form.Fields()) {
            EXPECT_EQ(field.kind, FieldKind::Value) << field.key;
            shown.emplace_back(field.key, field.text);
        }
        return shown;
    }
};

TEST_F(IdentificationFormTest, ShowsTheNumbersAndRevisionsOfTheTransmitter) {
    SimTransmitterOptions options = Options();
    options.outputBoardRevision = 0x0102;
    options.sensorRevision = 7;
    options.hardwareRevision = 4;
    options.transmitterSerialNumber = 0x80000001u;  // uses the top bit
    options.sensorSerialNumber = 4000000000u;
    Connect(options);
    CIdentificationForm form(Doc());
    ASSERT_TRUE(form.Open());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"manufacturer", "Brackwell"},
        {"model", "Corvel w/Modbus"},
        {"transmitter-serial-number", "2147483649"},
        {"sensor-serial-number", "4000000000"},
        {"universal-revision", "5"},
        {"specific-revision", "3"},
        {"hardware-revision", "4"},
        {"output-board-revision", "1.2"},
        {"sensor-module-revision", "7"},
    };
    EXPECT_EQ(Shown(form), expected);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(IdentificationFormTest, OtherMakesAndModelsShowTheirCodeAsUnknown) {
    m_bench.settings.WriteInt(settingskeys::kGeneral, settingskeys::kManufacturerId, 17);
    m_bench.settings.WriteInt(settingskeys::kGeneral, settingskeys::kTransmitterId, 2);
    SimTransmitterOptions options = Options();
    options.manufacturerId = 17;
    options.deviceId = 2;
    Connect(options);
    CIdentificationForm form(Doc());
    ASSERT_TRUE(form.Open());
    EXPECT_EQ(form.Field("manufacturer")->text, "17 (Unknown)");
    EXPECT_EQ(form.Field("model")->text, "2 (Unknown)");
}

TEST(IdentificationNames, RevisionBytesAndCodes) {
    EXPECT_EQ(CIdentificationForm::ByteRevision(0x0102), "1.2");
    EXPECT_EQ(CIdentificationForm::ByteRevision(0xFF00), "255.0");
    EXPECT_EQ(CIdentificationForm::ByteRevision(0x000A), "0.10");
    EXPECT_EQ(CIdentificationForm::ManufacturerName(38), "Brackwell");
    EXPECT_EQ(CIdentificationForm::ManufacturerName(31), "31 (Unknown)");
    EXPECT_EQ(CIdentificationForm::ModelName(31), "Corvel w/Modbus");
    EXPECT_EQ(CIdentificationForm::ModelName(38), "38 (Unknown)");
}

TEST_F(IdentificationFormTest, AReadFailureIsShownAndTheWindowNeverOpens) {
    Connect();
    m_bench.line.SetExceptionRange(0, 58, 4);
    m_ui.ExpectWithIcon(LoadString(CommErrorMessageId(62)), MsgIcon::Stop);
    CIdentificationForm form(Doc());
    EXPECT_FALSE(form.Open());
}

}  // namespace
