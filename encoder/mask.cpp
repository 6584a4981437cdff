#include "encoder/mask.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qrsmith::encoder {
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

void FillMaskRows(std::int32_t mask, std::int32_t side, std::uint8_t* rows) {
  const auto s = static_cast<std::size_t>(side);
  for (std::int32_t r = 0; r < std::min(side, kMaskRowPeriod); ++r) {
    std::array<std::uint8_t, kMaskColumnPeriod> period{};
    for (std::int32_t j = 0; j < kMaskColumnPeriod; ++j) {
      period[static_cast<std::size_t>(j)] = MaskCondition(mask, r, j) ? 1 : 0;
    }
    std::uint8_t* row = rows + static_cast<std::size_t>(r) * s;
    for (std::size_t j = 0, phase = 0; j < s; ++j) {
      row[j] = period[phase];
      if (++phase == kMaskColumnPeriod) phase = 0;
    }
  }
}

void ApplyMaskPattern(std::uint8_t* grid, std::int32_t side, std::int32_t stride,
                      std::int32_t mask) {
  if (side <= 0) return;
  const auto s = static_cast<std::size_t>(side);
  std::vector<std::uint8_t> patterns(kMaskRowPeriod * s);
  FillMaskRows(mask, side, patterns.data());
  for (std::int32_t i = 0; i < side; ++i) {
    std::uint8_t* line = grid + static_cast<std::ptrdiff_t>(i) * stride;
    const std::uint8_t* pattern = &patterns[static_cast<std::size_t>(i % kMaskRowPeriod) * s];
    for (std::size_t j = 0; j < s; ++j) line[j] ^= pattern[j];
  }
}

}  // namespace qrsmith::encoder
