#include "encoder/qr_tables.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace qrsmith::encoder {
namespace {

// ISO/IEC 18004 Table 9, packed: each decimal text is a 64-bit integer whose
// eight bytes, least significant first, are the entries of two versions in
// level order L, M, Q, H. The 20 texts laid end to end cover versions 1..40.
// For example the fourth block-count text, 0x0606040205060402, gives version 7
// 2, 4, 6, 5 blocks and version 8 2, 4, 6, 6 blocks.
constexpr std::array<std::string_view, 20> kPackedBlockCounts = {
    "72340172838076673",   "288795529457041665",  "289360682762371585",  "434038820808557570",
    "578718066989860098",  "795457097642280196",  "1157435017287960836", "1157717600399788550",
    "1518290344118061830", "1807086977449004551", "2456450852527214856", "2313464867272069641",
    "2675726469507650828", "3036299217588066572", "3470055463908154382", "3903812809756712720",
    "4337851630581981970", "4771607872623945235", "5349762981053541141", "5855859400228548376",
};
// Parity codewords per block, packed the same way. Neighbouring versions with
// equal counts share a text: 30, 28, 30, 30 for versions 23-24 and 27-40.
constexpr std::array<std::string_view, 20> kPackedBlockParity = {
    "2023822717971401223", "1160259731480254991", "2024385702368778266", "1879714187246178836",
    "2024396697518741022", "2024955275195981332", "1735038273943246362", "2168514110388312086",
    "2025522649032825884", "2026085590362626588", "1737857413301410332", "2170202986119044126",
    "2169640027575688218", "2170202986119044126", "2170202986119044126", "2170202986119044126",
    "2170202986119044126", "2170202986119044126", "2170202986119044126", "2170202986119044126",
};

using LevelTable = std::array<std::array<std::uint8_t, kLevelCount>, kMaxVersion>;

void Unpack(const std::array<std::string_view, 20>& texts, LevelTable& table) {
  std::array<std::uint8_t, kMaxVersion * kLevelCount> run{};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    std::uint64_t value = 0;
    std::from_chars(texts[i].data(), texts[i].data() + texts[i].size(), value);
    for (std::size_t b = 0; b < 8; ++b)
      run[i * 8 + b] = static_cast<std::uint8_t>(value >> (8 * b));
  }
  std::memcpy(table.data(), run.data(), run.size());
}

// Alignment step of a version 1..40 (ISO/IEC 18004 Annex E in closed form).
std::uint8_t AlignmentStep(std::int32_t v) {
  if (v <= 6) return 255;
  if (v <= 13) return static_cast<std::uint8_t>(2 * v + 2);
  if (v <= 20) return static_cast<std::uint8_t>(2 * ((2 * v + 4) / 3));
  if (v <= 27) return static_cast<std::uint8_t>((v + 2) & -2);
  if (v <= 34) return static_cast<std::uint8_t>(2 * (v / 3) + 6);
  return static_cast<std::uint8_t>(2 * (v / 3) + 2);
}

// BCH (15,5) generator x^10+x^8+x^5+x^4+x^2+x+1 and (18,6) generator
// x^12+x^11+x^10+x^9+x^8+x^5+x^2+1, ISO/IEC 18004 Annexes C and D.
constexpr std::int32_t kFormatPolynomial = 0x537;
constexpr std::int32_t kVersionPolynomial = 0x1F25;
// Format information is XORed with 101010000010010 so that it is never all zero.
constexpr std::int32_t kFormatMask = 0x5412;

}  // namespace

void QrTables::Fill() {
  for (std::int32_t v = kMinVersion; v <= kMaxVersion; ++v) {
    alignmentStep[static_cast<std::size_t>(v - 1)] = AlignmentStep(v);
  }
  Unpack(kPackedBlockCounts, blockCount);
  Unpack(kPackedBlockParity, blockParity);
}

std::int32_t QrTables::DataCodewords(std::int32_t version, std::int32_t level) const {
  if (version < kMinVersion || version > kMaxVersion || level < 1 || level > kLevelCount) return 0;
  const auto v = static_cast<std::size_t>(version - 1), l = static_cast<std::size_t>(level - 1);
  return CodewordCount(version) - blockCount[v][l] * blockParity[v][l];
}

std::int32_t SymbolSize(std::int32_t version) {
  if (version >= kMinVersion && version <= kMaxVersion) return 4 * version + 17;
  if (version >= -4 && version <= -1) return 9 - 2 * version;
  return 0;
}

std::int32_t AlignmentCoordinateCount(std::int32_t version) {
  if (version < 2) return 1;  // Micro QR and version 1 have no alignment pattern
  return version / 7 + 2;
}

std::int32_t AlignmentPatternCount(std::int32_t version) {
  const std::int64_t n = AlignmentCoordinateCount(version);
  // 32-bit arithmetic: wraps for absurd versions rather than overflowing.
  return n < 2 ? 0 : static_cast<std::int32_t>(n * n - 3);
}

std::int32_t DataModuleCount(std::int32_t version) {
  if (version >= -4 && version <= -1) {
    const std::int32_t s = SymbolSize(version);
    return s * s - 81 + 4 * version;
  }
  if (version < kMinVersion || version > kMaxVersion) return 0;
  const std::int32_t s = SymbolSize(version);
  const std::int32_t n = AlignmentCoordinateCount(version);
  // All modules minus finders, separators, format areas, timing patterns and
  // dark module; then the alignment patterns (less their timing overlap) and
  // the two version information blocks.
  std::int32_t modules = s * (s - 2) - 191;
  if (n >= 2) modules += n * (10 - 25 * n) + 55;
  if (n >= 3) modules -= 36;
  return modules;
}

std::int32_t CodewordCount(std::int32_t version) {
  const std::int32_t modules = DataModuleCount(version);
  // M1 and M3 end in a 4-bit codeword, which rounds up.
  return version < 0 ? (modules + 4) / 8 : modules / 8;
}

std::int32_t BchRemainder(std::int32_t value, std::int32_t polynomial, std::int32_t topBit,
                          std::int32_t shiftCount) {
  for (std::int32_t i = 0; i < shiftCount; ++i) {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 1);
    if ((value & topBit) != 0) value = (value ^ polynomial) & (topBit - 1);
  }
  return value;
}

std::int32_t FormatInformation(std::int32_t level, std::int32_t mask) {
  // Level indicators: L 01, M 00, Q 11, H 10.
  const std::int32_t data = (((level - 1) ^ 1) << 3) | mask;
  return ((data << 10) | BchRemainder(data, kFormatPolynomial, 0x400, 10)) ^ kFormatMask;
}

std::int32_t VersionInformation(std::int32_t version) {
  return (version << 12) | BchRemainder(version, kVersionPolynomial, 0x1000, 12);
}

std::int32_t VersionGroup(std::int32_t version) {
  if (version < 10) return 2;
  return version <= 26 ? 4 : 6;
}

std::array<std::int32_t, kModeCount> CountFieldWidths(std::int32_t group) {
  return {8 + 2 * (group & 4), group + 8, group + 7, group + 6};
}

std::array<std::int32_t, kModeCount> SegmentLimits(std::int32_t group) {
  std::array<std::int32_t, kModeCount> limits = CountFieldWidths(group);
  for (std::int32_t& limit : limits) limit = (std::int32_t{1} << limit) - 1;
  return limits;
}

}  // namespace qrsmith::encoder
