#include "link/ErrorReport.h"

#include <array>

#include "link/CCommException.h"
#include "link/CDeviceException.h"
#include "link/CPortGoneException.h"
#include "platform/CArchiveException.h"
#include "platform/CFileException.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"

namespace {

constexpr unsigned kUnspecified = 326;

// Text number of each communication error 0..72; the numbering of the texts
// does not follow the error numbers (10 -> 955, 50 -> 954, 67 -> 970 ...).
constexpr std::array<unsigned, 73> kCommTexts = {
    900, 901, 902, 903, 904, 905, 906, 907, 908, 909,  // 0-9
    955, 956, 910, 911, 912, 913, 914, 915, 916, 917,  // 10-19
    918, 919, 920, 921, 922, 923, 924, 925, 926, 927,  // 20-29
    928, 929, 930, 931, 932, 933, 934, 935, 936, 937,  // 30-39
    938, 939, 940, 941, 942, 943, 944, 945, 946, 947,  // 40-49
    954, 948, 949, 950, 951, 952, 957, 958, 959, 960,  // 50-59
    961, 962, 963, 964, 965, 966, 953, 970, 971, 972,  // 60-69
    973, 974, 975,                                     // 70-72
};

unsigned ArchiveMessageId(CArchiveException::Cause cause) {
    using C = CArchiveException::Cause;
    switch (cause) {
        case C::None:
            return 303;
        case C::Generic:
            return 304;
        case C::ReadOnly:
            return 305;
        case C::EndOfFile:
            return 306;
        case C::WriteOnly:
            return 307;
        case C::BadIndex:
            return 308;
        case C::BadClass:
            return 309;
        case C::BadSchema:
            return 310;
    }
    return 304;
}

unsigned FileMessageId(CFileException::Cause cause) {
    using C = CFileException::Cause;
    switch (cause) {
        case C::None:
            return 311;
        case C::Generic:
            return 312;
        case C::FileNotFound:
            return 313;
        case C::BadPath:
            return 314;
        case C::TooManyOpenFiles:
            return 315;
        case C::AccessDenied:
            return 316;
        case C::InvalidFile:
            return 317;
        case C::RemoveCurrentDir:
            return 318;
        case C::DirectoryFull:
            return 319;
        case C::BadSeek:
            return 320;
        case C::HardIO:
            return 321;
        case C::SharingViolation:
            return 322;
        case C::LockViolation:
            return 323;
        case C::DiskFull:
            return 324;
        case C::EndOfFile:
            return 325;
    }
    return 312;
}

}  // namespace

void RaiseCommError(int32_t error) { throw CCommException(error); }

void RaiseDeviceError(int32_t error) { throw CDeviceException(error); }

unsigned CommErrorMessageId(int32_t error) {
    if (error < 0 || error >= static_cast<int32_t>(kCommTexts.size())) return kUnspecified;
    return kCommTexts[static_cast<size_t>(error)];
}

unsigned DeviceErrorMessageId(int32_t error) {
    switch (error) {
        case 0:
            return 968;
        case 1:
            return 969;
        case 2:
            return 967;
        default:
            return kUnspecified;
    }
}

unsigned MessageFor(const std::exception& e) {
    if (dynamic_cast<const CUserException*>(&e)) return 0;
    if (auto* comm = dynamic_cast<const CCommException*>(&e))
        return CommErrorMessageId(comm->Error());
    if (auto* dev = dynamic_cast<const CDeviceException*>(&e))
        return DeviceErrorMessageId(dev->Error());
    if (auto* file = dynamic_cast<const CFileException*>(&e))
        return FileMessageId(file->GetCause());
    if (auto* ar = dynamic_cast<const CArchiveException*>(&e))
        return ArchiveMessageId(ar->GetCause());
    if (dynamic_cast<const CMemoryException*>(&e) || dynamic_cast<const std::bad_alloc*>(&e))
        return 300;
    if (dynamic_cast<const CNotSupportedException*>(&e)) return 301;
    if (dynamic_cast<const CResourceException*>(&e)) return 302;
    return kUnspecified;
}

std::string MessageText(const std::exception& e) {
    if (auto* gone = dynamic_cast<const CPortGoneException*>(&e)) return gone->Text();
    const unsigned id = MessageFor(e);
    return id == 0 ? std::string() : LoadString(id);
}

void ReportException(const std::exception& e) {
    try {
        const std::string text = MessageText(e);
        if (text.empty()) return;
        Ui().MessageBox(text, MsgButtons::Ok, MsgIcon::Stop);
    } catch (...) {
        // Reporting never fails the program.
    }
}

void CheckLegacyReply(int32_t transportResult, uint8_t responseCode,
                      const std::map<int, int32_t>& subCodes) {
    if (transportResult == 0) return;
    if (transportResult == 23) RaiseCommError(commerr::kOffline);  // caller resets the device first
    if (transportResult == 5) {
        static constexpr std::array<std::pair<uint8_t, int32_t>, 7> kFlags = {
            {{0x40, 1}, {0x20, 2}, {0x10, 3}, {0x08, 4}, {0x04, 5}, {0x02, 52}, {0x01, 66}}};
        for (const auto& [bit, error] : kFlags) {
            if (responseCode & bit) RaiseCommError(error);
        }
        RaiseCommError(0);
    }
    if (transportResult == 9) {
        auto it = subCodes.find(responseCode & 0x0F);
        if (it != subCodes.end()) RaiseCommError(it->second);
        return;
    }
    switch (responseCode) {
        case 0:
            return;
        case 16:
            RaiseCommError(55);
        case 32:
            RaiseCommError(54);
        case 64:
            RaiseCommError(53);
        default:
            RaiseCommError(0);
    }
}
