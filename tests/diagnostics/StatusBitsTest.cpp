// The status-bit table and the list Error Information makes of six status bytes.
#include <gtest/gtest.h>

#include <set>

#include "diagnostics/StatusBits.h"
#include "resources/Strings.h"

using diagnostics::StatusBytes;
using diagnostics::StatusLines;

namespace {

const std::string kNoErrorStatus = "There is no error status reported";

TEST(StatusBits, NothingSetAndWriteProtectAloneBothReportNoErrorStatus) {
    EXPECT_EQ(StatusLines(StatusBytes{}), std::vector<std::string>{kNoErrorStatus});
    EXPECT_EQ(StatusLines(StatusBytes{0, 0, 0, 0, 0, 0x02}),
              std::vector<std::string>{kNoErrorStatus});
}

TEST(StatusBits, AnUnlabelledBitNamesItsByteAndBit) {
    EXPECT_EQ(StatusLines(StatusBytes{0, 0, 0, 0x04, 0, 0}),
              std::vector<std::string>{"Status Bit Not Labelled (byte 3, bit 2)"});
    EXPECT_EQ(StatusLines(StatusBytes{0, 0, 0, 0, 0x01, 0x01}),
              (std::vector<std::string>{"Status Bit Not Labelled (byte 4, bit 0)",
                                        "Status Bit Not Labelled (byte 5, bit 0)"}));
}

TEST(StatusBits, SetBitsAreListedByteByByteLowestBitFirst) {
    // Write protect (byte 5 bit 1) is left out among the others too.
    const StatusBytes status{0x81, 0x80, 0x81, 0xC0, 0x08, 0x86};
    EXPECT_EQ(StatusLines(status), (std::vector<std::string>{
                                       "DP signal below Lower Range Limit",
                                       "Calibration mode",
                                       "DP signal below Lower Range Limit - 10%",
                                       "RTD is disconnected",
                                       "Static Pressure Sensor is Open",
                                       "ST signal is below Lower Internal Limit",
                                       "ST signal is above Upper Internal Limit",
                                       "Sensor Hardware is Incompatible",
                                       "Nonvolatile Database CRC error",
                                       "Output board PROM CRC error",
                                   }));
}

TEST(StatusBits, EveryBitHasOneEntryInOrderWithAText) {
    const auto& table = diagnostics::StatusBitTable();
    std::set<unsigned> labelled;
    int unlabelled = 0;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].byte, i / 8) << i;
        EXPECT_EQ(table[i].bit, i % 8) << i;
        EXPECT_TRUE(HasString(table[i].textId)) << table[i].textId;
        if (table[i].textId == diagnostics::kUnlabelledBitText) {
            ++unlabelled;
        } else {
            EXPECT_TRUE(labelled.insert(table[i].textId).second)
                << table[i].textId << " names two bits";
        }
    }
    // Byte 3 bits 0 to 5, byte 4 bit 0 and byte 5 bit 0 have no text of their own.
    EXPECT_EQ(unlabelled, 8);
}

}  // namespace
