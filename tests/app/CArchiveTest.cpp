#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "app/CArchive.h"
#include "platform/CArchiveException.h"
#include "platform/CException.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"
#include "units/CPressure.h"

namespace {

using Bytes = std::vector<uint8_t>;

CArchiveException::Cause CauseOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no archive failure";
    return CArchiveException::Cause::None;
}

std::string Stored(const std::string& text) {
    CArchive out;
    out.WriteString(text);
    CArchive in(out.Buffer());
    std::string back = in.ReadString();
    EXPECT_EQ(in.Remaining(), 0u);
    return back;
}

Bytes Prefix(const std::string& text, size_t prefixBytes) {
    CArchive out;
    out.WriteString(text);
    EXPECT_EQ(out.Buffer().size(), prefixBytes + text.size());
    return Bytes(out.Buffer().begin(), out.Buffer().begin() + static_cast<long>(prefixBytes));
}

}  // namespace

TEST(CArchive, NumbersAreLittleEndian) {
    CArchive out;
    out.WriteU16(0x1234);
    out.WriteU32(0x89ABCDEF);
    out.WriteF32(1.0f);
    out.WriteF64(-2.0);
    const Bytes expected = {0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0x00, 0x00, 0x80,
                            0x3F, 0,    0,    0,    0,    0,    0,    0x00, 0xC0};
    EXPECT_EQ(out.Buffer(), expected);

    CArchive in(expected);
    EXPECT_EQ(in.ReadU16(), 0x1234);
    EXPECT_EQ(in.ReadU32(), 0x89ABCDEFu);
    EXPECT_EQ(in.ReadF32(), 1.0f);
    EXPECT_EQ(in.ReadF64(), -2.0);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(CArchive, FloatsKeepEveryBit) {
    const double values[] = {0.1, -0.0, std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(), 1e308};
    CArchive out;
    for (double v : values) out.WriteF64(v);
    out.WriteF32(std::nanf(""));
    out.WriteF32(3.4e38f);
    CArchive in(out.Buffer());
    for (double v : values) {
        const double back = in.ReadF64();
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << v;
    }
    EXPECT_TRUE(std::isnan(in.ReadF32()));
    EXPECT_EQ(in.ReadF32(), 3.4e38f);
}

TEST(CArchive, StringPrefixGrowsAtItsLimits) {
    EXPECT_EQ(Prefix("", 1), Bytes({0}));
    EXPECT_EQ(Prefix(std::string(254, 'a'), 1), Bytes({254}));
    EXPECT_EQ(Prefix(std::string(255, 'a'), 3), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Prefix(std::string(65533, 'a'), 3), Bytes({0xFF, 0xFD, 0xFF}));
    // 65534 would collide with the 16-bit-text marker, so it takes the long form.
    EXPECT_EQ(Prefix(std::string(65534, 'a'), 7), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));
    EXPECT_EQ(Prefix(std::string(70000, 'a'), 7), Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0}));
}

TEST(CArchive, StringsRoundTripAtEveryPrefixSize) {
    for (size_t length : {size_t{0}, size_t{1}, size_t{254}, size_t{255}, size_t{65533},
                          size_t{65534}, size_t{65535}, size_t{70000}}) {
        std::string text(length, 'x');
        for (size_t i = 0; i < length; ++i) text[i] = static_cast<char>('A' + i % 26);
        EXPECT_EQ(Stored(text), text) << length;
    }
    EXPECT_EQ(Stored(std::string("a\0b\xff", 4)), std::string("a\0b\xff", 4));
}

TEST(CArchive, ReadsSixteenBitText) {
    // 0xFF, 0xFFFE marks 16-bit characters; the second prefix is one byte here.
    CArchive in(Bytes({0xFF, 0xFE, 0xFF, 3, 'N', 0, 0xE9, 0, 0x3A, 0x04, 0x42}));
    EXPECT_EQ(in.ReadString(), "N\xE9?");
    EXPECT_EQ(in.Remaining(), 1u);

    // A second prefix in its three-byte form.
    Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};
    for (int i = 0; i < 300; ++i) {
        bytes.push_back('W');
        bytes.push_back(0);
    }
    CArchive longer(bytes);
    EXPECT_EQ(longer.ReadString(), std::string(300, 'W'));
    EXPECT_EQ(longer.Remaining(), 0u);
}

TEST(CArchive, LengthsAreCheckedBeforeAnythingIsAllocated) {
    using C = CArchiveException::Cause;
    EXPECT_EQ(CauseOf([] { CArchive(Bytes{}).ReadU16(); }), C::EndOfFile);
    EXPECT_EQ(CauseOf([] { CArchive(Bytes{1, 2, 3}).ReadU32(); }), C::EndOfFile);
    EXPECT_EQ(CauseOf([] { CArchive(Bytes{1, 2, 3, 4, 5, 6, 7}).ReadF64(); }), C::EndOfFile);
    EXPECT_EQ(CauseOf([] { CArchive(Bytes{5, 'a', 'b', 'c', 'd'}).ReadString(); }), C::EndOfFile);
    EXPECT_EQ(CauseOf([] { CArchive(Bytes{0xFF, 0x00}).ReadString(); }), C::EndOfFile);
    // A four-gigabyte claim in a tiny file.
    EXPECT_EQ(CauseOf([] {
                  CArchive(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}).ReadString();
              }),
              C::EndOfFile);
    // 16-bit text: two bytes per character must be there.
    EXPECT_EQ(CauseOf([] {
                  CArchive(Bytes{0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b'}).ReadString();
              }),
              C::EndOfFile);
    EXPECT_EQ(CauseOf([] {
                  CArchive(Bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})
                      .ReadString();
              }),
              C::EndOfFile);

    CArchive in(Bytes(10, 0));
    EXPECT_NO_THROW(in.Require(5, 2));
    EXPECT_EQ(CauseOf([&] { in.Require(6, 2); }), C::EndOfFile);
    EXPECT_EQ(CauseOf([&] { in.Require(std::numeric_limits<uint64_t>::max(), 16); }), C::EndOfFile);
}

TEST(CArchive, WrongDirectionIsRefused) {
    using C = CArchiveException::Cause;
    CArchive loading(Bytes{0, 0, 0, 0});
    EXPECT_EQ(CauseOf([&] { loading.WriteU16(1); }), C::ReadOnly);
    EXPECT_EQ(CauseOf([&] { loading.WriteString("a"); }), C::ReadOnly);
    EXPECT_EQ(CauseOf([&] { loading.WriteUnit(CUnit(6, 1)); }), C::ReadOnly);
    EXPECT_EQ(loading.Remaining(), 4u);

    CArchive storing;
    EXPECT_EQ(CauseOf([&] { storing.ReadU16(); }), C::WriteOnly);
    EXPECT_EQ(CauseOf([&] { storing.ReadString(); }), C::WriteOnly);
    EXPECT_EQ(CauseOf([&] { storing.Require(0); }), C::WriteOnly);
}

TEST(CArchive, UnitIsTypeThenCode) {
    CArchive out;
    out.WriteUnit(CUnit(240, 0));
    out.WriteDimValue(CPressure(2.5, CUnit(6, 1)));
    const Bytes expected = {0, 0, 240, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x40, 1, 0, 6, 0};
    EXPECT_EQ(out.Buffer(), expected);

    CArchive in(expected);
    EXPECT_EQ(in.ReadUnit(), CUnit(240, 0));
    CPressure p;
    in.ReadDimValue(p);
    EXPECT_EQ(p.Value(), 2.5);
    EXPECT_EQ(p.Unit(), CUnit(6, 1));
}

TEST(CArchive, IllegalUnitsAreRefusedBothWays) {
    CScriptedUi ui;
    ui.Expect(LoadString(2049) + " FLOW");
    CArchive in(Bytes{32, 0, 240, 0});
    EXPECT_THROW(in.ReadUnit(), CUserException);

    ui.Expect(LoadString(2048));
    CArchive badType(Bytes{37, 0, 0, 0});
    EXPECT_THROW(badType.ReadUnit(), CUserException);

    // Writing asks the unit to validate itself before a byte of it is written.
    struct CRefusedUnit : CUnit {
        void Validate() const override {
            Ui().MessageBox(LoadString(2048), MsgButtons::Ok, MsgIcon::None);
            AbandonSilently();
        }
    };
    ui.Expect(LoadString(2048));
    CArchive out;
    EXPECT_THROW(out.WriteUnit(CRefusedUnit()), CUserException);
    EXPECT_TRUE(out.Buffer().empty());
}
