#pragma once
// The per-version quantities of QR Code Model 2 (ISO/IEC 18004): symbol size,
// data modules, codewords, alignment patterns, error-correction blocks,
// character-count fields and the BCH codes of the format and version
// information. Versions are 1..40; the size operations also accept -1..-4,
// the Micro QR symbols M1..M4.

#include <array>
#include <cstdint>

namespace qrsmith::encoder {

inline constexpr std::int32_t kMinVersion = 1;
inline constexpr std::int32_t kMaxVersion = 40;
inline constexpr std::int32_t kLevelCount = 4;  // 1 L, 2 M, 3 Q, 4 H
inline constexpr std::int32_t kDefaultLevel = 2;
// Length of the encoder's bit arrays: more than the 29648 data modules of
// version 40, so every symbol's bits fit.
inline constexpr std::int32_t kBitArrayLength = 32768;

// The tables an encoder fills once when it is created and only reads after.
struct QrTables {
  // Distance between neighbouring alignment centres, by version - 1; 255 (wider
  // than any symbol) for versions 1..6, which have at most one pattern.
  std::array<std::uint8_t, kMaxVersion> alignmentStep{};
  // ISO/IEC 18004 Table 9 by [version - 1][level - 1]: error-correction blocks
  // (both block groups together) and parity codewords per block.
  std::array<std::array<std::uint8_t, kLevelCount>, kMaxVersion> blockCount{};
  std::array<std::array<std::uint8_t, kLevelCount>, kMaxVersion> blockParity{};
  // Fills the three tables (table set-up of the encoder's creation).
  void Fill();

  // Data codewords of a version 1..40 at a level 1..4: codewords minus parity.
  std::int32_t DataCodewords(std::int32_t version, std::int32_t level) const;
};

std::int32_t SymbolSize(std::int32_t version);
std::int32_t AlignmentCoordinateCount(std::int32_t version);
std::int32_t AlignmentPatternCount(std::int32_t version);
std::int32_t DataModuleCount(std::int32_t version);
std::int32_t CodewordCount(std::int32_t version);

// Check bits of a BCH code word: value x 2^shiftCount modulo the polynomial.
std::int32_t BchRemainder(std::int32_t value, std::int32_t polynomial, std::int32_t topBit,
                          std::int32_t shiftCount);

// The 15 format information bits of a level 1..4 and mask 0..7 as placed in
// the symbol: 5 data bits, 10 check bits, XORed with the mask 0x5412.
std::int32_t FormatInformation(std::int32_t level, std::int32_t mask);
// The 18 version information bits of a version 7..40: 6 data bits, 12 check bits.
std::int32_t VersionInformation(std::int32_t version);

// Character-count field widths and segment limits by version group
// g = 2 (versions 1-9), 4 (10-26) or 6 (27-40); modes are numbered
// 0 byte, 1 numeric, 2 alphanumeric, 3 Kanji.
inline constexpr std::int32_t kModeCount = 4;
std::int32_t VersionGroup(std::int32_t version);
std::array<std::int32_t, kModeCount> CountFieldWidths(std::int32_t group);
// Largest count a segment of each mode can carry: 2^width - 1.
std::array<std::int32_t, kModeCount> SegmentLimits(std::int32_t group);

}  // namespace qrsmith::encoder
