#pragma once
// Error-correction blocks (ISO/IEC 18004 section 7.5.2 and 7.6): the data
// codewords are split into b blocks, each block gets c Reed-Solomon parity
// codewords, and the final sequence takes the data codewords block by block
// (first codeword of every block, then the second, ...) followed by the
// parity codewords in the same way.

#include <cstdint>

#include <qrsmith/encoder/galois_field.h>
#include <qrsmith/encoder/reed_solomon_encoder.h>

namespace qrsmith::encoder {

// How D data codewords fall into b blocks: the first shortBlocks blocks hold
// longLength - 1 codewords, the others longLength.
struct BlockSplit {
  std::int32_t longLength = 0;   // (D + b - 1) div b
  std::int32_t shortBlocks = 0;  // b - (D mod b) when D mod b > 0, else 0
};
BlockSplit SplitBlocks(std::int32_t dataCodewords, std::int32_t blocks);

// Position in the final sequence of data codeword j of block i.
std::int32_t DataPosition(const BlockSplit& split, std::int32_t blocks, std::int32_t i,
                          std::int32_t j);

// Writes the interleaved sequence of D + b x c codewords to `out`. The
// Reed-Solomon encoder is initialised for the long block length (short blocks
// are long blocks led by a zero codeword) with a copy of `field`, generator
// element 2 and first root 0. False when it refuses those sizes.
bool InterleaveBlocks(const std::uint8_t* data, std::int32_t dataCodewords, std::int32_t blocks,
                      std::int32_t parity, const GaloisField& field, ReedSolomonEncoder& rs,
                      std::uint8_t* out);

}  // namespace qrsmith::encoder
