#pragma once
// Where each codeword of a QR Code symbol lies: for every module of the
// matrix, the codeword (as a block and a place in the block) whose bit it
// carries. The grade compares the modules read back with the intended ones
// and counts, block by block, the codewords that came back damaged.

#include <cstdint>
#include <vector>

namespace qrsmith::verify {

struct CodewordBlock {
  std::int32_t codewords = 0;  // data and parity together
  std::int32_t parity = 0;     // d: the Reed-Solomon parity codewords
  // p: parity codewords kept back from correction against misdecodes
  // (ISO/IEC 18004 Table 9: 3 for 1-L, 2 for 1-M and 2-L, 1 for 1-Q, 1-H
  // and 3-L, none elsewhere).
  std::int32_t misdecodeProtection = 0;
};

struct CodewordMap {
  std::int32_t side = 0;
  std::vector<CodewordBlock> blocks;
  // By module, row after row of the side x side matrix: the block and the
  // codeword's place in it, -1 for function modules and remainder bits.
  std::vector<std::int16_t> block;
  std::vector<std::int16_t> codeword;
};

// The map of a version 1..40 at a level 1 (L) .. 4 (H); empty for others.
CodewordMap MapCodewords(std::int32_t version, std::int32_t level);

}  // namespace qrsmith::verify
