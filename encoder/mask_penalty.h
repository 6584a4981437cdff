#pragma once
// Mask evaluation (ISO/IEC 18004 section 7.8.3): penalty points for the
// features that trouble readers. The rules work on whole rows of bits at a
// time (bit_matrix.h). The rules one at a time, and over byte grids, are in
// detail/mask_penalty_rules.h.

#include <cstdint>

#include <qrsmith/encoder/bit_matrix.h>

namespace qrsmith {

// Penalty weights N1..N4 of ISO/IEC 18004 Table 11.
inline constexpr std::int32_t kPenaltyRun = 3;  // N1: run of five or more, plus 1 per extra module
inline constexpr std::int32_t kPenaltyBlock = 3;        // N2: 2 x 2 block of one colour
inline constexpr std::int32_t kPenaltyFinderLike = 40;  // N3: 1:1:3:1:1 beside 4 light modules
inline constexpr std::int32_t kPenaltyBalance = 10;  // N4: per 5 % of dark modules away from 50 %

namespace encoder {

// The whole score of a symbol given as its rows and as its columns (the
// transposed rows).
std::int32_t MatrixPenalty(const BitMatrix& rows, const BitMatrix& columns);

}  // namespace encoder

}  // namespace qrsmith
