#include "verify/codeword_map.h"

#include "encoder/function_patterns.h"
#include "encoder/qr_tables.h"

namespace qrsmith::verify {

namespace {

std::int32_t MisdecodeProtection(std::int32_t version, std::int32_t level) {
  if (version == 1) return level == 1 ? 3 : level == 2 ? 2 : 1;
  if (version == 2 && level == 1) return 2;
  if (version == 3 && level == 1) return 1;
  return 0;
}

}  // namespace

CodewordMap MapCodewords(std::int32_t version, std::int32_t level) {
  CodewordMap map;
  if (version < encoder::kMinVersion || version > encoder::kMaxVersion || level < 1 ||
      level > encoder::kLevelCount) {
    return map;
  }
  encoder::QrTables tables;
  tables.Fill();
  const auto v = static_cast<std::size_t>(version - 1), l = static_cast<std::size_t>(level - 1);
  const std::int32_t blocks = tables.blockCount[v][l], parity = tables.blockParity[v][l];
  const std::int32_t data = tables.DataCodewords(version, level);
  // The first blocks are one data codeword shorter when the data do not
  // split evenly.
  const std::int32_t longData = (data + blocks - 1) / blocks;
  const std::int32_t shortBlocks = data % blocks == 0 ? 0 : blocks - data % blocks;
  for (std::int32_t i = 0; i < blocks; ++i) {
    const std::int32_t d = i < shortBlocks ? longData - 1 : longData;
    map.blocks.push_back({d + parity, parity, MisdecodeProtection(version, level)});
  }
  // The interleaved sequence: data codeword j of every block in turn, then
  // parity codeword j of every block.
  std::vector<std::pair<std::int16_t, std::int16_t>> sequence;
  for (std::int32_t j = 0; j < longData; ++j) {
    for (std::int32_t i = 0; i < blocks; ++i) {
      if (j < map.blocks[static_cast<std::size_t>(i)].codewords - parity) {
        sequence.emplace_back(static_cast<std::int16_t>(i), static_cast<std::int16_t>(j));
      }
    }
  }
  for (std::int32_t j = 0; j < parity; ++j) {
    for (std::int32_t i = 0; i < blocks; ++i) {
      const std::int32_t dataOfBlock = map.blocks[static_cast<std::size_t>(i)].codewords - parity;
      sequence.emplace_back(static_cast<std::int16_t>(i),
                            static_cast<std::int16_t>(dataOfBlock + j));
    }
  }
  const std::int32_t s = encoder::SymbolSize(version), stride = encoder::MatrixStride(s);
  const std::vector<std::uint8_t> function = encoder::FunctionMatrixOf(version);
  map.side = s;
  const auto modules = static_cast<std::size_t>(s) * static_cast<std::size_t>(s);
  map.block.assign(modules, -1);
  map.codeword.assign(modules, -1);
  // Two-column strips from the right, upwards and downwards in turn, the
  // vertical timing column skipped; the right module of each pair first.
  std::size_t bit = 0;
  for (std::int32_t right = s - 1; right >= 1; right -= 2) {
    if (right == 6) right = 5;
    const bool upwards = ((right + 1) & 2) == 0;
    for (std::int32_t step = 0; step < s; ++step) {
      const std::int32_t row = upwards ? s - 1 - step : step;
      for (std::int32_t column : {right, right - 1}) {
        if (function[static_cast<std::size_t>(row) * stride + column] != encoder::kFree) continue;
        const std::size_t index = bit++ / 8;
        if (index >= sequence.size()) continue;  // a remainder bit
        const auto at = static_cast<std::size_t>(row) * s + column;
        map.block[at] = sequence[index].first;
        map.codeword[at] = sequence[index].second;
      }
    }
  }
  return map;
}

}  // namespace qrsmith::verify
