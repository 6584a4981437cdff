#include "encoder/mask_choice.h"

#include <algorithm>

#include "encoder/bit_matrix.h"
#include "encoder/function_patterns.h"
#include "encoder/mask_penalty.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith::encoder {
namespace {

// A 64-bit stretch of a line of a pattern that repeats every 12 modules:
// bit j is bit (phase + j) mod 12 of `tile`.
std::uint64_t TileWord(std::uint32_t tile, std::int32_t phase) {
  std::uint64_t word = ((tile >> phase) | (tile << (kMaskTile - phase))) & 0xFFF;
  word |= word << 12;
  word |= word << 24;
  return word | (word << 48);
}

BitRow TileRow(std::uint32_t tile) {
  BitRow row;
  for (std::int32_t w = 0; w < kBitRowWords; ++w) {
    row.w[static_cast<std::size_t>(w)] = TileWord(tile, (64 * w) % kMaskTile);
  }
  return row;
}

// The 12 row patterns of one mask (bit j of row r: the mask inverts (r, j))
// and its 12 column patterns (bit i of column c: it inverts (i, c)).
struct MaskLines {
  std::array<BitRow, kMaskTile> rows, columns;
};

MaskLines LinesOf(std::int32_t mask) {
  const auto& tile = kMaskTiles[static_cast<std::size_t>(mask)];
  MaskLines lines;
  for (std::int32_t r = 0; r < kMaskTile; ++r) {
    lines.rows[static_cast<std::size_t>(r)] = TileRow(tile[static_cast<std::size_t>(r)]);
    std::uint32_t column = 0;
    for (std::int32_t i = 0; i < kMaskTile; ++i) {
      column |= ((tile[static_cast<std::size_t>(i)] >> r) & 1u) << i;
    }
    lines.columns[static_cast<std::size_t>(r)] = TileRow(column);
  }
  return lines;
}

// out = base XOR (pattern AND data), line by line.
void Mask(const BitMatrix& base, const BitMatrix& data, const std::array<BitRow, kMaskTile>& lines,
          BitMatrix& out) {
  out.side = base.side;
  for (std::int32_t i = 0, phase = 0; i < base.side; ++i) {
    const auto at = static_cast<std::size_t>(i);
    out.rows[at] = base.rows[at] ^ (lines[static_cast<std::size_t>(phase)] & data.rows[at]);
    if (++phase == kMaskTile) phase = 0;
  }
}

}  // namespace

std::array<std::int32_t, kMaskCount> ScoreMasks(const std::uint8_t* placed, std::int32_t version,
                                                std::int32_t level) {
  const std::int32_t s = SymbolSize(version);
  // unmasked: the symbol with every data module unmasked and the format
  // areas light; data: which modules the mask touches.
  BitMatrix unmasked, data;
  PackGrid(placed, s, MatrixStride(s), unmasked,
           [](std::uint64_t eight) { return eight & ~(eight >> 1); });
  PackGrid(placed, s, MatrixStride(s), data, [](std::uint64_t eight) { return eight >> 2; });
  if (version >= 7) {
    ForEachVersionModule(s, version, [&](std::int32_t row, std::int32_t column, bool dark) {
      if (dark) unmasked.rows[static_cast<std::size_t>(row)].Set(column);
    });
  }
  BitMatrix unmaskedColumns, dataColumns;
  Transpose(unmasked, unmaskedColumns);
  Transpose(data, dataColumns);

  std::array<std::int32_t, kMaskCount> scores{};
  BitMatrix rows, columns;
  for (std::int32_t m = 0; m < kMaskCount; ++m) {
    const MaskLines lines = LinesOf(m);
    Mask(unmasked, data, lines.rows, rows);
    Mask(unmaskedColumns, dataColumns, lines.columns, columns);
    ForEachFormatModule(s, level, m, [&](std::int32_t row, std::int32_t column, bool dark) {
      if (!dark) return;
      rows.rows[static_cast<std::size_t>(row)].Set(column);
      columns.rows[static_cast<std::size_t>(column)].Set(row);
    });
    scores[static_cast<std::size_t>(m)] = MatrixPenalty(rows, columns);
  }
  return scores;
}

std::int32_t ChooseMask(const std::uint8_t* placed, std::int32_t version, std::int32_t level) {
  const std::array<std::int32_t, kMaskCount> scores = ScoreMasks(placed, version, level);
  return static_cast<std::int32_t>(std::min_element(scores.begin(), scores.end()) - scores.begin());
}

}  // namespace qrsmith::encoder
