#pragma once
// The mask choice of ISO/IEC 18004 section 7.8.3: every mask scored on the
// finished symbol it would make, format information included, and the one
// with the lowest penalty taken.

#include <array>
#include <cstdint>

#include <qrsmith/encoder/mask.h>

namespace qrsmith::encoder {

// Penalty of each mask 0..7 for a symbol whose codewords are placed but not
// masked (the matrix after PlaceCodewords, version information not yet
// written) of a version 1..40 at a level 1..4.
std::array<std::int32_t, kMaskCount> ScoreMasks(const std::uint8_t* placed, std::int32_t version,
                                                std::int32_t level);

// The mask with the lowest score, the lowest number on ties.
std::int32_t ChooseMask(const std::uint8_t* placed, std::int32_t version, std::int32_t level);

}  // namespace qrsmith::encoder
