#pragma once

#include <cstdint>

class CArchive;
class CTransmitter;

// The layout of a configuration file: the transmitter model and nothing else,
// without header or tags, little-endian, records in a fixed order.
namespace app {

// The layout version that is always written: the full layout.
inline constexpr uint16_t kFileFormatVersion = 1;
// Version 0 files lack the communication words and the integer scaling records.
inline constexpr uint16_t kReducedFormatVersion = 0;

// Writes the whole model. Every unit is validated first; a failure shows 2048
// or 2049 and abandons silently, with the archive left part-written.
void StoreConfiguration(CArchive& archive, const CTransmitter& model);

// Reads a whole model into `model`, which the caller has reset to its
// defaults. A damaged file throws CArchiveException (EndOfFile when it ends
// early or claims more than it holds, BadIndex for a count the model cannot
// hold); an illegal unit shows 2048 or 2049 and abandons silently. The model
// is then part-loaded and must be reset by the caller.
void LoadConfiguration(CArchive& archive, CTransmitter& model);

}  // namespace app
