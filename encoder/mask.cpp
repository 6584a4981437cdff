#include "encoder/mask.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "encoder/qr_tables.h"

namespace qrsmith::encoder {

void FillMaskRows(std::int32_t mask, std::int32_t side, std::uint8_t* rows) {
  const auto s = static_cast<std::size_t>(side);
  for (std::int32_t r = 0; r < std::min(side, kMaskRowPeriod); ++r) {
    const std::uint32_t tile =
        kMaskTiles[static_cast<std::size_t>(mask)][static_cast<std::size_t>(r)];
    std::uint8_t* row = rows + static_cast<std::size_t>(r) * s;
    const std::size_t period = std::min<std::size_t>(s, kMaskColumnPeriod);
    for (std::size_t j = 0; j < period; ++j) row[j] = static_cast<std::uint8_t>((tile >> j) & 1);
    // The row repeats every six columns: copy what is there, doubling it.
    for (std::size_t done = period; done < s; done *= 2) {
      std::memcpy(row + done, row, std::min(done, s - done));
    }
  }
}

void ApplyMaskPattern(std::uint8_t* grid, std::int32_t side, std::int32_t stride,
                      std::int32_t mask) {
  if (side <= 0) return;
  const auto s = static_cast<std::size_t>(side);
  // Symbols take the rows from the stack; only larger grids allocate.
  constexpr std::size_t kLargestSide = 4 * kMaxVersion + 17;
  std::array<std::uint8_t, kMaskRowPeriod * kLargestSide> onStack;
  std::vector<std::uint8_t> onHeap(s > kLargestSide ? kMaskRowPeriod * s : 0);
  std::uint8_t* patterns = s > kLargestSide ? onHeap.data() : onStack.data();
  FillMaskRows(mask, side, patterns);
  for (std::int32_t i = 0; i < side; ++i) {
    std::uint8_t* line = grid + static_cast<std::ptrdiff_t>(i) * stride;
    const std::uint8_t* pattern = &patterns[static_cast<std::size_t>(i % kMaskRowPeriod) * s];
    for (std::size_t j = 0; j < s; ++j) line[j] ^= pattern[j];
  }
}

}  // namespace qrsmith::encoder
