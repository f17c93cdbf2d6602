#include "app/CArchive.h"

#include <cstring>
#include <limits>

#include "platform/CArchiveException.h"

namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kHugeLength = 0xFFFF;
constexpr char kUnmappable = '?';

}  // namespace

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(std::vector<uint8_t> data) : m_buffer(std::move(data)), m_storing(false) {}

void CArchive::CheckStoring() const {
    if (!m_storing) throw CArchiveException(CArchiveException::Cause::ReadOnly);
}

void CArchive::CheckLoading() const {
    if (m_storing) throw CArchiveException(CArchiveException::Cause::WriteOnly);
}

void CArchive::Require(uint64_t count, uint64_t elementSize) const {
    CheckLoading();
    const uint64_t left = Remaining();
    if (elementSize != 0 && count > left / elementSize) {
        throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
}

void CArchive::Put(const void* bytes, size_t size) {
    CheckStoring();
    const auto* p = static_cast<const uint8_t*>(bytes);
    m_buffer.insert(m_buffer.end(), p, p + size);
}

void CArchive::Get(void* bytes, size_t size) {
    Require(size);
    std::memcpy(bytes, m_buffer.data() + m_position, size);
    m_position += size;
}

void CArchive::WriteU16(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Put(bytes, sizeof bytes);
}

void CArchive::WriteU32(uint32_t value) {
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    Put(bytes, sizeof bytes);
}

void CArchive::WriteF32(float value) {
    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    WriteU32(bits);
}

void CArchive::WriteF64(double value) {
    static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    WriteU32(static_cast<uint32_t>(bits));
    WriteU32(static_cast<uint32_t>(bits >> 32));
}

void CArchive::WriteString(const std::string& text) {
    CheckStoring();
    const size_t length = text.size();
    if (length < kLongLength) {
        const auto byte = static_cast<uint8_t>(length);
        Put(&byte, 1);
    } else {
        Put(&kLongLength, 1);
        if (length < kWideMarker) {
            WriteU16(static_cast<uint16_t>(length));
        } else {
            if (length > std::numeric_limits<uint32_t>::max()) {
                throw CArchiveException(CArchiveException::Cause::Generic);
            }
            WriteU16(kHugeLength);
            WriteU32(static_cast<uint32_t>(length));
        }
    }
    Put(text.data(), length);
}

void CArchive::WriteUnit(const CUnit& unit) {
    CheckStoring();
    unit.Validate();
    WriteU16(static_cast<uint16_t>(unit.MeasType()));
    WriteU16(static_cast<uint16_t>(unit.UnitCode()));
}

void CArchive::WriteDimValue(const CDimValue& value) {
    CheckStoring();
    const CUnit unit = value.Unit();
    WriteF64(value.Value());
    WriteUnit(unit);
}

void CArchive::WriteDimless(const CDimlessValue& value) { WriteF64(value.Get()); }

uint16_t CArchive::ReadU16() {
    uint8_t bytes[2];
    Get(bytes, sizeof bytes);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t CArchive::ReadU32() {
    uint8_t bytes[4];
    Get(bytes, sizeof bytes);
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

float CArchive::ReadF32() {
    const uint32_t bits = ReadU32();
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double CArchive::ReadF64() {
    const uint64_t low = ReadU32();
    const uint64_t bits = low | (static_cast<uint64_t>(ReadU32()) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint64_t CArchive::ReadStringLength() {
    uint8_t byte = 0;
    Get(&byte, 1);
    if (byte < kLongLength) return byte;
    const uint16_t word = ReadU16();
    if (word < kHugeLength) return word;
    return ReadU32();
}

std::string CArchive::ReadString() {
    CheckLoading();
    uint8_t byte = 0;
    Get(&byte, 1);
    uint64_t length = byte;
    bool wide = false;
    if (byte == kLongLength) {
        const uint16_t word = ReadU16();
        if (word == kWideMarker) {
            wide = true;
            length = ReadStringLength();
        } else if (word == kHugeLength) {
            length = ReadU32();
        } else {
            length = word;
        }
    }
    if (!wide) {
        Require(length);
        std::string text(reinterpret_cast<const char*>(m_buffer.data() + m_position),
                         static_cast<size_t>(length));
        m_position += static_cast<size_t>(length);
        return text;
    }
    Require(length, 2);
    std::string text;
    text.reserve(static_cast<size_t>(length));
    for (uint64_t i = 0; i < length; ++i) {
        const uint16_t unit = ReadU16();
        text.push_back(unit <= 0xFF ? static_cast<char>(unit) : kUnmappable);
    }
    return text;
}

CUnit CArchive::ReadUnit() {
    CheckLoading();
    const int measType = ReadU16();
    const int unitCode = ReadU16();
    return CUnit(unitCode, measType);
}

void CArchive::ReadDimValue(CDimValue& target) {
    const double value = ReadF64();
    const CUnit unit = ReadUnit();
    target.Set(value, unit);
}

void CArchive::ReadDimless(CDimlessValue& target) { target.Set(ReadF64()); }
