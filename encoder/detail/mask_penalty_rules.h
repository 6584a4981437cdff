#pragma once
// The mask penalty rules one at a time, and the whole score over a byte grid:
// what the encoder's tests compare MatrixPenalty against. The
// encoder itself only calls MatrixPenalty (encoder/mask_penalty.h).

#include <cstdint>

#include <qrsmith/encoder/bit_matrix.h>
#include <qrsmith/encoder/mask_penalty.h>

namespace qrsmith {
namespace encoder {

// Rules 1 and 3 for one line of `length` modules (bit set: dark; bits from
// `length` on 0). Rule 3 counts modules beyond the ends as light (the quiet
// zone), and each 1:1:3:1:1 pattern once, light on one side or both.
std::int32_t LineRunPenalty(const BitRow& line, std::int32_t length);
std::int32_t LineFinderLikePenalty(const BitRow& line);

// Rule 2 for the blocks that rows a and b (neighbours, `length` modules) form.
std::int32_t RowPairBlockPenalty(const BitRow& a, const BitRow& b, std::int32_t length);

// Rule 4 for `dark` dark modules out of side x side: 10 x k, where k =
// floor(|dark / total - 1/2| / 5 %).
std::int32_t BalancePenaltyOf(std::int64_t dark, std::int32_t side);

}  // namespace encoder

// The four rules on an s x s grid of modules (0 light, non-zero dark), rows
// `stride` bytes apart, each over all rows and columns; s 1..192.
std::int32_t RunPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t BlockPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t FinderLikePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t BalancePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);

// Penalty of an s x s grid of modules: the sum of the four rules. 0 for a
// null grid, side < 1 or > 192, or stride < side.
std::int32_t MaskPenaltyScore(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);

}  // namespace qrsmith
