#pragma once
// The per-symbol quantities of Micro QR Code (ISO/IEC 18004), versions M1..M4:
// the eight symbols (version and level pairs) with their data capacities,
// error-correction codewords and symbol numbers, the stream format of each
// version, and the format information.

#include <cstdint>
#include <optional>

#include <qrsmith/encoder/bit_stream.h>

namespace qrsmith::encoder {

inline constexpr std::int32_t kMicroVersionCount = 4;  // M1..M4
inline constexpr std::int32_t kMicroSymbolCount = 8;
inline constexpr std::int32_t kMicroMaskCount = 4;

// One Micro QR symbol, named by its symbol number 0..7 (the number the format
// information carries).
struct MicroQrSymbol {
  std::int32_t number;       // 0..7
  std::int32_t version;      // 1..4 for M1..M4
  std::int32_t level;        // 1 L, 2 M, 3 Q; M1 (error detection only) counts as L
  std::int32_t dataBits;     // data capacity in bits; M1 and M3 end in a 4-bit codeword
  std::int32_t ecCodewords;  // Reed-Solomon codewords, one block
};

// The symbol of a version 1..4 at a level 1..3, or nullopt when the version
// has no such level (M1 has only L, M2 and M3 L and M, M4 L, M and Q).
std::optional<MicroQrSymbol> FindMicroQrSymbol(std::int32_t version, std::int32_t level);

// Side in modules: 11, 13, 15 or 17 for M1..M4.
constexpr std::int32_t MicroQrSide(std::int32_t version) { return 9 + 2 * version; }

// Mode indicators, count widths and terminator of a version 1..4.
StreamFormat MicroQrStreamFormat(std::int32_t version);

// The 15 format information bits of a symbol number 0..7 and mask 0..3: 5 data
// bits, 10 BCH check bits, XORed with 100010001000101.
std::int32_t MicroQrFormatInformation(std::int32_t symbolNumber, std::int32_t mask);

}  // namespace qrsmith::encoder
