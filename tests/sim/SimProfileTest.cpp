#include "sim/SimProfile.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <stdexcept>

#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"

namespace {

TEST(SimProfile, LoadsLineTransmittersAndForeignDevices) {
    std::istringstream in(
        "# two transmitters and a flow computer of another make\n"
        "[line]\n"
        "wire-timing = 19200\n"
        "link = /tmp/corvel-line\n"
        "\n"
        "[transmitter]\n"
        "address = 3\n"
        "tag = FT-101\n"
        "dp-units = 3\n"
        "dp-range = -60 60\n"
        "pt-operating = 0 300\n"
        "sp-value = 450.5\n"
        "turnaround-ms = 10\n"
        "float-format-support = no\n"
        "scaling-method = 1\n"
        "rtd = off\n"
        "\n"
        "[transmitter]\n"
        "address = 4\n"
        "manufacturer-id = 40\n"
        "\n"
        "[foreign]\n"
        "address = 9\n"
        "manufacturer-id = 17\n"
        "device-id = 2\n");
    sim::LineConfig config;
    std::string error;
    ASSERT_TRUE(sim::LoadProfile(in, config, &error)) << error;
    EXPECT_EQ(config.wireTiming, 19200.0);
    EXPECT_EQ(config.linkPath, "/tmp/corvel-line");
    ASSERT_EQ(config.transmitters.size(), 2u);
    const auto& first = config.transmitters[0];
    EXPECT_EQ(first.address, 3);
    EXPECT_EQ(first.options.tag, "FT-101");
    EXPECT_EQ(first.options.unitsCodes[0], 3);
    EXPECT_EQ(first.options.lowerRangeLimits[0], -60.0);
    EXPECT_EQ(first.options.upperRangeLimits[0], 60.0);
    EXPECT_EQ(first.options.upperOperatingLimits[2], 300.0);
    EXPECT_EQ(first.options.presentValueSetPoints[1], 450.5);
    EXPECT_EQ(first.options.turnaroundDelayMs, 10);
    EXPECT_FALSE(first.options.floatFormatSupported);
    EXPECT_EQ(first.options.integerScalingMethod, 1);
    EXPECT_FALSE(first.options.rtdMode);
    EXPECT_EQ(config.transmitters[1].options.manufacturerId, 40);
    ASSERT_EQ(config.foreignDevices.size(), 1u);
    EXPECT_EQ(config.foreignDevices[0].address, 9);
    EXPECT_EQ(config.foreignDevices[0].manufacturerId, 17);
    EXPECT_EQ(config.foreignDevices[0].deviceId, 2);
}

TEST(SimProfile, ReportsTheLineOfABadEntry) {
    const char* bad[] = {
        "[transmitter]\naddress = 248\n",
        "[transmitter]\ncolour = blue\n",
        "[transmitter]\ndp-range = 1\n",
        "address = 1\n",
        "[network]\n",
        "[foreign]\nmanufacturer-id = 17\n",
        "[transmitter]\nfloat-format = 4\n",
        "[transmitter]\nscaling-method = 3\n",
    };
    for (const char* text : bad) {
        std::istringstream in(text);
        sim::LineConfig config;
        std::string error;
        EXPECT_FALSE(sim::LoadProfile(in, config, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::istringstream in("[transmitter]\n\naddress = 300\n");
    sim::LineConfig config;
    std::string error;
    EXPECT_FALSE(sim::LoadProfile(in, config, &error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

TEST(SimProfile, CommandLineOptions) {
    sim::LineConfig config;
    bool help = true;
    std::string error;
    ASSERT_TRUE(sim::ParseArguments(
        {"--address", "2,5", "--address", "7", "--foreign", "9:17:2", "--wire-timing", "9600",
         "--no-integer-scaling", "--invalid-units", "sp", "--link", "/tmp/x"},
        config, help, &error))
        << error;
    EXPECT_FALSE(help);
    ASSERT_EQ(config.transmitters.size(), 3u);
    EXPECT_EQ(config.transmitters[2].address, 7);
    for (const auto& t : config.transmitters) {
        EXPECT_FALSE(t.options.integerScalingSupported);
        EXPECT_TRUE(t.options.floatFormatSupported);
        EXPECT_EQ(t.options.unitsCodes[1], SimTransmitterOptions::kInvalidUnitsCode);
        EXPECT_EQ(t.options.unitsCodes[0], 1);
    }
    ASSERT_EQ(config.foreignDevices.size(), 1u);
    EXPECT_EQ(config.foreignDevices[0].deviceId, 2);
    EXPECT_EQ(config.wireTiming, 9600.0);
    EXPECT_EQ(config.linkPath, "/tmp/x");

    for (const std::vector<std::string>& args : {std::vector<std::string>{"--address", "0"},
                                                 {"--foreign", "9:17"},
                                                 {"--invalid-units", "flow"},
                                                 {"--wire-timing"},
                                                 {"--bogus"},
                                                 {"--profile", "/nonexistent/profile.ini"}}) {
        sim::LineConfig other;
        EXPECT_FALSE(sim::ParseArguments(args, other, help, &error)) << args[0];
    }
}

TEST(SimProfile, EmptyCommandLineIsTheDefaultLine) {
    sim::LineConfig config;
    bool help = false;
    ASSERT_TRUE(sim::ParseArguments({}, config, help, nullptr));
    CSimLine line;
    sim::Populate(line, config);
    EXPECT_EQ(line.Addresses(), std::vector<uint8_t>{1});
    ASSERT_NE(line.TransmitterAt(1), nullptr);
    EXPECT_EQ(line.TransmitterAt(1)->UnitsCode(SimVariable::kDp), 1);
}

}  // namespace

// A program that sets the C++ global locale from the desktop must not change
// how a profile reads: numbers there carry a decimal point.
TEST(SimProfile, NumbersReadTheSameUnderADecimalCommaGlobalLocale) {
    std::locale comma;
    try {
        comma = std::locale("de_DE.UTF-8");
    } catch (const std::runtime_error&) {
        FAIL() << "the locale de_DE.UTF-8 is not installed; scripts/install-deps.sh generates it";
    }
    const std::locale previous = std::locale::global(comma);
    std::istringstream in("[transmitter]\naddress = 3\nsp-value = 450.5\ndp-damping = 0.25\n");
    sim::LineConfig config;
    std::string error;
    const bool loaded = sim::LoadProfile(in, config, &error);
    std::locale::global(previous);
    ASSERT_TRUE(loaded) << error;
    ASSERT_EQ(config.transmitters.size(), 1u);
    EXPECT_EQ(config.transmitters[0].options.presentValueSetPoints[1], 450.5);
    EXPECT_EQ(config.transmitters[0].options.damping[0], 0.25);
}
