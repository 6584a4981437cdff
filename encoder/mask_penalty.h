#pragma once
// Mask evaluation (ISO/IEC 18004 section 7.8.3): penalty points for the
// features that trouble readers, and the choice of the mask with the fewest.
// The encoder itself never compares masks; this serves callers that want the
// standard's choice (the command-line tool's --mask auto).

#include <cstdint>

#include "encoder/qr_encoder.h"

namespace qrsmith {

// Penalty weights N1..N4 of ISO/IEC 18004 Table 11.
inline constexpr std::int32_t kPenaltyRun = 3;  // N1: run of five or more, plus 1 per extra module
inline constexpr std::int32_t kPenaltyBlock = 3;        // N2: 2 x 2 block of one colour
inline constexpr std::int32_t kPenaltyFinderLike = 40;  // N3: 1:1:3:1:1 beside 4 light modules
inline constexpr std::int32_t kPenaltyBalance = 10;  // N4: per 5 % of dark modules away from 50 %

// The four rules on an s x s grid of modules (0 light, non-zero dark), rows
// `stride` bytes apart, each over all rows and columns.
std::int32_t RunPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t BlockPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t FinderLikePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);
std::int32_t BalancePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);

// Penalty of an s x s grid of modules (0 light, non-zero dark), rows `stride`
// bytes apart. Rule 3 counts modules beyond the edge as light (the quiet
// zone); rule 4 takes k = floor(|dark / total - 1/2| / 5 %). 0 for side < 1.
std::int32_t MaskPenaltyScore(const std::uint8_t* modules, std::int32_t side, std::int32_t stride);

// Penalty of the encoder's current symbol; 0 before the first one.
std::int32_t MaskPenaltyScore(const QrEncoder& encoder);

// Encodes the content with each of the eight masks (on a copy of `base`,
// which stays as it is) and returns the mask with the lowest penalty, the
// lowest number on ties; -1 when the content cannot be encoded at all.
std::int16_t ChooseBestMask(const QrEncoder& base, const Bytes& data, std::int32_t n,
                            const EncodeOptions& options);

}  // namespace qrsmith
