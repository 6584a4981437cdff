#include <cstdlib>

#include "encoder/detail/mask_penalty_rules.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>
#endif

namespace qrsmith {
namespace encoder {
namespace {

// The rules' bodies, inlined into MatrixPenalty so that each of its versions
// counts bits its own way. `pairs` has bits 0 .. length - 2 set: the columns
// that have a right-hand neighbour.
[[gnu::always_inline]] inline std::int32_t Runs(const BitRow& line, const BitRow& pairs) {
  // same: bit j set when modules j and j + 1 have one colour; five: when
  // modules j .. j + 4 have. A run of n >= 5 sets n - 4 bits of five, and
  // scores 3 + (n - 5) = (n - 4) + 2: the bits, plus 2 for each run's first.
  const BitRow same = ~(line ^ line.Next(1)) & pairs;
  const BitRow five = same & same.Next(1) & same.Next(2) & same.Next(3);
  const BitRow firsts = five & ~five.Previous(1);
  return five.Count() + 2 * firsts.Count();
}

[[gnu::always_inline]] inline std::int32_t FinderLikes(const BitRow& line) {
  // Bit x: dark-light-dark-dark-dark-light-dark starts at x. Bits beyond the
  // line are 0, so the pattern's last dark module keeps it inside.
  const BitRow pattern = line & ~line.Next(1) & line.Next(2) & line.Next(3) & line.Next(4) &
                         ~line.Next(5) & line.Next(6);
  // Four light modules before x or after x + 6; both shifts bring in light.
  const BitRow lightBefore =
      ~(line.Previous(1) | line.Previous(2) | line.Previous(3) | line.Previous(4));
  const BitRow lightAfter = ~(line.Next(7) | line.Next(8) | line.Next(9) | line.Next(10));
  return kPenaltyFinderLike * (pattern & (lightBefore | lightAfter)).Count();
}

[[gnu::always_inline]] inline std::int32_t Blocks(const BitRow& a, const BitRow& b,
                                                  const BitRow& pairs) {
  const BitRow vertical = ~(a ^ b);  // a and b agree in column j
  const BitRow horizontal = ~(a ^ a.Next(1));
  return kPenaltyBlock * (vertical & vertical.Next(1) & horizontal & pairs).Count();
}

}  // namespace

std::int32_t LineRunPenalty(const BitRow& line, std::int32_t length) {
  return Runs(line, LowBits(length - 1));
}

std::int32_t LineFinderLikePenalty(const BitRow& line) { return FinderLikes(line); }

std::int32_t RowPairBlockPenalty(const BitRow& a, const BitRow& b, std::int32_t length) {
  return Blocks(a, b, LowBits(length - 1));
}

std::int32_t BalancePenaltyOf(std::int64_t dark, std::int32_t side) {
  // k whole steps of 5 % between the dark share and 50 %.
  const std::int64_t total = std::int64_t{side} * side;
  return static_cast<std::int32_t>(std::llabs(20 * dark - 10 * total) / total) * kPenaltyBalance;
}

namespace {

[[gnu::always_inline]] inline std::int32_t PenaltyOf(const BitMatrix& rows,
                                                     const BitMatrix& columns) {
  const std::int32_t s = rows.side;
  const BitRow pairs = LowBits(s - 1);
  std::int32_t penalty = 0;
  std::int64_t dark = 0;
  for (std::int32_t i = 0; i < s; ++i) {
    const BitRow& row = rows.rows[static_cast<std::size_t>(i)];
    const BitRow& column = columns.rows[static_cast<std::size_t>(i)];
    penalty += Runs(row, pairs) + Runs(column, pairs) + FinderLikes(row) + FinderLikes(column);
    if (i + 1 < s) penalty += Blocks(row, rows.rows[static_cast<std::size_t>(i + 1)], pairs);
    dark += row.Count();
  }
  return penalty + BalancePenaltyOf(dark, s);
}

// Bit counts are most of the work. The x86-64 baseline has no population
// count instruction, so the scorer also comes in a version for processors
// that have one (the line rules above are inlined into each version). The
// processor is asked once, on the first call, and not when the program loads
// as a target_clones function would: in a virtual machine each query costs
// microseconds, and only runs that choose a mask need the answer.
#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("popcnt")]] std::int32_t PenaltyWithPopcnt(const BitMatrix& rows,
                                                         const BitMatrix& columns) {
  return PenaltyOf(rows, columns);
}

bool HasPopcnt() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_POPCNT) != 0;
}
#endif

}  // namespace

std::int32_t MatrixPenalty(const BitMatrix& rows, const BitMatrix& columns) {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool popcnt = HasPopcnt();
  if (popcnt) return PenaltyWithPopcnt(rows, columns);
#endif
  return PenaltyOf(rows, columns);
}

}  // namespace encoder

namespace {

using encoder::BitMatrix;

bool Valid(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  return modules != nullptr && side >= 1 && side <= encoder::kBitRowLength && stride >= side;
}

// Rows and columns of a byte grid; any non-zero byte is dark.
struct PackedGrid {
  PackedGrid(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
    encoder::PackGrid(modules, side, stride, rows, [](std::uint64_t eight) {
      // Bit 7 of each byte set when the byte is non-zero, moved to bit 0.
      constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
      return (((eight & kLow7) + kLow7) | eight) >> 7;
    });
    encoder::Transpose(rows, columns);
  }
  BitMatrix rows, columns;
};

template <class Rule>
std::int32_t OverLines(const std::uint8_t* modules, std::int32_t side, std::int32_t stride,
                       Rule rule) {
  if (!Valid(modules, side, stride)) return 0;
  const PackedGrid grid(modules, side, stride);
  std::int32_t penalty = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(side); ++i) {
    penalty += rule(grid.rows.rows[i]) + rule(grid.columns.rows[i]);
  }
  return penalty;
}

}  // namespace

std::int32_t RunPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  return OverLines(modules, side, stride, [side](const encoder::BitRow& line) {
    return encoder::LineRunPenalty(line, side);
  });
}

std::int32_t FinderLikePenalty(const std::uint8_t* modules, std::int32_t side,
                               std::int32_t stride) {
  return OverLines(modules, side, stride, encoder::LineFinderLikePenalty);
}

std::int32_t BlockPenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  if (!Valid(modules, side, stride)) return 0;
  const PackedGrid grid(modules, side, stride);
  std::int32_t penalty = 0;
  for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(side); ++i) {
    penalty += encoder::RowPairBlockPenalty(grid.rows.rows[i], grid.rows.rows[i + 1], side);
  }
  return penalty;
}

std::int32_t BalancePenalty(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  if (!Valid(modules, side, stride)) return 0;
  const PackedGrid grid(modules, side, stride);
  std::int64_t dark = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(side); ++i)
    dark += grid.rows.rows[i].Count();
  return encoder::BalancePenaltyOf(dark, side);
}

std::int32_t MaskPenaltyScore(const std::uint8_t* modules, std::int32_t side, std::int32_t stride) {
  if (!Valid(modules, side, stride)) return 0;
  const PackedGrid grid(modules, side, stride);
  return encoder::MatrixPenalty(grid.rows, grid.columns);
}

}  // namespace qrsmith
