#pragma once
// Filling a symbol's matrix: the zig-zag placement of the codeword bits
// (ISO/IEC 18004 section 7.7.3), the merge of data and function modules, and
// the format and version information (sections 7.9 and 7.10). The matrix has
// rows of s + 3 bytes (see function_patterns.h).

#include <cstdint>
#include <vector>

#include <qrsmith/encoder/qr_tables.h>

namespace qrsmith::encoder {

// A data module between placement and merge: this flag plus its bit. Function
// modules are 1 (dark) or 2 (light), so the flag tells data from function.
inline constexpr std::uint8_t kDataFlag = 4;

// Where the codeword bits go in a symbol of one version: the free modules of
// its function matrix in placement order (ISO/IEC 18004 section 7.7.3), two-
// column strips from the right, alternately upwards and downwards, skipping
// the vertical timing column, right column first in every row. Held as runs
// of rows within one strip that have the same cells free, so that placing
// writes a whole row of two modules in one step. The plan depends on the
// version only, so an encoder keeps the plan of the version it last used.
class PlacementPlan {
 public:
  // Reads the free modules of a function matrix of the given side.
  void Build(const std::uint8_t* matrix, std::int32_t side);
  // The side the plan was built for; 0 before the first Build.
  std::int32_t Side() const { return side_; }
  // Places the 8 x count bits of `codewords`, each most significant bit
  // first, as kDataFlag | bit into the planned modules of a matrix of the
  // plan's side; modules beyond the last bit (the remainder bits) take 0.
  void Place(std::uint8_t* matrix, const std::uint8_t* codewords, std::int32_t count) const;

 private:
  struct Run {
    std::int32_t offset;  // first row's cell: the strip's left cell, or the one free cell
    std::int32_t step;    // from one row to the next: plus or minus the row length
    std::int32_t rows;
    bool both;  // both cells of each row free; else the one at offset
  };
  std::vector<Run> runs_;
  std::int32_t side_ = 0;
};

// Places codewords into the free modules of a function matrix as a plan
// built from that matrix places them.
void PlaceCodewords(std::uint8_t* matrix, std::int32_t side, const std::uint8_t* codewords,
                    std::int32_t count);

// Makes every module final, 1 dark and 0 light: a data module keeps its bit,
// a function module is dark when it was 1. Masking may have flipped the low
// bit of any module first, so function modules are told apart by bit 1
// (1 or 0 dark, 2 or 3 light).
void MergeModules(std::uint8_t* matrix, std::int32_t side);

// Calls put(row, column, dark) for the 30 modules of the format information
// of a level 1..4 and mask 0..7, both copies.
template <class Put>
void ForEachFormatModule(std::int32_t side, std::int32_t level, std::int32_t mask, Put put) {
  const std::int32_t s = side;
  const std::int32_t bits = FormatInformation(level, mask);
  auto at = [&](std::int32_t row, std::int32_t column, std::int32_t bit) {
    put(row, column, ((bits >> bit) & 1) != 0);
  };
  // Bit 14 is the first bit of the level indicator. The first copy runs
  // around the top-left finder, the second is split between the top-right
  // and bottom-left finders.
  for (std::int32_t n = 0; n < 6; ++n) {
    at(8, n, 14 - n);
    at(s - 1 - n, 8, 14 - n);
  }
  at(8, 7, 8);
  at(s - 7, 8, 8);
  at(8, 8, 7);
  at(8, s - 8, 7);
  at(7, 8, 6);
  at(8, s - 7, 6);
  for (std::int32_t bit = 5; bit >= 0; --bit) {
    at(bit, 8, bit);
    at(8, s - 1 - bit, bit);
  }
}

// Calls put(row, column, dark) for the 36 modules of the version information
// of a version 7..40, both 6 x 3 blocks.
template <class Put>
void ForEachVersionModule(std::int32_t side, std::int32_t version, Put put) {
  const std::int32_t bits = VersionInformation(version);
  for (std::int32_t i = 0; i < 6; ++i) {
    for (std::int32_t j = 0; j < 3; ++j) {
      const bool dark = ((bits >> (3 * i + j)) & 1) != 0;
      put(side - 11 + j, i, dark);
      put(i, side - 11 + j, dark);
    }
  }
}

// The version information of a version 7..40 into a merged matrix.
void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version);

// The format information of a level 1..4 and mask 0..7 into a merged matrix.
void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask);

}  // namespace qrsmith::encoder
