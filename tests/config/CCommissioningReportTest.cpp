#include "config/CCommissioningReport.h"

#include <gtest/gtest.h>

#include "app/CMVDoc.h"
#include "transmitter/CTransmitter.h"

using namespace transmitter;

namespace {

CConfigSummary NewSummary(void (*change)(CTransmitter&) = nullptr) {
    CMVDoc doc;
    doc.New();
    if (change != nullptr) change(doc.Transmitter());
    return CConfigSummary::FromModel(doc.Transmitter());
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(CCommissioningReport, TitleCarriesTheTagAndEveryAreaIsListed) {
    CCommissioningReport report;
    report.document = NewSummary([](CTransmitter& m) { m.DeviceInfo().SetTag("FT-101"); });
    report.date = "2026-12-09 06:00 +0000";
    report.source = "/plant/FT101.cmm";
    EXPECT_EQ(report.Title(), "Commissioning report FT-101");
    const std::string html = report.Html();
    EXPECT_NE(html.find("<h1>Commissioning report FT-101</h1>"), std::string::npos);
    EXPECT_NE(html.find("2026-12-09 06:00 +0000"), std::string::npos);
    for (const char* heading : {"Device information", "Variables", "Data formats", "LCD display",
                                "Communication", "Flow", "Changes written in this session"})
        EXPECT_NE(html.find(std::string("<h2>") + heading), std::string::npos) << heading;
    // Offline: no identification and no compare.
    EXPECT_EQ(html.find("Transmitter identification"), std::string::npos);
    EXPECT_EQ(html.find("Compared with the transmitter"), std::string::npos);
    EXPECT_NE(html.find("No writes to this transmitter were recorded."), std::string::npos);
    // The variables side by side: each limit once, in its column.
    EXPECT_NE(html.find("<td>-250 " + report.document.Field("DP.units")->value + "</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>800 " + report.document.Field("SP.units")->value + "</td>"),
              std::string::npos);
    EXPECT_EQ(CCommissioningReport().Title(), "Commissioning report (untagged)");
}

TEST(CCommissioningReport, TextsAreEscapedAndChangesAndCompareAreShown) {
    CCommissioningReport report;
    report.document = NewSummary([](CTransmitter& m) { m.DeviceInfo().SetTag("A<B>&C"); });
    report.transmitter = NewSummary([](CTransmitter& m) {
        m.DeviceInfo().SetTag("A<B>&C");
        m.Pt().SetDamping(CDimlessValue(4));
    });
    report.identification = {{"Manufacturer", "Brand & Co"}};
    report.changes = {
        {"2026-12-09T06:01:00+01:00", "Damping", "PT", "0.896 seconds", "4 seconds", "done"}};
    const std::string html = report.Html();
    EXPECT_EQ(html.find("A<B>"), std::string::npos);
    EXPECT_NE(html.find("A&lt;B&gt;&amp;C"), std::string::npos);
    EXPECT_NE(html.find("<td>Brand &amp; Co</td>"), std::string::npos);
    EXPECT_NE(html.find("1 value differs: PT damping."), std::string::npos);
    // One marked row in the compare table, and the recorded write.
    EXPECT_EQ(Count(html, "bgcolor="), 1u);
    EXPECT_NE(html.find("<td>2026-12-09T06:01:00+01:00</td><td>Damping</td><td>PT</td><td>0.896 "
                        "seconds</td><td>4 seconds</td><td>done</td>"),
              std::string::npos);
    EXPECT_EQ(html.find("No writes to this transmitter were recorded."), std::string::npos);
}

TEST(CCommissioningReport, PaperFollowsTheLocalesTerritory) {
    EXPECT_EQ(CCommissioningReport::PaperForLocale("en_US.UTF-8"), PaperSize::Letter);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("fr_CA"), PaperSize::Letter);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("es_MX.utf8"), PaperSize::Letter);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("en_GB.UTF-8"), PaperSize::A4);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("de_DE"), PaperSize::A4);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("C"), PaperSize::A4);
    EXPECT_EQ(CCommissioningReport::PaperForLocale(""), PaperSize::A4);
    EXPECT_EQ(CCommissioningReport::PaperForLocale("en_"), PaperSize::A4);
}

}  // namespace
