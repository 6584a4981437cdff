#include "encoder/mask.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qrsmith::encoder {
namespace {

// Every condition depends on the row only through i mod 2, i mod 3 and
// (i div 2) mod 2, and on the column through j mod 2, j mod 3 and
// (j div 3) mod 2: the patterns repeat every 12 rows and every 6 columns.
constexpr std::int32_t kRowPeriod = 12;
constexpr std::int32_t kColumnPeriod = 6;

}  // namespace

bool MaskCondition(std::int32_t mask, std::int32_t i, std::int32_t j) {
  switch (mask) {
    case 0:
      return (i + j) % 2 == 0;
    case 1:
      return i % 2 == 0;
    case 2:
      return j % 3 == 0;
    case 3:
      return (i + j) % 3 == 0;
    case 4:
      return (i / 2 + j / 3) % 2 == 0;
    case 5:
      return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
      return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    case 7:
      return ((i + j) % 2 + (i * j) % 3) % 2 == 0;
    default:
      return false;
  }
}

void ApplyMaskPattern(std::uint8_t* grid, std::int32_t side, std::int32_t stride,
                      std::int32_t mask) {
  if (side <= 0) return;
  const auto s = static_cast<std::size_t>(side);
  // One pattern row per row residue, each spelled out to the full side so that
  // applying it is a plain XOR of two rows.
  const std::int32_t rows = std::min(side, kRowPeriod);
  std::vector<std::uint8_t> patterns(static_cast<std::size_t>(rows) * s);
  for (std::int32_t r = 0; r < rows; ++r) {
    std::array<std::uint8_t, kColumnPeriod> period{};
    for (std::int32_t j = 0; j < kColumnPeriod; ++j) {
      period[static_cast<std::size_t>(j)] = MaskCondition(mask, r, j) ? 1 : 0;
    }
    std::uint8_t* row = &patterns[static_cast<std::size_t>(r) * s];
    for (std::size_t j = 0, phase = 0; j < s; ++j) {
      row[j] = period[phase];
      if (++phase == kColumnPeriod) phase = 0;
    }
  }
  for (std::int32_t i = 0; i < side; ++i) {
    std::uint8_t* line = grid + static_cast<std::ptrdiff_t>(i) * stride;
    const std::uint8_t* pattern = &patterns[static_cast<std::size_t>(i % kRowPeriod) * s];
    for (std::size_t j = 0; j < s; ++j) line[j] ^= pattern[j];
  }
}

}  // namespace qrsmith::encoder
