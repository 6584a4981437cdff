#pragma once
// The module matrix of a Micro QR Code symbol (ISO/IEC 18004): the function
// patterns (one finder pattern with its separator, timing patterns along the
// top and left edges, the format area), the placement of the codeword bits,
// the four data masks and their evaluation, and the format information.
//
// Matrices use the layout of function_patterns.h: rows of width + 3 bytes; 0
// a free module, 1 a dark and 2 a light function module, kDataFlag | bit a
// placed data module.

#include <array>
#include <cstdint>
#include <vector>

#include <qrsmith/encoder/micro_qr_tables.h>

namespace qrsmith::encoder {

// Draws every function module of a version 1..4 into a zero-filled matrix.
void DrawMicroQrFunctionPatterns(std::uint8_t* matrix, std::int32_t version);

// Places `count` bits of `bits` (most significant bit of each byte first) in
// the free modules of a width x height matrix: two-column strips from the
// right edge, upwards first and then alternately, the right module of each row
// first. Free modules left over take 0.
void PlaceBitsInStrips(std::uint8_t* matrix, std::int32_t width, std::int32_t height,
                       const std::uint8_t* bits, std::int32_t count);

// A version's function matrix and its placement order: the offset in the
// matrix of the module each codeword bit goes to, in the order of
// PlaceBitsInStrips. Built once per version and shared.
struct MicroQrLayout {
  std::vector<std::uint8_t> function;
  std::vector<std::uint16_t> order;
  // Each mask over the whole matrix: 1 where it inverts a module, else 0.
  std::array<std::vector<std::uint8_t>, kMicroMaskCount> masks;
};
const MicroQrLayout& MicroQrLayoutOf(std::int32_t version);

// Whether Micro QR mask 0..3 inverts the module at row i, column j: the QR
// Code masks 1, 4, 6 and 7 (ISO/IEC 18004 Table 10).
bool MicroQrMaskCondition(std::int32_t mask, std::int32_t i, std::int32_t j);

// The evaluation of each mask over a placed, unmasked matrix of a version
// 1..4 (ISO/IEC 18004 section 7.8.3.2): with SUM1 and SUM2 the dark modules
// of the right and of the bottom edge (timing modules left out), the smaller
// sum times 16 plus the larger. Higher is better.
std::array<std::int32_t, kMicroMaskCount> EvaluateMicroQrMasks(const std::uint8_t* placed,
                                                               std::int32_t version);

// Makes every module of a placed matrix final (1 dark, 0 light) under mask
// 0..3 and writes the format information of the symbol number.
void FinishMicroQrMatrix(std::uint8_t* matrix, std::int32_t version, std::int32_t symbolNumber,
                         std::int32_t mask);

}  // namespace qrsmith::encoder
