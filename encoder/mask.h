#pragma once
// Data mask patterns (ISO/IEC 18004 section 7.8.2, Table 10). One of eight
// patterns is XORed over the data modules so that the symbol shows no large
// areas or misleading shapes; its number goes into the format information.

#include <array>
#include <cstdint>

namespace qrsmith::encoder {

inline constexpr std::int32_t kMaskCount = 8;

// The mask that a request means: 0..7 as given, anything else (such as -1,
// "no mask asked for") 0.
constexpr std::int32_t NormaliseMask(std::int32_t mask) {
  return mask < 0 || mask >= kMaskCount ? 0 : mask;
}

// Whether mask 0..7 inverts the module at row i, column j (i, j >= 0).
constexpr bool MaskCondition(std::int32_t mask, std::int32_t i, std::int32_t j) {
  switch (mask) {
    case 0:
      return (i + j) % 2 == 0;
    case 1:
      return i % 2 == 0;
    case 2:
      return j % 3 == 0;
    case 3:
      return (i + j) % 3 == 0;
    case 4:
      return (i / 2 + j / 3) % 2 == 0;
    case 5:
      return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
      return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    case 7:
      return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    default:
      return false;
  }
}

// Every condition depends on the row only through i mod 2, i mod 3 and
// (i div 2) mod 2, and on the column through j mod 2, j mod 3 and
// (j div 3) mod 2: the patterns repeat every 12 rows and every 6 columns,
// so a 12 x 12 block of each pattern tiles the whole symbol.
inline constexpr std::int32_t kMaskRowPeriod = 12;
inline constexpr std::int32_t kMaskColumnPeriod = 6;
inline constexpr std::int32_t kMaskTile = 12;

// kMaskTiles[mask][i] bit j: whether the mask inverts row i, column j of the
// 12 x 12 tile.
using MaskTiles = std::array<std::array<std::uint16_t, kMaskTile>, kMaskCount>;
inline constexpr MaskTiles kMaskTiles = [] {
  MaskTiles tiles{};
  for (std::int32_t m = 0; m < kMaskCount; ++m) {
    for (std::int32_t i = 0; i < kMaskTile; ++i) {
      for (std::int32_t j = 0; j < kMaskTile; ++j) {
        if (MaskCondition(m, i, j)) tiles[m][i] |= static_cast<std::uint16_t>(1u << j);
      }
    }
  }
  return tiles;
}();

// The first min(side, 12) rows of mask 0..7 over a symbol of the given side,
// spelled out: row r (side bytes, 0 or 1) serves every row i with i mod 12 = r.
// `rows` takes 12 x side bytes.
void FillMaskRows(std::int32_t mask, std::int32_t side, std::uint8_t* rows);

// XORs mask 0..7 over every module of an s x s grid whose rows are `stride`
// bytes apart.
void ApplyMaskPattern(std::uint8_t* grid, std::int32_t side, std::int32_t stride,
                      std::int32_t mask);

}  // namespace qrsmith::encoder
