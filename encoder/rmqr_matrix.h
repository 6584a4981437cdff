#pragma once
// The module matrix of an rMQR symbol (ISO/IEC 23941): the function patterns
// (the finder pattern with its separator, the sub-finder at the bottom-right
// corner, the corner patterns at the other two corners, timing along all four
// edges and down each alignment column, the alignment patterns), the
// placement of the codeword bits, the one data mask and the two copies of the
// format information.
//
// Matrices use the layout of function_patterns.h: height + 3 rows of
// width + 3 bytes; 0 a free module, 1 a dark and 2 a light function module,
// kDataFlag | bit a placed data module.

#include <cstdint>
#include <vector>

#include <qrsmith/encoder/rmqr_tables.h>

namespace qrsmith::encoder {

// Draws every function module of a size into a zero-filled matrix, the
// format areas as light modules.
void DrawRmqrFunctionPatterns(std::uint8_t* matrix, const RmqrSize& size);

// A size's function matrix, the placement order of its codeword bits (the
// offset of the module each bit goes to: two-column strips from the right
// edge, upwards first and then alternately, the right module of each row
// first) and its mask (1 where the mask inverts a data module). Built once
// per size and shared. The right edge is all timing and corner modules, so
// the first strip is columns width - 2 and width - 3.
struct RmqrLayout {
  std::vector<std::uint8_t> function;
  std::vector<std::uint16_t> order;
  std::vector<std::uint8_t> mask;
};
const RmqrLayout& RmqrLayoutOf(std::int32_t number);

// Makes every module of a placed matrix final (1 dark, 0 light) under the
// mask and writes both copies of the format information.
void FinishRmqrMatrix(std::uint8_t* matrix, const RmqrSize& size, std::int32_t level);

}  // namespace qrsmith::encoder
