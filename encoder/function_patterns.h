#pragma once
// Function patterns of a QR Code symbol (ISO/IEC 18004 section 6.3): finder
// patterns with separators, reserved format and version areas, the dark
// module, timing patterns and alignment patterns.
//
// A function matrix has (s + 3) rows of (s + 3) bytes for side s: 0 free (a
// data module), 1 dark function module, 2 light function module. Rows and
// columns s .. s+2 stay 0; they make each row a multiple of four bytes long.

#include <cstdint>
#include <vector>

namespace qrsmith::encoder {

inline constexpr std::uint8_t kFree = 0;
inline constexpr std::uint8_t kDarkFunction = 1;
inline constexpr std::uint8_t kLightFunction = 2;

// Row length of the function and module matrices of a symbol of side s.
constexpr std::int32_t MatrixStride(std::int32_t side) { return side + 3; }

// Alignment centre coordinates of a version 2..40 from its alignment step t:
// s-7, s-7-t, s-7-2t, ... while at least 18, largest first (ISO/IEC 18004
// Annex E, where the same list is given smallest first and with 6 added).
std::vector<std::int32_t> AlignmentCentres(std::int32_t version, std::int32_t step);

// Draws every function module of a version 1..40 into a zero-filled matrix
// of (s + 3) x (s + 3) bytes.
void DrawFunctionPatterns(std::uint8_t* matrix, std::int32_t version, std::int32_t step);
// The same into a new matrix, for callers that hold no tables; empty for a
// version outside 1..40.
std::vector<std::uint8_t> FunctionMatrixOf(std::int32_t version);

}  // namespace qrsmith::encoder
