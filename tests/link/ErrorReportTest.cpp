#include <gtest/gtest.h>

#include <set>

#include "link/CCommException.h"
#include "link/CDeviceException.h"
#include "link/ErrorReport.h"
#include "platform/CArchiveException.h"
#include "platform/CFileException.h"
#include "resources/Strings.h"
#include "tests/support/CScriptedUi.h"

TEST(ErrorReport, TextNumbersDoNotFollowErrorNumbers) {
    EXPECT_EQ(CommErrorMessageId(10), 955u);
    EXPECT_EQ(CommErrorMessageId(11), 956u);
    EXPECT_EQ(CommErrorMessageId(12), 910u);
    EXPECT_EQ(CommErrorMessageId(50), 954u);
    EXPECT_EQ(CommErrorMessageId(51), 948u);
    EXPECT_EQ(CommErrorMessageId(56), 957u);
    EXPECT_EQ(CommErrorMessageId(66), 953u);
    EXPECT_EQ(CommErrorMessageId(67), 970u);
    EXPECT_EQ(CommErrorMessageId(72), 975u);
}

TEST(ErrorReport, UnknownNumbersGiveUnspecifiedError) {
    EXPECT_EQ(CommErrorMessageId(-1), 326u);
    EXPECT_EQ(CommErrorMessageId(73), 326u);
    EXPECT_EQ(DeviceErrorMessageId(3), 326u);
    EXPECT_EQ(DeviceErrorMessageId(0), 968u);
    EXPECT_EQ(DeviceErrorMessageId(1), 969u);
    EXPECT_EQ(DeviceErrorMessageId(2), 967u);
}

TEST(ErrorReport, EveryCommunicationErrorHasItsOwnText) {
    std::set<unsigned> seen;
    for (int error = 0; error <= 72; ++error) {
        const unsigned id = CommErrorMessageId(error);
        EXPECT_TRUE(seen.insert(id).second) << "error " << error << " shares text " << id;
        EXPECT_FALSE(LoadString(id).empty()) << "error " << error << " has no text " << id;
    }
}

TEST(ErrorReport, EveryDeviceErrorHasItsOwnText) {
    EXPECT_EQ(LoadString(DeviceErrorMessageId(0)), "Device Error: Unknown");
    EXPECT_EQ(LoadString(DeviceErrorMessageId(1)), "Device Error: invalid date value");
    EXPECT_EQ(LoadString(DeviceErrorMessageId(2)), "Device Error: An undefined error occurred");
    EXPECT_EQ(LoadString(DeviceErrorMessageId(7)), "Unspecified error.");
}

TEST(ErrorReport, FloatFormatWriteRemapShowsItsOwnText) {
    EXPECT_EQ(LoadString(CommErrorMessageId(67)),
              "Device Exception: configuration of floating point formats not supported by device");
}

TEST(ErrorReport, MessageForEachFailureKind) {
    EXPECT_EQ(MessageFor(CUserException()), 0u);
    EXPECT_EQ(MessageFor(CCommException(60)), 961u);
    EXPECT_EQ(MessageFor(CDeviceException(1)), 969u);
    EXPECT_EQ(MessageFor(CMemoryException()), 300u);
    EXPECT_EQ(MessageFor(CNotSupportedException()), 301u);
    EXPECT_EQ(MessageFor(CResourceException()), 302u);
    EXPECT_EQ(MessageFor(CArchiveException(CArchiveException::Cause::None)), 303u);
    EXPECT_EQ(MessageFor(CArchiveException(CArchiveException::Cause::EndOfFile)), 306u);
    EXPECT_EQ(MessageFor(CArchiveException(CArchiveException::Cause::BadSchema)), 310u);
    EXPECT_EQ(MessageFor(CFileException(CFileException::Cause::None)), 311u);
    EXPECT_EQ(MessageFor(CFileException(CFileException::Cause::FileNotFound)), 313u);
    EXPECT_EQ(MessageFor(CFileException(CFileException::Cause::EndOfFile)), 325u);
    EXPECT_EQ(MessageFor(std::runtime_error("x")), 326u);
}

TEST(ErrorReport, UserCancelShowsNothing) {
    CScriptedUi ui;
    ReportException(CUserException());
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ErrorReport, ReportShowsTextWithStopIcon) {
    CScriptedUi ui;
    ui.ExpectWithIcon(LoadString(961), MsgIcon::Stop);
    ReportException(CCommException(60));
}

namespace {
int32_t LegacyError(int32_t result, uint8_t code, const std::map<int, int32_t>& sub = {}) {
    try {
        CheckLegacyReply(result, code, sub);
    } catch (const CCommException& e) {
        return e.Error();
    }
    return -1;  // nothing raised
}
}  // namespace

TEST(ErrorReport, LegacyReplyMapping) {
    EXPECT_EQ(LegacyError(0, 0xFF), -1);
    EXPECT_EQ(LegacyError(23, 0), 6);
    // Communication flags: the first set bit in the order 0x40 .. 0x01.
    EXPECT_EQ(LegacyError(5, 0x41), 1);
    EXPECT_EQ(LegacyError(5, 0x22), 2);
    EXPECT_EQ(LegacyError(5, 0x10), 3);
    EXPECT_EQ(LegacyError(5, 0x08), 4);
    EXPECT_EQ(LegacyError(5, 0x04), 5);
    EXPECT_EQ(LegacyError(5, 0x02), 52);
    EXPECT_EQ(LegacyError(5, 0x01), 66);
    EXPECT_EQ(LegacyError(5, 0x00), 0);
    // Sub-codes are the command's own; unlisted ones raise nothing.
    const std::map<int, int32_t> sub = {{2, 51}, {5, 12}, {7, 13}};
    EXPECT_EQ(LegacyError(9, 0x12, sub), 51);
    EXPECT_EQ(LegacyError(9, 0x07, sub), 13);
    EXPECT_EQ(LegacyError(9, 0x03, sub), -1);
    EXPECT_EQ(LegacyError(1, 16), 55);
    EXPECT_EQ(LegacyError(1, 32), 54);
    EXPECT_EQ(LegacyError(1, 64), 53);
    EXPECT_EQ(LegacyError(1, 7), 0);
    EXPECT_EQ(LegacyError(1, 0), -1);
}
