#include "encoder/bit_matrix.h"

namespace qrsmith::encoder {
namespace {

// Transposes a 64 x 64 block in place, bit c of word r being (r, c): swaps
// the off-diagonal halves of ever smaller blocks.
void Transpose64(std::array<std::uint64_t, 64>& a) {
  std::uint64_t m = 0x00000000FFFFFFFF;
  for (int j = 32; j != 0; j >>= 1, m ^= m << j) {
    for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const std::uint64_t t =
          ((a[static_cast<std::size_t>(k)] >> j) ^ a[static_cast<std::size_t>(k | j)]) & m;
      a[static_cast<std::size_t>(k)] ^= t << j;
      a[static_cast<std::size_t>(k | j)] ^= t;
    }
  }
}

}  // namespace

BitRow LowBits(std::int32_t n) {
  BitRow row;
  for (std::size_t i = 0; i < row.w.size(); ++i) {
    const std::int32_t inWord = n - 64 * static_cast<std::int32_t>(i);
    row.w[i] = inWord >= 64  ? ~std::uint64_t{0}
               : inWord <= 0 ? 0
                             : (std::uint64_t{1} << inWord) - 1;
  }
  return row;
}

void Transpose(const BitMatrix& in, BitMatrix& out) {
  out.side = in.side;
  const std::int32_t blocks = (in.side + 63) / 64;
  std::array<std::uint64_t, 64> block;
  for (std::int32_t bi = 0; bi < kBitRowWords; ++bi) {
    for (std::int32_t bj = 0; bj < kBitRowWords; ++bj) {
      const auto word = static_cast<std::size_t>(bj);
      if (bi >= blocks || bj >= blocks) {
        for (std::size_t r = 0; r < 64; ++r)
          out.rows[static_cast<std::size_t>(bj * 64) + r].w[static_cast<std::size_t>(bi)] = 0;
        continue;
      }
      for (std::size_t r = 0; r < 64; ++r)
        block[r] = in.rows[static_cast<std::size_t>(bi * 64) + r].w[word];
      Transpose64(block);
      for (std::size_t r = 0; r < 64; ++r) {
        out.rows[static_cast<std::size_t>(bj * 64) + r].w[static_cast<std::size_t>(bi)] = block[r];
      }
    }
  }
}

}  // namespace qrsmith::encoder
