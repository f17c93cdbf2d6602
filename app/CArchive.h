#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "units/CDimValue.h"
#include "units/CDimlessValue.h"
#include "units/CUnit.h"

// Little-endian binary writer and reader of the configuration file over a byte
// buffer. An archive either stores (writes into its own buffer) or loads (reads
// from the bytes it was given); using it the other way throws
// CArchiveException(ReadOnly) or CArchiveException(WriteOnly).
//
// Reading never trusts a length read from the file: a text length or element
// count larger than the bytes left throws CArchiveException(EndOfFile) before
// anything is allocated, so nothing is ever allocated beyond the file's own size.
class CArchive {
  public:
    // A storing archive with an empty buffer.
    CArchive();
    // A loading archive over `data`.
    explicit CArchive(std::vector<uint8_t> data);

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // The bytes written so far (storing) or given (loading).
    const std::vector<uint8_t>& Buffer() const { return m_buffer; }
    // Loading: the bytes not read yet.
    size_t Remaining() const { return m_buffer.size() - m_position; }
    // Loading: throws EndOfFile unless `count` elements of `elementSize` bytes
    // each are left. Callers check a count read from the file with it before
    // sizing anything for that count.
    void Require(uint64_t count, uint64_t elementSize = 1) const;

    void WriteU16(uint16_t value);
    void WriteU32(uint32_t value);
    void WriteF32(float value);
    void WriteF64(double value);
    // Length prefix of 1, 3 or 7 bytes, then the bytes of the text.
    void WriteString(const std::string& text);
    // Validates the unit, then writes measurement type and unit code.
    void WriteUnit(const CUnit& unit);
    void WriteDimValue(const CDimValue& value);
    void WriteDimless(const CDimlessValue& value);

    uint16_t ReadU16();
    uint32_t ReadU32();
    float ReadF32();
    double ReadF64();
    // Accepts the 8-bit form and the 16-bit-character form; the latter is
    // turned into 8-bit text (characters above 0xFF become '?').
    std::string ReadString();
    // Reads measurement type and unit code and validates them (2048/2049 and a
    // silent abandon when they are not a legal pair).
    CUnit ReadUnit();
    // Reads value and unit and hands both to `target.Set`, so that a dimension
    // class checks the unit as it does everywhere else.
    void ReadDimValue(CDimValue& target);
    void ReadDimless(CDimlessValue& target);

  private:
    void CheckStoring() const;
    void CheckLoading() const;
    void Put(const void* bytes, size_t size);
    void Get(void* bytes, size_t size);
    uint64_t ReadStringLength();

    std::vector<uint8_t> m_buffer;
    size_t m_position = 0;
    bool m_storing;
};
