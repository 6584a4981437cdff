#include "encoder/symbol_matrix.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "encoder/big_endian.h"
#include "encoder/function_patterns.h"

namespace qrsmith::encoder {
namespace {

// Column of the vertical timing pattern, which no strip of data uses.
constexpr std::int32_t kTimingColumn = 6;

// The two modules of a row from two bits b1 b2 (b1 the earlier): the left
// cell takes b2, the right cell b1.
constexpr std::uint8_t kPairs[4][2] = {{kDataFlag, kDataFlag},
                                       {kDataFlag | 1, kDataFlag},
                                       {kDataFlag, kDataFlag | 1},
                                       {kDataFlag | 1, kDataFlag | 1}};

// Four rows of a strip from the eight bits of one byte, two bits a row.
using Quad = std::array<std::array<std::uint8_t, 2>, 4>;
constexpr std::array<Quad, 256> kQuads = [] {
  std::array<Quad, 256> quads{};
  for (std::size_t byte = 0; byte < quads.size(); ++byte) {
    for (std::size_t row = 0; row < 4; ++row) {
      const std::size_t pair = (byte >> (6 - 2 * row)) & 3;
      quads[byte][row] = {kPairs[pair][0], kPairs[pair][1]};
    }
  }
  return quads;
}();

}  // namespace

void PlacementPlan::Build(const std::uint8_t* matrix, std::int32_t side) {
  runs_.clear();
  side_ = side;
  const std::int32_t stride = MatrixStride(side);
  // One strip: columns right - 1 and right, rows in the given direction.
  auto strip = [&](std::int32_t right, bool upward) {
    const std::int32_t step = upward ? -stride : stride;
    std::int32_t offset = (upward ? side - 1 : 0) * stride + right - 1;
    int open = 0;  // free cells of the previous row: 1 left, 2 right, 3 both
    for (std::int32_t n = 0; n < side; ++n, offset += step) {
      const int cells = (matrix[offset] == kFree ? 1 : 0) | (matrix[offset + 1] == kFree ? 2 : 0);
      if (cells != 0 && cells == open) {
        ++runs_.back().rows;
      } else if (cells != 0) {
        runs_.push_back(Run{offset + (cells == 2 ? 1 : 0), step, 1, cells == 3});
      }
      open = cells;
    }
  };
  // `a` walks from the right edge in steps of four columns: an upward strip
  // ends at column a - 1, the downward strip after it at column a - 3; left
  // of the timing column everything shifts one column further left.
  for (std::int32_t a = side; a > 4;) {
    const std::int32_t up = a - 2 < kTimingColumn ? a - 3 : a - 2;
    strip(up + 1, true);
    a -= 4;
    const std::int32_t down = a < kTimingColumn ? a - 1 : a;
    strip(down + 1, false);
  }
}

void PlacementPlan::Place(std::uint8_t* matrix, const std::uint8_t* codewords,
                          std::int32_t count) const {
  // The codeword bits from the top of a 64-bit window, then zeros for ever.
  // Locals stay in registers; the matrix's byte stores could alias members.
  std::uint64_t window = 0;
  std::int32_t left = 0;  // bits in the window
  std::int32_t next = 0;  // next codeword to load
  // Tops the window up to at least 57 bits.
  auto refill = [&] {
    if (next <= count - 8) {
      // As many whole bytes as fit, from one eight-byte load.
      const std::int32_t take = (64 - left) / 8;
      window |=
          (LoadBigEndian64(codewords + next) & (~std::uint64_t{0} << (64 - 8 * take))) >> left;
      left += 8 * take;
      next += take;
    }
    for (; left <= 56; left += 8, ++next) {
      const std::uint64_t byte = next < count ? codewords[next] : 0u;
      window |= byte << (56 - left);
    }
  };
  for (const Run& run : runs_) {
    std::uint8_t* cell = matrix + run.offset;
    const std::ptrdiff_t step = run.step;
    std::int32_t rows = run.rows;
    if (run.both) {
      for (; rows >= 4; rows -= 4, cell += 4 * step) {
        if (left < 8) refill();
        const Quad& quad = kQuads[window >> 56];
        std::memcpy(cell, quad[0].data(), 2);
        std::memcpy(cell + step, quad[1].data(), 2);
        std::memcpy(cell + 2 * step, quad[2].data(), 2);
        std::memcpy(cell + 3 * step, quad[3].data(), 2);
        window <<= 8;
        left -= 8;
      }
      for (; rows > 0; --rows, cell += step) {
        if (left < 2) refill();
        std::memcpy(cell, kPairs[window >> 62], 2);
        window <<= 2;
        left -= 2;
      }
    } else {
      for (; rows > 0; --rows, cell += step) {
        if (left < 1) refill();
        *cell = static_cast<std::uint8_t>(kDataFlag | (window >> 63));
        window <<= 1;
        --left;
      }
    }
  }
}

void PlaceCodewords(std::uint8_t* matrix, std::int32_t side, const std::uint8_t* codewords,
                    std::int32_t count) {
  PlacementPlan plan;
  plan.Build(matrix, side);
  plan.Place(matrix, codewords, count);
}

void MergeModules(std::uint8_t* matrix, std::int32_t side) {
  const std::int32_t stride = MatrixStride(side);
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  for (std::int32_t r = 0; r < side; ++r) {
    std::uint8_t* line = matrix + r * stride;
    std::int32_t c = 0;
    // Eight modules a step: each byte's rule uses only bits 0..2 of that
    // byte, so whole words can go through it with per-byte masks.
    for (; c + 8 <= side; c += 8) {
      std::uint64_t v;
      std::memcpy(&v, line + c, 8);
      const std::uint64_t data = (v >> 2) & kOnes;
      const std::uint64_t function = ((v >> 1) & kOnes) ^ kOnes;
      v = (data & v) | ((data ^ kOnes) & function);
      std::memcpy(line + c, &v, 8);
    }
    for (; c < side; ++c) {
      const std::uint8_t v = line[c];
      const std::uint8_t data = (v >> 2) & 1;
      const std::uint8_t function = ((v >> 1) & 1) ^ 1;
      line[c] = static_cast<std::uint8_t>((data & v) | ((data ^ 1) & function));
    }
  }
}

void WriteVersionInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t version) {
  const std::int32_t stride = MatrixStride(side);
  ForEachVersionModule(side, version, [&](std::int32_t row, std::int32_t column, bool dark) {
    matrix[row * stride + column] = dark ? 1 : 0;
  });
}

void WriteFormatInformation(std::uint8_t* matrix, std::int32_t side, std::int32_t level,
                            std::int32_t mask) {
  const std::int32_t stride = MatrixStride(side);
  ForEachFormatModule(side, level, mask, [&](std::int32_t row, std::int32_t column, bool dark) {
    matrix[row * stride + column] = dark ? 1 : 0;
  });
}

}  // namespace qrsmith::encoder
