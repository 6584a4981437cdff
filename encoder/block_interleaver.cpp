#include "encoder/block_interleaver.h"

#include <vector>

namespace qrsmith::encoder {

BlockSplit SplitBlocks(std::int32_t dataCodewords, std::int32_t blocks) {
  if (blocks < 1 || dataCodewords < 0) return {};
  const std::int32_t rest = dataCodewords % blocks;
  return {(dataCodewords + blocks - 1) / blocks, rest > 0 ? blocks - rest : 0};
}

std::int32_t DataPosition(const BlockSplit& split, std::int32_t blocks, std::int32_t i,
                          std::int32_t j) {
  // Only long blocks have a codeword j = longLength - 1; those come last,
  // after the short blocks have run out.
  if (j < split.longLength - 1) return i + j * blocks;
  return (split.longLength - 1) * blocks + (i - split.shortBlocks);
}

bool InterleaveBlocks(const std::uint8_t* data, std::int32_t dataCodewords, std::int32_t blocks,
                      std::int32_t parity, const GaloisField& field, ReedSolomonEncoder& rs,
                      std::uint8_t* out) {
  const BlockSplit split = SplitBlocks(dataCodewords, blocks);
  if (!rs.Initialise(split.longLength, parity, field, true, 0, 0)) return false;
  std::vector<std::int32_t> lengths(static_cast<std::size_t>(blocks));
  for (std::int32_t i = 0; i < blocks; ++i) {
    lengths[static_cast<std::size_t>(i)] =
        i < split.shortBlocks ? split.longLength - 1 : split.longLength;
  }
  std::vector<std::uint8_t> checks(static_cast<std::size_t>(blocks) *
                                   static_cast<std::size_t>(parity));
  if (!rs.EncodeByteBlocks(data, lengths.data(), blocks, checks.data())) return false;
  const std::uint8_t* block = data;
  for (std::int32_t i = 0; i < blocks; ++i) {
    const std::int32_t length = lengths[static_cast<std::size_t>(i)];
    // Codewords before the last of a long block sit `blocks` apart from
    // position i on (DataPosition's first case); the last goes through it.
    const std::int32_t common = split.longLength - 1;
    std::uint8_t* to = out + i;
    for (std::int32_t j = 0; j < common; ++j, to += blocks) *to = block[j];
    if (length > common) out[DataPosition(split, blocks, i, common)] = block[common];
    const std::uint8_t* check = &checks[static_cast<std::size_t>(i * parity)];
    to = out + dataCodewords + i;
    for (std::int32_t j = 0; j < parity; ++j, to += blocks) *to = check[j];
    block += length;
  }
  return true;
}

}  // namespace qrsmith::encoder
