#include "config/CDeviceInfoForm.h"

#include <algorithm>

#include "config/DateText.h"
#include "platform/UiServices.h"
#include "resources/Strings.h"
#include "resources/Texts.h"
#include "transmitter/CComm.h"
#include "transmitter/CDeviceInfo.h"
#include "transmitter/CTransmitter.h"

namespace {

constexpr unsigned kIdSetupCaption = 774;
constexpr unsigned kIdTransmitterCaption = 775;
constexpr unsigned kIdIllegalCharacter = 716;

constexpr const char* kTag = "tag";
constexpr const char* kDate = "date";
constexpr const char* kDescriptor = "descriptor";
constexpr const char* kMessage = "message";

// One construction list: its key, label, code table, names and the code of
// the model it edits.
struct CodeList {
    const char* key;
    const char* label;
    const std::vector<int>& (*codes)();
    std::string (*name)(int);
    uint16_t ConstructionCodes::*member;
    const char* unknownText;
};

// In the window's order.
const std::array<CodeList, CDeviceInfoForm::kCodeListCount>& CodeLists() {
    static const std::array<CodeList, CDeviceInfoForm::kCodeListCount> lists = {{
        {"flange-type", texts::kFlangeTypeLabel, &CDeviceInfo::FlangeTypeCodes,
         &CDeviceInfo::FlangeTypeName, &ConstructionCodes::flangeType, texts::kUnknownFlangeType},
        {"flange-material", texts::kFlangeMaterialLabel, &CDeviceInfo::FlangeMaterialCodes,
         &CDeviceInfo::FlangeMaterialName, &ConstructionCodes::flangeMaterial,
         texts::kUnknownFlangeMaterial},
        {"o-ring-material", texts::kORingMaterialLabel, &CDeviceInfo::ORingMaterialCodes,
         &CDeviceInfo::ORingMaterialName, &ConstructionCodes::oRingMaterial,
         texts::kUnknownORingMaterial},
        {"drain-vent-material", texts::kDrainVentMaterialLabel,
         &CDeviceInfo::DrainVentMaterialCodes, &CDeviceInfo::DrainVentMaterialName,
         &ConstructionCodes::drainVentMaterial, texts::kUnknownDrainVentMaterial},
        {"seal-type", texts::kRemoteSealTypeLabel, &CDeviceInfo::RemoteSealTypeCodes,
         &CDeviceInfo::RemoteSealTypeName, &ConstructionCodes::remoteSealType,
         texts::kUnknownRemoteSealType},
        {"seal-fill", texts::kRemoteSealFillLabel, &CDeviceInfo::RemoteSealFillCodes,
         &CDeviceInfo::RemoteSealFillName, &ConstructionCodes::remoteSealFill,
         texts::kUnknownRemoteSealFill},
        {"seal-material", texts::kRemoteSealMaterialLabel, &CDeviceInfo::RemoteSealMaterialCodes,
         &CDeviceInfo::RemoteSealMaterialName, &ConstructionCodes::remoteSealMaterial,
         texts::kUnknownRemoteSealMaterial},
        {"seal-count", texts::kNumberOfSealsLabel, &CDeviceInfo::RemoteSealCountCodes,
         &CDeviceInfo::RemoteSealCountName, &ConstructionCodes::remoteSealCount,
         texts::kUnknownNumberOfSeals},
    }};
    return lists;
}

// The lists in the order their unknown codes are reported: register order.
constexpr size_t kReportOrder[] = {1, 0, 3, 2, 4, 5, 6, 7};

// Characters, not bytes, of a UTF-8 text.
size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// The first character outside space (32) to underscore (95), whole when it is
// a UTF-8 sequence; empty when every character is allowed.
std::string FirstIllegalCharacter(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 32 && c <= 95) continue;
        size_t end = i + 1;
        if (c >= 0xC0) {
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
                ++end;
        }
        return text.substr(i, end - i);
    }
    return std::string();
}

// The eight codes in register order, for the record of a write.
std::string CodesText(const ConstructionCodes& codes) {
    std::string text;
    for (uint16_t code : codes.InRegisterOrder()) {
        if (!text.empty()) text += ' ';
        text += std::to_string(code);
    }
    return text;
}

int PositionOf(const std::vector<int>& codes, int code) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

}  // namespace

std::string CDeviceInfoForm::Caption() const {
    return LoadString(InSetupMode() ? kIdSetupCaption : kIdTransmitterCaption);
}

void CDeviceInfoForm::Read() {
    CDeviceInfo& info = Model().DeviceInfo();
    const CDeviceInfo::TagDescriptorDate texts = info.ReadTagDescriptorDate(Access());
    m_firstMessage = info.ReadMessage(Access());
    m_codesRead = info.ReadCodes(Access()).construction;
    m_firstTag = texts.tag;
    m_firstDescriptor = texts.descriptor;
    m_firstDate = config::DateText(texts.date);

    auto addText = [this](const char* key, const char* label, const std::string& text, size_t limit,
                          bool multiline) {
        FormField field;
        field.key = key;
        field.label = label;
        field.text = text;
        field.maxLength = limit;
        field.multiline = multiline;
        AddField(std::move(field));
    };
    addText(kTag, texts::kTagLabel, m_firstTag, CDeviceInfo::kTagLength, false);
    addText(kDate, texts::kDateLabel, m_firstDate, 9, false);
    addText(kDescriptor, texts::kDescriptorLabel, m_firstDescriptor, CDeviceInfo::kDescriptorLength,
            false);
    addText(kMessage, texts::kMessageLabel, m_firstMessage, CDeviceInfo::kMessageLength, true);

    const auto& lists = CodeLists();
    for (size_t i = 0; i < lists.size(); ++i) {
        const CodeList& list = lists[i];
        FormField field;
        field.key = list.key;
        field.label = list.label;
        field.kind = FieldKind::Choice;
        for (int code : list.codes()) field.choices.push_back(list.name(code));
        field.selected = PositionOf(list.codes(), m_codesRead.*list.member);
        m_firstSelected[i] = field.selected;
        AddField(std::move(field));
    }
    for (size_t i : kReportOrder) {
        if (m_firstSelected[i] < 0)
            Ui().MessageBox(lists[i].unknownText, MsgButtons::Ok, MsgIcon::None);
    }
}

std::vector<int> CDeviceInfoForm::ChoiceCodes(const std::string& key) const {
    for (const CodeList& list : CodeLists()) {
        if (key == list.key) return list.codes();
    }
    return {};
}

ConstructionCodes CDeviceInfoForm::SelectedCodes() const {
    ConstructionCodes codes = m_codesRead;
    for (const CodeList& list : CodeLists()) {
        const int selected = Field(list.key)->selected;
        if (selected >= 0)
            codes.*list.member = static_cast<uint16_t>(list.codes()[static_cast<size_t>(selected)]);
    }
    return codes;
}

FormOutcome CDeviceInfoForm::CheckTexts() const {
    for (const char* key : {kMessage, kTag, kDescriptor}) {
        const FormField& field = *Field(key);
        if (CharacterCount(field.text) > field.maxLength) {
            std::string text = texts::kEnterNoMoreThanCharacters;
            text.replace(text.find("%1"), 2, std::to_string(field.maxLength));
            return FormOutcome::Refuse(text, key);
        }
    }
    if (const unsigned id = config::CheckDateText(Field(kDate)->text))
        return FormOutcome::Refuse(LoadString(id), kDate, MsgIcon::Exclamation);
    for (const char* key : {kMessage, kTag, kDescriptor}) {
        const std::string illegal = FirstIllegalCharacter(Field(key)->text);
        if (!illegal.empty())
            return FormOutcome::Refuse(LoadString(kIdIllegalCharacter) + illegal, key,
                                       MsgIcon::Exclamation);
    }
    return FormOutcome::Close(FormResult::Ok);
}

FormOutcome CDeviceInfoForm::Ok() {
    const FormOutcome checked = CheckTexts();
    if (checked.message) return checked;

    const std::string& tag = Field(kTag)->text;
    const std::string& descriptor = Field(kDescriptor)->text;
    const std::string& date = Field(kDate)->text;
    const std::string& message = Field(kMessage)->text;
    const bool textsChanged =
        tag != m_firstTag || descriptor != m_firstDescriptor || date != m_firstDate;
    const bool messageChanged = message != m_firstMessage;
    bool codesChanged = false;
    for (size_t i = 0; i < kCodeListCount; ++i)
        codesChanged = codesChanged || Field(CodeLists()[i].key)->selected != m_firstSelected[i];
    if (!textsChanged && !messageChanged && !codesChanged)
        return FormOutcome::Close(FormResult::Ok);

    CDeviceInfo& info = Model().DeviceInfo();
    try {
        CFormWaitCursor wait(*this);
        if (textsChanged) {
            MarkModified();
            const CDeviceInfo::TagDescriptorDate values{tag, descriptor,
                                                        config::DateFromText(date)};
            Write("tag, descriptor, date",
                  m_firstTag + ", " + m_firstDescriptor + ", " + m_firstDate,
                  tag + ", " + descriptor + ", " + date,
                  [&] { info.WriteTagDescriptorDate(values, Access()); });
            // The status bar shows the tag the transmitter now holds.
            if (!InSetupMode()) Model().Comm().ReadTag();
        }
        if (messageChanged) {
            MarkModified();
            Write(kMessage, m_firstMessage, message, [&] { info.WriteMessage(message, Access()); });
        }
        if (codesChanged) {
            MarkModified();
            const ConstructionCodes codes = SelectedCodes();
            Write("construction codes", CodesText(m_codesRead), CodesText(codes),
                  [&] { info.WriteCodes(codes, Access()); });
        }
    } catch (const std::exception& e) {
        return WriteFailed(e);
    }
    return FormOutcome::Close(FormResult::Ok);
}
