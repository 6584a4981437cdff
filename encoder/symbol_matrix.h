#pragma once
// Filling a symbol's matrix: the zig-zag placement of the masked codeword
// bits (ISO/IEC 18004 sections 7.7.3 and 7.8) and the format and version
// information (sections 7.9 and 7.10). The matrix has rows of s + 3 bytes
// (see function_patterns.h).

#include <cstdint>

namespace qrsmith::encoder {

// Places the 8 x count bits of `codewords`, each most significant bit first
// and XORed with the mask (its rows from FillMaskRows), into the free modules
// of the function matrix: two-column strips from the right, alternately
// upwards and downwards, skipping the vertical timing column. Free modules
// beyond the last bit (the remainder bits) are light before masking. Every
// module of the symbol is then made final: 1 dark, 0 light.
void PlaceMaskedCodewords(std::uint8_t* matrix, std::int32_t side, const std::uint8_t* codewords,
                          std::int32_t count, const std::uint8_t* maskRows);

// The 18 version information bits of a version 7..40, in both 6 x 3 blocks.
void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version);

// The 15 format information bits of a level 1..4 and mask 0..7, twice.
void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask);

}  // namespace qrsmith::encoder
