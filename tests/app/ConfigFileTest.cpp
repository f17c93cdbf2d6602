#include <gtest/gtest.h>

#include <string>

#include "app/CArchive.h"
#include "app/CMVDoc.h"
#include "platform/CArchiveException.h"
#include "platform/CException.h"
#include "resources/Strings.h"
#include "tests/app/ConfigTestSupport.h"
#include "tests/support/CScriptedUi.h"

using configtest::Bytes;
using configtest::CByteWriter;

namespace {

const std::string kOpenError = "File open error: this file cannot be used";

// Offsets in a file whose three device texts are empty.
constexpr size_t kHeaderSize = 2 + 10 + 4 + 16 + 3 + 4;
constexpr size_t kVariableSize = 4 + 8 + 12 + 12 + 14 + 8;
constexpr size_t kFlowFlags = kHeaderSize + 3 * kVariableSize;
// The same in the files of MakeRichModel, whose texts are 8, 16 and 32 long.
constexpr size_t kRichHeaderSize = kHeaderSize + 8 + 16 + 32;
constexpr size_t kRichFlowFlags = kRichHeaderSize + 3 * kVariableSize;
// The fluid name follows the unit and seven words of the flow record.
constexpr size_t kRichNameAt = kRichFlowFlags + 6 + 4 + 14;

// The record of a variable at its defaults (operating limits as the PVs).
void DefaultVariable(CByteWriter& w, unsigned type, unsigned code, double lower, double upper,
                     unsigned scaleFactor, unsigned offset) {
    w.Unit(type, code).F64(0.896).Dim(lower, type, code).Dim(upper, type, code);
    w.U16(0).U16(0).U16(65534).U16(scaleFactor).U16(offset).U16(0).U16(65534);
    w.F32(static_cast<float>(lower)).F32(static_cast<float>(upper));
}

// The whole file of a new document, written out from the layout tables.
Bytes ExpectedNewFile(uint32_t dateSeconds) {
    CByteWriter w;
    w.U16(1).U16(0).U16(0).U16(50).U16(0).U16(0);
    w.U16(3).U16(15);
    w.U16(13).U16(2).U16(10).U16(2).U16(251).U16(251).U16(251).U16(251);
    w.ShortText("").ShortText("").ShortText("").U32(dateSeconds);
    DefaultVariable(w, 2, 33, -40, 400, 148, 26848);
    DefaultVariable(w, 0, 240, -250, 250, 131, 18);
    DefaultVariable(w, 1, 6, 0, 800, 81, 32768);
    w.U16(1).U16(32).U16(0);

    w.Unit(32, 242).U16(0).U16(1).U16(2).U16(0).U16(1).U16(0).U16(6);
    w.ShortText("NITROGEN");
    w.Dim(14.696, 1, 6).F64(0.0).F64(0.0997019);
    w.Dim(1.234, 0, 240).Dim(14.567, 1, 6).Dim(68, 2, 33).Dim(2.345, 32, 243);
    w.Dim(0, 35, 47).Dim(68, 2, 33).Dim(0, 35, 47).Dim(68, 2, 33);
    w.Dim(14.696, 1, 6).Dim(68, 2, 33).Dim(34.12, 33, 94).F64(28.014);
    w.Dim(0, 2, 33).Dim(0, 2, 33).Dim(0, 0, 240).Dim(0, 0, 240);
    w.Unit(33, 94).Unit(34, 55);
    w.EmptyFit(0).U16(7).U16(9).F32(1.0f);
    for (int i = 1; i < 63; ++i) w.F32(0.0f);
    w.U16(0);
    w.EmptyFit(0).EmptyFit(0).EmptyFit(0);
    w.F64(1.4).EmptyFit(0);
    return w.Get();
}

Bytes StoreRich(bool liquid, const std::string& fluidName) {
    CMVDoc doc;
    configtest::MakeRichModel(doc, liquid, fluidName);
    return doc.Store();
}

// The bytes of `file` with the u16 at `offset` replaced.
Bytes Patched(Bytes file, size_t offset, uint16_t value) {
    file.at(offset) = static_cast<uint8_t>(value);
    file.at(offset + 1) = static_cast<uint8_t>(value >> 8);
    return file;
}

// The same configuration in the layout of version 0: no communication words and
// no integer scaling records.
Bytes ToVersion0(const Bytes& v1, size_t headerSize) {
    Bytes v0 = {0, 0};
    v0.insert(v0.end(), v1.begin() + 12, v1.begin() + static_cast<long>(headerSize));
    for (size_t v = 0; v < 3; ++v) {
        const auto start = v1.begin() + static_cast<long>(headerSize + v * kVariableSize);
        v0.insert(v0.end(), start, start + 36);
    }
    v0.insert(v0.end(), v1.begin() + static_cast<long>(headerSize + 3 * kVariableSize), v1.end());
    return v0;
}

template <typename E>
void ExpectLoadFails(CMVDoc& doc, const Bytes& bytes, CScriptedUi& ui) {
    ui.Expect(kOpenError);
    EXPECT_THROW(doc.Load(bytes), E);
    ui.Verify();
}

CArchiveException::Cause ArchiveFailure(const Bytes& bytes) {
    CScriptedUi ui;
    ui.Expect(kOpenError);
    CMVDoc doc;
    try {
        doc.Load(bytes);
    } catch (const CArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no archive failure";
    return CArchiveException::Cause::None;
}

}  // namespace

TEST(ConfigFile, NewDocumentWritesTheDefaultLayoutExactly) {
    CMVDoc doc;
    doc.New();
    const Bytes file = doc.Store();
    const Bytes expected = ExpectedNewFile(doc.Transmitter().DeviceInfo().DateSeconds());
    ASSERT_EQ(file.size(), expected.size());
    for (size_t i = 0; i < file.size(); ++i) {
        ASSERT_EQ(file[i], expected[i]) << "first difference at byte " << i;
    }
    // The words a reader looks at first.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 32),
              Bytes({1,  0, 0, 0, 0,  0, 50, 0, 0,   0, 0,   0, 3,   0, 15,  0,
                     13, 0, 2, 0, 10, 0, 2,  0, 251, 0, 251, 0, 251, 0, 251, 0}));
    EXPECT_EQ(Bytes(file.begin() + kFlowFlags, file.begin() + kFlowFlags + 6),
              Bytes({1, 0, 32, 0, 0, 0}));
}

TEST(ConfigFile, StoredStandardPressureIsKeptInItsOwnUnit) {
    // Files written before New gave psi hold 14.696 in unit 240; they load as
    // they are, and so does any other unit.
    for (const CPressure& stored :
         {CPressure(14.696, CUnit(240, 0)), CPressure(1.01325, CUnit(12, 1))}) {
        CMVDoc source;
        source.Transmitter().Flow()->SetStandardPressure(stored);
        CMVDoc loaded;
        loaded.Load(source.Store());
        EXPECT_EQ(loaded.Transmitter().Flow()->StandardPressure().Value(), stored.Value());
        EXPECT_EQ(loaded.Transmitter().Flow()->StandardPressure().Unit(), stored.Unit());
    }
}

TEST(ConfigFile, FormatVersionWrittenIsAlwaysOne) {
    CMVDoc doc;
    doc.Transmitter().SetFormatVersion(0);
    const Bytes file = doc.Store();
    EXPECT_EQ(file[0], 1);
    EXPECT_EQ(file[1], 0);
}

TEST(ConfigFile, LoadThenSaveReproducesEveryByte) {
    for (bool liquid : {false, true}) {
        for (size_t nameLength : {size_t{0}, size_t{254}, size_t{255}, size_t{300}}) {
            std::string name(nameLength, 'M');
            for (size_t i = 0; i < nameLength; ++i) name[i] = static_cast<char>('A' + i % 26);
            const Bytes original = StoreRich(liquid, name);
            CMVDoc doc;
            doc.Load(original);
            EXPECT_EQ(doc.Store(), original) << (liquid ? "liquid " : "gas ") << nameLength;
            ASSERT_NE(doc.Transmitter().Flow(), nullptr);
            EXPECT_EQ(doc.Transmitter().Flow()->IsLiquid(), liquid);
            EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), name);
        }
    }
}

TEST(ConfigFile, LoadedValuesAreTheStoredOnes) {
    CMVDoc doc;
    doc.Load(StoreRich(false, "METHANE"));
    const CTransmitter& t = doc.Transmitter();
    EXPECT_EQ(t.CommunicationWords(), (std::array<uint16_t, 5>{0x1234, 0xABCD, 75, 2, 3}));
    EXPECT_EQ(t.LcdDisplay().Items(), (std::vector<uint16_t>{1, 4}));
    EXPECT_EQ(t.DeviceInfo().Tag(), "TAG45678");
    EXPECT_EQ(t.DeviceInfo().Message(), "A MESSAGE OF EXACTLY 32 CHARS.!!");
    EXPECT_EQ(t.DeviceInfo().DateSeconds(), 1234567890u);
    EXPECT_EQ(t.DeviceInfo().FlangeType(), 12);
    EXPECT_EQ(t.DeviceInfo().RemoteSealCount(), 2);
    EXPECT_EQ(t.Dp().Units(), CUnit(11, 0));
    EXPECT_EQ(t.Dp().IntegerScaling().offset, 40000);
    EXPECT_EQ(t.Dp().IntegerScaling().maxPv, 3.5e6f);
    const CFlow& flow = *t.Flow();
    EXPECT_EQ(flow.FlowConstant().Get(), 0.123456789012345);
    EXPECT_EQ(flow.TestPt().Unit(), CUnit(35, 2));
    EXPECT_EQ(flow.GetIsentropicExponent(), 1.31);
    EXPECT_EQ(flow.Density()->PointCount(), 12);
    EXPECT_EQ(flow.Density()->DisplayPressure()[11], 112.0);
    EXPECT_EQ(flow.Density()->TableValue(6, 8), static_cast<float>(0.01 + 68));
    EXPECT_EQ(flow.Viscosity()->DisplayY()[6], -4.0 / 9.0);
    EXPECT_EQ(flow.GetGasExpansion()->Valid(), 1);
}

TEST(ConfigFile, FluidNamePrefixGrowsAt255) {
    const Bytes short254 = StoreRich(false, std::string(254, 'x'));
    EXPECT_EQ(short254[kRichNameAt], 254);
    EXPECT_EQ(short254[kRichNameAt + 1], 'x');
    const Bytes long255 = StoreRich(false, std::string(255, 'x'));
    EXPECT_EQ(Bytes(long255.begin() + kRichNameAt, long255.begin() + kRichNameAt + 4),
              Bytes({0xFF, 0xFF, 0x00, 'x'}));
}

TEST(ConfigFile, SixteenBitFluidNameLoadsAsEightBitText) {
    const Bytes original = StoreRich(true, "WATER");
    Bytes wide(original.begin(), original.begin() + kRichNameAt);
    for (uint8_t b : {0xFF, 0xFE, 0xFF, 5}) wide.push_back(b);
    for (char c : std::string("WATER")) {
        wide.push_back(static_cast<uint8_t>(c));
        wide.push_back(0);
    }
    wide.insert(wide.end(), original.begin() + kRichNameAt + 6, original.end());
    CMVDoc doc;
    doc.Load(wide);
    EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), "WATER");
    EXPECT_EQ(doc.Store(), original);
}

TEST(ConfigFile, Version0TakesScalingFromTheOperatingLimits) {
    CMVDoc source;
    configtest::MakeRichModel(source, false, "ETHANE");
    source.Transmitter().Dp().SetUnits(CUnit(240, 0));
    source.Transmitter().Dp().SetLowerOperatingLimit(CDimValue(-100, CUnit(240, 0)));
    source.Transmitter().Dp().SetUpperOperatingLimit(CDimValue(300, CUnit(240, 0)));
    CMVDoc doc;
    doc.Load(ToVersion0(source.Store(), kRichHeaderSize));
    const CTransmitter& t = doc.Transmitter();
    EXPECT_EQ(t.FormatVersion(), 0);
    EXPECT_EQ(t.CommunicationWords(), (std::array<uint16_t, 5>{0, 0, 50, 0, 0}));
    struct Expected {
        const CMeasuredVariable& variable;
        float lower, upper;
        uint16_t scaleFactor, offset;
    };
    for (const Expected& e :
         {Expected{t.Dp(), -100, 300, 163, 16468},  // 65534 / 400, 163 x -100 + 32768
          Expected{t.Sp(), 0, 800, 81, 32768}, Expected{t.Pt(), -40, 400, 148, 26848}}) {
        const IntegerScalingRecord& r = e.variable.IntegerScaling();
        EXPECT_EQ(r.counts, 65534);
        EXPECT_EQ(r.maxInteger, 65534);
        EXPECT_EQ(r.minInteger, 0);
        EXPECT_EQ(r.minPv, e.lower);
        EXPECT_EQ(r.maxPv, e.upper);
        EXPECT_EQ(r.scaleFactor, e.scaleFactor);
        EXPECT_EQ(r.offset, e.offset);
        EXPECT_EQ(r.method, 0) << "method keeps its default";
    }
    EXPECT_EQ(t.Flow()->FluidName(), "ETHANE");
    // Saved again, it is a version-1 file.
    EXPECT_EQ(doc.Store()[0], 1);
}

TEST(ConfigFile, Version0WithLimitsInTheWrongOrderKeepsAUsableScaleFactor) {
    CMVDoc source;
    source.Transmitter().Pt().SetLowerOperatingLimit(CDimValue(400, CUnit(33, 2)));
    source.Transmitter().Pt().SetUpperOperatingLimit(CDimValue(400, CUnit(33, 2)));
    CMVDoc doc;
    doc.Load(ToVersion0(source.Store(), kHeaderSize));
    EXPECT_EQ(doc.Transmitter().Pt().IntegerScaling().scaleFactor, 1);
    EXPECT_EQ(doc.Transmitter().Pt().IntegerScaling().offset, 33168);
}

TEST(ConfigFile, FlowAbsentRoundTrips) {
    CMVDoc source;
    source.Transmitter().RemoveFlow();
    const Bytes file = source.Store();
    ASSERT_EQ(file.size(), kFlowFlags + 6);
    EXPECT_EQ(Bytes(file.begin() + kFlowFlags, file.end()), Bytes({0, 0, 239, 0, 0, 0}));
    CMVDoc doc;
    doc.Load(file);
    EXPECT_FALSE(doc.Transmitter().HasFlow());
    EXPECT_EQ(doc.Store(), file);
}

TEST(ConfigFile, FlowKindChoosesTheClass) {
    // The kind word alone decides the class: any nonzero kind is a liquid.
    const Bytes liquid = StoreRich(true, "WATER");
    CMVDoc doc;
    doc.Load(Patched(liquid, kRichFlowFlags + 4, 7));
    EXPECT_TRUE(doc.Transmitter().Flow()->IsLiquid());
    EXPECT_EQ(doc.Transmitter().Flow()->GetGasExpansion(), nullptr);
}

TEST(ConfigFile, IllegalUnitStopsTheLoadNamingItsType) {
    CScriptedUi ui;
    CMVDoc doc;
    doc.Transmitter().DeviceInfo().SetTag("BEFORE");
    doc.SetModified();
    // The DP variable's unit code 6 (psi) is not a DP unit.
    ui.Expect(LoadString(2049) + " DP");
    ExpectLoadFails<CUserException>(
        doc, Patched(StoreRich(false, "AIR"), kRichHeaderSize + kVariableSize + 2, 6), ui);
    // Nothing of the file nor of the previous document remains.
    EXPECT_EQ(doc.Transmitter().DeviceInfo().Tag(), "");
    EXPECT_EQ(doc.Transmitter().Flow()->FluidName(), "NITROGEN");
    EXPECT_FALSE(doc.IsModified());

    // The flow unit: code 240 is not a flow unit.
    ui.Expect(LoadString(2049) + " FLOW");
    ExpectLoadFails<CUserException>(doc, Patched(StoreRich(false, "AIR"), kRichFlowFlags + 8, 240),
                                    ui);
    // An unknown measurement type.
    ui.Expect(LoadString(2048));
    ExpectLoadFails<CUserException>(doc, Patched(StoreRich(false, "AIR"), kRichFlowFlags + 6, 37),
                                    ui);
}

TEST(ConfigFile, DamagedFilesFailWithTheirCause) {
    using C = CArchiveException::Cause;
    const Bytes gas = StoreRich(false, "AIR");
    EXPECT_EQ(ArchiveFailure({}), C::EndOfFile);
    EXPECT_EQ(ArchiveFailure(Bytes(gas.begin(), gas.begin() + kRichHeaderSize + 40)), C::EndOfFile);
    EXPECT_EQ(ArchiveFailure(Bytes(gas.begin(), gas.end() - 1)), C::EndOfFile);

    // The density fit follows the two units that close the common record.
    const size_t fitAt = gas.size() - 8 /*isentropic*/ - (8 + 28 + 3 * 16) /*gas expansion*/ -
                         (8 + 28 + 7 * 16) - (8 + 28 + 6 * 16) - (8 + 28 + 5 * 16) /*three fits*/ -
                         (8 + 28 + 12 * 16 + 4 + 63 * 4 + 2 + 12 * 8) /*density*/;
    ASSERT_EQ(Bytes(gas.begin() + fitAt - 8, gas.begin() + fitAt + 8),
              Bytes({33, 0, 92, 0, 34, 0, 246, 0, 0, 0, 12, 0, 1, 0, 7, 0}));
    // More coefficients than a fit holds.
    EXPECT_EQ(ArchiveFailure(Patched(gas, fitAt + 6, 8)), C::BadIndex);
    // A point count the rest of the file cannot hold.
    EXPECT_EQ(ArchiveFailure(Patched(gas, fitAt + 2, 65535)), C::EndOfFile);
    // A density table larger than 7 x 9.
    const size_t tableAt = fitAt + 8 + 28 + 12 * 16;
    EXPECT_EQ(ArchiveFailure(Patched(gas, tableAt, 8)), C::BadIndex);
    EXPECT_EQ(ArchiveFailure(Patched(gas, tableAt + 2, 10)), C::BadIndex);
    // More density pressures than the fit has points.
    EXPECT_EQ(ArchiveFailure(Patched(gas, tableAt + 4 + 63 * 4, 13)), C::BadIndex);
    // A smaller table is read as far as it goes; the rest keeps its reset values.
    Bytes small = Patched(Patched(gas, tableAt, 6), tableAt + 2, 9);
    small.erase(small.begin() + static_cast<long>(tableAt + 4 + 54 * 4),
                small.begin() + static_cast<long>(tableAt + 4 + 63 * 4));
    CMVDoc reduced;
    reduced.Load(small);
    EXPECT_EQ(reduced.Transmitter().Flow()->Density()->TableValue(5, 8),
              static_cast<float>(0.01 + 58));
    EXPECT_EQ(reduced.Transmitter().Flow()->Density()->TableValue(6, 0), 0.0f);
}

TEST(ConfigFile, TrailingBytesAreIgnored) {
    Bytes file = StoreRich(true, "WATER");
    const Bytes original = file;
    file.push_back(0xAB);
    CMVDoc doc;
    doc.Load(file);
    EXPECT_EQ(doc.Store(), original);
}
