#pragma once
// Filling a symbol's matrix: the zig-zag placement of the codeword bits
// (ISO/IEC 18004 section 7.7.3), the merge of data and function modules, and
// the format and version information (sections 7.9 and 7.10).
//
// The function matrix has rows of s + 3 bytes (see function_patterns.h); the
// data matrix has rows of s bytes, 0 or 1.

#include <cstdint>

namespace qrsmith::encoder {

// Places the 8 x count bits of `codewords`, each most significant bit first,
// into the free modules of the data matrix: two-column strips from the right,
// alternately upwards and downwards, skipping the vertical timing column.
// Modules the bits do not reach (remainder bits) are left as they are.
void PlaceCodewords(const std::uint8_t* function, std::int32_t side, const std::uint8_t* codewords,
                    std::int32_t count, std::uint8_t* data);

// Final module = (function entry if non-zero, else data entry) AND 1, written
// back into the function matrix: dark function modules 1, light ones 0.
void MergeModules(std::uint8_t* function, std::int32_t side, const std::uint8_t* data);

// The 18 version information bits of a version 7..40, in both 6 x 3 blocks.
void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version);

// The 15 format information bits of a level 1..4 and mask 0..7, twice.
void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask);

}  // namespace qrsmith::encoder
