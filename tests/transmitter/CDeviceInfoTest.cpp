#include "transmitter/CDeviceInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "link/CDeviceException.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

using namespace transmitter;

namespace {

int DeviceErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDeviceException& e) {
        return e.Error();
    }
    return -1;
}

TEST(CDeviceInfo, NewModelNamesItsDefaultConstruction) {
    CScriptedUi ui;
    CComm comm;
    CDeviceInfo info(comm);
    EXPECT_EQ(CDeviceInfo::FlangeMaterialName(info.FlangeMaterial()), "316 Stainless Steel");
    EXPECT_EQ(CDeviceInfo::FlangeTypeName(info.FlangeType()), "Coplanar");
    EXPECT_EQ(CDeviceInfo::DrainVentMaterialName(info.DrainVentMaterial()), "316 Stainless Steel");
    EXPECT_EQ(CDeviceInfo::ORingMaterialName(info.ORingMaterial()), "PTFE (Teflon)");
    EXPECT_EQ(CDeviceInfo::RemoteSealTypeName(info.RemoteSealType()), "None");
    EXPECT_EQ(CDeviceInfo::RemoteSealFillName(info.RemoteSealFill()), "None");
    EXPECT_EQ(CDeviceInfo::RemoteSealMaterialName(info.RemoteSealMaterial()), "None");
    EXPECT_EQ(CDeviceInfo::RemoteSealCountName(info.RemoteSealCount()), "None");
}

TEST(CDeviceInfo, NewModelHasEmptyTextsAndTodaysDate) {
    CScriptedUi ui;
    CComm comm;
    CDeviceInfo info(comm);
    EXPECT_EQ(info.Tag(), "");
    EXPECT_EQ(info.Descriptor(), "");
    EXPECT_EQ(info.Message(), "");
    EXPECT_EQ(info.Date(), CalendarDate::Today());
    EXPECT_EQ(info.DateSeconds() % 86400, 0u);
}

// Sets the time zone for the lifetime of the object.
class CScopedTimeZone {
  public:
    explicit CScopedTimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) m_previous = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~CScopedTimeZone() {
        if (m_previous) {
            ::setenv("TZ", m_previous->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }
    CScopedTimeZone(const CScopedTimeZone&) = delete;
    CScopedTimeZone& operator=(const CScopedTimeZone&) = delete;

  private:
    std::optional<std::string> m_previous;
};

TEST(CDeviceInfo, NewModelTakesTheDateOfTheUsersCalendar) {
    CScriptedUi ui;
    CComm comm;
    uint32_t west = 0;
    uint32_t east = 0;
    {
        CScopedTimeZone zone("UTC+12");  // twelve hours behind UTC
        west = CDeviceInfo(comm).DateSeconds();
    }
    {
        CScopedTimeZone zone("UTC-14");  // fourteen hours ahead
        east = CDeviceInfo(comm).DateSeconds();
    }
    // 26 hours apart: the two calendars are one or two days apart at any moment.
    EXPECT_GE(east, west + 86400);
    EXPECT_LE(east, west + 2 * 86400);
}

TEST(CDeviceInfo, CodeOutsideItsTableShowsFailureAndNameError) {
    CScriptedUi ui;
    ui.Expect("Operation could not be completed!");
    // 251 ("None") is not a flange type.
    EXPECT_EQ(CDeviceInfo::FlangeTypeName(251), "NAME ERROR");
    ui.Expect("Operation could not be completed!");
    EXPECT_EQ(CDeviceInfo::RemoteSealCountName(253), "NAME ERROR");
}

TEST(CDeviceInfo, SharedCodesNameTheirMeaning) {
    CScriptedUi ui;
    EXPECT_EQ(CDeviceInfo::FlangeTypeName(250), "Not Used");
    EXPECT_EQ(CDeviceInfo::FlangeTypeName(252), "Unknown");
    EXPECT_EQ(CDeviceInfo::FlangeTypeName(253), "Special");
    EXPECT_EQ(CDeviceInfo::IsolatorMaterialName(15), "Gold/Monel");
    EXPECT_EQ(CDeviceInfo::FillFluidName(2), "Inert");
    EXPECT_EQ(CDeviceInfo::SpSensorTypeName(1), "Gauge Pressure");
}

TEST(CDeviceInfo, CodeListsAreInDisplayOrder) {
    EXPECT_EQ(CDeviceInfo::RemoteSealCountCodes(), (std::vector<int>{1, 2, 250, 251, 252}));
    EXPECT_EQ(CDeviceInfo::FlangeMaterialCodes(), (std::vector<int>{0, 2, 3, 4, 24, 252, 253}));
    EXPECT_EQ(CDeviceInfo::DrainVentMaterialCodes(), (std::vector<int>{2, 3, 4, 251, 252, 253}));
}

TEST(CDeviceInfo, DeviceDateConvertsWithinTheYearsItCanHold) {
    EXPECT_EQ(CDeviceInfo::DateFromDevice({1, 1, 70}), (CalendarDate{1970, 1, 1}));
    EXPECT_EQ(CDeviceInfo::DateFromDevice({31, 12, 137}), (CalendarDate{2037, 12, 31}));
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({1, 1, 69}); }), 1);
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({1, 1, 138}); }), 1);
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({1, 13, 95}); }), 1);
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({1, 0, 95}); }), 1);
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({0, 1, 95}); }), 1);
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateFromDevice({32, 1, 95}); }), 1);
}

TEST(CDeviceInfo, DateThatTheDeviceCannotHoldIsRefusedBeforeSending) {
    EXPECT_EQ(DeviceErrorOf([] { CDeviceInfo::DateToDevice({2038, 1, 1}); }), 1);
    const DeviceDateBytes bytes = CDeviceInfo::DateToDevice({2035, 2, 20});
    EXPECT_EQ(bytes.yearSince1900, 135);
    EXPECT_EQ(bytes.month, 2);
    EXPECT_EQ(bytes.day, 20);
}

TEST(CDeviceInfo, DocumentWritesKeepTheTextLimits) {
    CScriptedUi ui;
    CComm comm;
    CDeviceInfo info(comm);
    info.WriteTagDescriptorDate({"TAG-123456", "A DESCRIPTOR LONGER THAN 16", {1995, 2, 20}},
                                kAccessDocument);
    info.WriteMessage(std::string(40, 'M'), kAccessDocument);
    const auto texts = info.ReadTagDescriptorDate(kAccessDocument);
    EXPECT_EQ(texts.tag, "TAG-1234");
    EXPECT_EQ(texts.descriptor, "A DESCRIPTOR LON");
    EXPECT_EQ(texts.date, (CalendarDate{1995, 2, 20}));
    EXPECT_EQ(info.ReadMessage(kAccessDocument), std::string(32, 'M'));
}

TEST(CalendarDate, LocalDateIsTheDateOfTheTimeZone) {
    const std::time_t march1st2am = 951868800 + 2 * 3600;  // 2000-03-01 02:00 UTC
    {
        CScopedTimeZone zone("EST5");
        EXPECT_EQ(CalendarDate::LocalDate(march1st2am), (CalendarDate{2000, 2, 29}));
    }
    {
        CScopedTimeZone zone("UTC0");
        EXPECT_EQ(CalendarDate::LocalDate(march1st2am), (CalendarDate{2000, 3, 1}));
    }
    {
        CScopedTimeZone zone("UTC-14");
        EXPECT_EQ(CalendarDate::LocalDate(march1st2am + 10 * 3600), (CalendarDate{2000, 3, 2}));
    }
}

TEST(CalendarDate, SecondsRoundTripAndKnownValues) {
    EXPECT_EQ((CalendarDate{1970, 1, 1}).ToSeconds(), 0u);
    // 2000-03-01 00:00 UTC.
    EXPECT_EQ((CalendarDate{2000, 3, 1}).ToSeconds(), 951868800u);
    EXPECT_EQ(CalendarDate::FromSeconds(951868800u + 86399), (CalendarDate{2000, 3, 1}));
    for (const CalendarDate d :
         {CalendarDate{1996, 2, 29}, CalendarDate{2037, 12, 31}, CalendarDate{2024, 1, 1}})
        EXPECT_EQ(CalendarDate::FromSeconds(d.ToSeconds()), d);
}

}  // namespace
