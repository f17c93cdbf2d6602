#include "transmitter/CDeviceInfo.h"

#include <utility>

#include "link/ErrorReport.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "transmitter/CComm.h"

using namespace transmitter;

namespace {

constexpr unsigned kOperationFailedText = 2102;
constexpr unsigned kNameErrorText = 399;

// Codes shared by several tables.
constexpr std::pair<int, unsigned> kNotUsed{250, 596};
constexpr std::pair<int, unsigned> kNone{251, 599};
constexpr std::pair<int, unsigned> kUnknown{252, 598};
constexpr std::pair<int, unsigned> kSpecial{253, 597};

using CodeTable = std::vector<std::pair<int, unsigned>>;

const CodeTable& FlangeTypes() {
    static const CodeTable t = {{12, 510}, {13, 511}, {14, 512}, {15, 513}, {16, 514}, {17, 515},
                                {18, 516}, {19, 517}, {20, 518}, {21, 519}, {22, 520}, {23, 521},
                                {24, 522}, {25, 523}, kNotUsed,  kUnknown,  kSpecial};
    return t;
}
const CodeTable& FlangeMaterials() {
    static const CodeTable t = {{0, 500},  {2, 501}, {3, 502}, {4, 503},
                                {24, 504}, kUnknown, kSpecial};
    return t;
}
const CodeTable& ORingMaterials() {
    static const CodeTable t = {{10, 550}, {11, 551}, {12, 552}, {13, 553},
                                kNotUsed,  kUnknown,  kSpecial};
    return t;
}
const CodeTable& DrainVentMaterials() {
    static const CodeTable t = {{2, 530}, {3, 531}, {4, 532}, kNone, kUnknown, kSpecial};
    return t;
}
const CodeTable& RemoteSealTypes() {
    static const CodeTable t = {{2, 560},  {3, 561}, {4, 562}, {5, 563},  {6, 564},
                                {7, 565},  {8, 566}, {9, 567}, {10, 568}, {11, 569},
                                {12, 570}, kNotUsed, kNone,    kUnknown,  kSpecial};
    return t;
}
const CodeTable& RemoteSealFills() {
    static const CodeTable t = {{2, 580}, {3, 581}, {4, 582}, {5, 583}, {6, 584},
                                {7, 585}, kNone,    kUnknown, kSpecial};
    return t;
}
const CodeTable& RemoteSealMaterials() {
    static const CodeTable t = {{2, 590}, {3, 591}, {5, 592}, {9, 593},
                                kNotUsed, kNone,    kUnknown, kSpecial};
    return t;
}
const CodeTable& RemoteSealCounts() {
    static const CodeTable t = {{1, 540}, {2, 541}, kNotUsed, kNone, kUnknown};
    return t;
}
const CodeTable& SpSensorTypes() {
    static const CodeTable t = {{0, 850}, {1, 851}};
    return t;
}
const CodeTable& IsolatorMaterials() {
    static const CodeTable t = {{2, 860}, {3, 861}, {4, 862}, {5, 863}, {15, 864}, kSpecial};
    return t;
}
const CodeTable& FillFluids() {
    static const CodeTable t = {{1, 870}, {2, 871}, kNotUsed, kSpecial};
    return t;
}

std::vector<int> CodesOf(const CodeTable& table) {
    std::vector<int> codes;
    for (const auto& entry : table) codes.push_back(entry.first);
    return codes;
}

std::string NameIn(const CodeTable& table, int code) {
    for (const auto& entry : table)
        if (entry.first == code) return LoadString(entry.second);
    Ui().MessageBox(LoadString(kOperationFailedText), MsgButtons::Ok, MsgIcon::Stop);
    return LoadString(kNameErrorText);
}

// Years a device date can hold.
constexpr int kFirstYear = 1970;
constexpr int kLastYear = 2037;

bool IsValidDate(int year, int month, int day) {
    return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31;
}

std::string Cut(const std::string& text, size_t length) {
    return text.size() > length ? text.substr(0, length) : text;
}

}  // namespace

CDeviceInfo::CDeviceInfo(CComm& comm) : m_comm(comm) { Reset(); }

void CDeviceInfo::Reset() {
    m_tag.clear();
    m_descriptor.clear();
    m_message.clear();
    m_dateSeconds = CalendarDate::Today().ToSeconds();
    m_codes = ConstructionCodes{};
}

CalendarDate CDeviceInfo::DateFromDevice(const DeviceDateBytes& bytes) {
    const CalendarDate date{bytes.yearSince1900 + 1900, bytes.month, bytes.day};
    if (!IsValidDate(date.year, date.month, date.day)) RaiseDeviceError(deverr::kInvalidDate);
    return date;
}

DeviceDateBytes CDeviceInfo::DateToDevice(const CalendarDate& date) {
    if (!IsValidDate(date.year, date.month, date.day)) RaiseDeviceError(deverr::kInvalidDate);
    DeviceDateBytes bytes;
    bytes.day = static_cast<uint16_t>(date.day);
    bytes.month = static_cast<uint8_t>(date.month);
    bytes.yearSince1900 = static_cast<uint8_t>(date.year - 1900);
    return bytes;
}

std::string CDeviceInfo::ReadTag(int access) {
    if (IsDocument(access)) return m_tag;
    return m_comm.ReadDeviceInformation().tag;
}

CDeviceInfo::TagDescriptorDate CDeviceInfo::ReadTagDescriptorDate(int access) {
    if (IsDocument(access)) return {m_tag, m_descriptor, Date()};
    const DeviceTexts texts = m_comm.ReadDeviceInformation();
    return {texts.tag, texts.descriptor, DateFromDevice(texts.date)};
}

void CDeviceInfo::WriteTagDescriptorDate(const TagDescriptorDate& values, int access) {
    if (IsDocument(access)) {
        m_tag = Cut(values.tag, kTagLength);
        m_descriptor = Cut(values.descriptor, kDescriptorLength);
        m_dateSeconds = values.date.ToSeconds();
        return;
    }
    DeviceTexts texts;
    texts.tag = Cut(values.tag, kTagLength);
    texts.descriptor = Cut(values.descriptor, kDescriptorLength);
    texts.date = DateToDevice(values.date);
    m_comm.WriteTagDescriptorDate(texts);
}

std::string CDeviceInfo::ReadMessage(int access) {
    if (IsDocument(access)) return m_message;
    return m_comm.ReadMessage();
}

void CDeviceInfo::WriteMessage(const std::string& message, int access) {
    if (IsDocument(access))
        m_message = Cut(message, kMessageLength);
    else
        m_comm.WriteMessage(Cut(message, kMessageLength));
}

CDeviceInfo::Codes CDeviceInfo::ReadCodes(int access) {
    if (IsDocument(access)) return {m_codes, SensorIdentity{}};
    const IdentityBlock block = m_comm.ReadIdentityBlock();
    return {block.codes, block.sensor};
}

void CDeviceInfo::WriteCodes(const ConstructionCodes& codes, int access) {
    if (IsDocument(access))
        m_codes = codes;
    else
        m_comm.WriteDeviceInformationCodes(codes);
}

const std::vector<int>& CDeviceInfo::FlangeTypeCodes() {
    static const std::vector<int> codes = CodesOf(FlangeTypes());
    return codes;
}

std::string CDeviceInfo::FlangeTypeName(int code) { return NameIn(FlangeTypes(), code); }

const std::vector<int>& CDeviceInfo::FlangeMaterialCodes() {
    static const std::vector<int> codes = CodesOf(FlangeMaterials());
    return codes;
}

std::string CDeviceInfo::FlangeMaterialName(int code) { return NameIn(FlangeMaterials(), code); }

const std::vector<int>& CDeviceInfo::ORingMaterialCodes() {
    static const std::vector<int> codes = CodesOf(ORingMaterials());
    return codes;
}

std::string CDeviceInfo::ORingMaterialName(int code) { return NameIn(ORingMaterials(), code); }

const std::vector<int>& CDeviceInfo::DrainVentMaterialCodes() {
    static const std::vector<int> codes = CodesOf(DrainVentMaterials());
    return codes;
}

std::string CDeviceInfo::DrainVentMaterialName(int code) {
    return NameIn(DrainVentMaterials(), code);
}

const std::vector<int>& CDeviceInfo::RemoteSealTypeCodes() {
    static const std::vector<int> codes = CodesOf(RemoteSealTypes());
    return codes;
}

std::string CDeviceInfo::RemoteSealTypeName(int code) { return NameIn(RemoteSealTypes(), code); }

const std::vector<int>& CDeviceInfo::RemoteSealFillCodes() {
    static const std::vector<int> codes = CodesOf(RemoteSealFills());
    return codes;
}

std::string CDeviceInfo::RemoteSealFillName(int code) { return NameIn(RemoteSealFills(), code); }

const std::vector<int>& CDeviceInfo::RemoteSealMaterialCodes() {
    static const std::vector<int> codes = CodesOf(RemoteSealMaterials());
    return codes;
}

std::string CDeviceInfo::RemoteSealMaterialName(int code) {
    return NameIn(RemoteSealMaterials(), code);
}

const std::vector<int>& CDeviceInfo::RemoteSealCountCodes() {
    static const std::vector<int> codes = CodesOf(RemoteSealCounts());
    return codes;
}

std::string CDeviceInfo::RemoteSealCountName(int code) { return NameIn(RemoteSealCounts(), code); }

const std::vector<int>& CDeviceInfo::SpSensorTypeCodes() {
    static const std::vector<int> codes = CodesOf(SpSensorTypes());
    return codes;
}

std::string CDeviceInfo::SpSensorTypeName(int code) { return NameIn(SpSensorTypes(), code); }

const std::vector<int>& CDeviceInfo::IsolatorMaterialCodes() {
    static const std::vector<int> codes = CodesOf(IsolatorMaterials());
    return codes;
}

std::string CDeviceInfo::IsolatorMaterialName(int code) {
    return NameIn(IsolatorMaterials(), code);
}

const std::vector<int>& CDeviceInfo::FillFluidCodes() {
    static const std::vector<int> codes = CodesOf(FillFluids());
    return codes;
}

std::string CDeviceInfo::FillFluidName(int code) { return NameIn(FillFluids(), code); }
