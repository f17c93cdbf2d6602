#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "transmitter/CalendarDate.h"
#include "transmitter/ModelTypes.h"

class CComm;

// Tag, descriptor, message, date and the construction codes of a transmitter.
class CDeviceInfo {
  public:
    // Tag, descriptor and date together, as one operation reads and writes them.
    struct TagDescriptorDate {
        std::string tag;
        std::string descriptor;
        CalendarDate date;
    };

    // Construction codes with the fixed sensor fields that the transmitter
    // reports beside them (all 0 in the document copy).
    struct Codes {
        ConstructionCodes construction;
        SensorIdentity sensor;
    };

    static constexpr size_t kTagLength = 8;
    static constexpr size_t kDescriptorLength = 16;
    static constexpr size_t kMessageLength = 32;

    explicit CDeviceInfo(CComm& comm);
    CDeviceInfo(const CDeviceInfo&) = delete;
    CDeviceInfo& operator=(const CDeviceInfo&) = delete;

    // Empty texts, today's date, the default construction codes.
    void Reset();

    // --- The document copy ---------------------------------------------------
    const std::string& Tag() const { return m_tag; }
    void SetTag(const std::string& tag) { m_tag = tag; }
    const std::string& Descriptor() const { return m_descriptor; }
    void SetDescriptor(const std::string& text) { m_descriptor = text; }
    const std::string& Message() const { return m_message; }
    void SetMessage(const std::string& text) { m_message = text; }
    // The date as seconds since 1970-01-01 00:00 UTC (the stored form).
    uint32_t DateSeconds() const { return m_dateSeconds; }
    void SetDateSeconds(uint32_t seconds) { m_dateSeconds = seconds; }
    CalendarDate Date() const { return CalendarDate::FromSeconds(m_dateSeconds); }
    const ConstructionCodes& Construction() const { return m_codes; }
    void SetConstruction(const ConstructionCodes& codes) { m_codes = codes; }

    uint16_t FlangeMaterial() const { return m_codes.flangeMaterial; }
    uint16_t FlangeType() const { return m_codes.flangeType; }
    uint16_t DrainVentMaterial() const { return m_codes.drainVentMaterial; }
    uint16_t ORingMaterial() const { return m_codes.oRingMaterial; }
    uint16_t RemoteSealType() const { return m_codes.remoteSealType; }
    uint16_t RemoteSealFill() const { return m_codes.remoteSealFill; }
    uint16_t RemoteSealMaterial() const { return m_codes.remoteSealMaterial; }
    uint16_t RemoteSealCount() const { return m_codes.remoteSealCount; }
    void SetFlangeMaterial(uint16_t code) { m_codes.flangeMaterial = code; }
    void SetFlangeType(uint16_t code) { m_codes.flangeType = code; }
    void SetDrainVentMaterial(uint16_t code) { m_codes.drainVentMaterial = code; }
    void SetORingMaterial(uint16_t code) { m_codes.oRingMaterial = code; }
    void SetRemoteSealType(uint16_t code) { m_codes.remoteSealType = code; }
    void SetRemoteSealFill(uint16_t code) { m_codes.remoteSealFill = code; }
    void SetRemoteSealMaterial(uint16_t code) { m_codes.remoteSealMaterial = code; }
    void SetRemoteSealCount(uint16_t code) { m_codes.remoteSealCount = code; }

    // --- Access-flag operations ------------------------------------------------
    std::string ReadTag(int access);
    // From the transmitter a date outside 1970..2037, a month outside 1..12 or a
    // day outside 1..31 raises CDeviceException 1.
    TagDescriptorDate ReadTagDescriptorDate(int access);
    void WriteTagDescriptorDate(const TagDescriptorDate& values, int access);
    std::string ReadMessage(int access);
    void WriteMessage(const std::string& message, int access);
    Codes ReadCodes(int access);
    void WriteCodes(const ConstructionCodes& codes, int access);

    // --- Code tables ---------------------------------------------------------------
    // The codes of each table in display order, and their names. A code outside
    // its table shows string 2102 and yields "NAME ERROR" (string 399).
    static const std::vector<int>& FlangeTypeCodes();
    static const std::vector<int>& FlangeMaterialCodes();
    static const std::vector<int>& ORingMaterialCodes();
    static const std::vector<int>& DrainVentMaterialCodes();
    static const std::vector<int>& RemoteSealTypeCodes();
    static const std::vector<int>& RemoteSealFillCodes();
    static const std::vector<int>& RemoteSealMaterialCodes();
    static const std::vector<int>& RemoteSealCountCodes();
    static const std::vector<int>& SpSensorTypeCodes();
    static const std::vector<int>& IsolatorMaterialCodes();
    static const std::vector<int>& FillFluidCodes();

    static std::string FlangeTypeName(int code);
    static std::string FlangeMaterialName(int code);
    static std::string ORingMaterialName(int code);
    static std::string DrainVentMaterialName(int code);
    static std::string RemoteSealTypeName(int code);
    static std::string RemoteSealFillName(int code);
    static std::string RemoteSealMaterialName(int code);
    static std::string RemoteSealCountName(int code);
    static std::string SpSensorTypeName(int code);
    static std::string IsolatorMaterialName(int code);
    static std::string FillFluidName(int code);

    // Device date bytes -> calendar date; raises CDeviceException 1 when invalid.
    static CalendarDate DateFromDevice(const DeviceDateBytes& bytes);
    // Calendar date -> device date bytes; raises CDeviceException 1 when the
    // date cannot be held (outside 1970..2037).
    static DeviceDateBytes DateToDevice(const CalendarDate& date);

  private:
    CComm& m_comm;
    std::string m_tag;
    std::string m_descriptor;
    std::string m_message;
    uint32_t m_dateSeconds = 0;
    ConstructionCodes m_codes;
};
