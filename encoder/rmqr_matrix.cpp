#include "encoder/rmqr_matrix.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "encoder/function_patterns.h"
#include "encoder/mask.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith::encoder {
namespace {

constexpr std::int32_t kFinderSide = 7;
constexpr std::int32_t kSubFinderSide = 5;
// The one rMQR mask is QR Code's mask 4: (i div 2 + j div 3) mod 2 = 0.
constexpr std::int32_t kRmqrMask = 4;

// Calls put(row, column, bit) for the 18 modules of each copy of the format
// information: bits 0..14 down three columns of five, bits 15..17 down a
// fourth column beside the finder and along a row above the sub-finder.
template <class Put>
void ForEachFormatModule(const RmqrSize& size, std::int32_t level, Put put) {
  const std::int32_t h = size.height, w = size.width;
  const std::int32_t left = RmqrFormatInformation(level, size.number, false);
  const std::int32_t right = RmqrFormatInformation(level, size.number, true);
  for (std::int32_t i = 0; i < 15; ++i) {
    put(1 + i % 5, 8 + i / 5, (left >> i) & 1);
    put(h - 6 + i % 5, w - 8 + i / 5, (right >> i) & 1);
  }
  for (std::int32_t i = 0; i < 3; ++i) {
    put(1 + i, 11, (left >> (15 + i)) & 1);
    put(h - 6, w - 5 + i, (right >> (15 + i)) & 1);
  }
}

}  // namespace

void DrawRmqrFunctionPatterns(std::uint8_t* matrix, const RmqrSize& size) {
  const std::int32_t h = size.height, w = size.width, stride = MatrixStride(w);
  auto set = [&](std::int32_t r, std::int32_t c, bool dark) {
    matrix[r * stride + c] = dark ? kDarkFunction : kLightFunction;
  };
  // Timing along the four edges and down every alignment column, dark on
  // even positions; the patterns drawn after them take their modules.
  for (std::int32_t c = 0; c < w; ++c) {
    set(0, c, c % 2 == 0);
    set(h - 1, c, c % 2 == 0);
  }
  for (std::int32_t r = 0; r < h; ++r) {
    set(r, 0, r % 2 == 0);
    set(r, w - 1, r % 2 == 0);
  }
  // Alignment patterns: a 3 x 3 dark ring about a light centre at the top
  // and at the bottom of each alignment column.
  for (const std::int32_t x : RmqrAlignmentColumns(w)) {
    for (std::int32_t r = 0; r < h; ++r) set(r, x, r % 2 == 0);
    for (const std::int32_t top : {0, h - 3}) {
      for (std::int32_t r = top; r < top + 3; ++r) {
        for (std::int32_t c = x - 1; c <= x + 1; ++c) set(r, c, r != top + 1 || c != x);
      }
    }
  }
  // Corner patterns: top right, and bottom left where the finder leaves room.
  set(0, w - 2, true);
  set(1, w - 2, false);
  set(1, w - 1, true);
  if (h > kFinderSide + 1) set(h - 1, 1, true);
  if (h > kFinderSide + 3) {
    set(h - 2, 0, true);
    set(h - 2, 1, false);
  }
  // The finder: a dark 7 x 7 ring, a light 5 x 5 ring, a dark 3 x 3 centre,
  // with its light separator to the right and, below it, where there is room.
  for (std::int32_t r = 0; r < std::min(kFinderSide + 1, h); ++r) {
    for (std::int32_t c = 0; c <= kFinderSide; ++c) {
      const std::int32_t ring = std::max(std::abs(r - 3), std::abs(c - 3));
      set(r, c, ring != 2 && ring <= 3);
    }
  }
  // The sub-finder: a dark 5 x 5 ring, a light 3 x 3 ring, a dark centre.
  for (std::int32_t r = h - kSubFinderSide; r < h; ++r) {
    for (std::int32_t c = w - kSubFinderSide; c < w; ++c) {
      set(r, c, std::max(std::abs(r - (h - 3)), std::abs(c - (w - 3))) != 1);
    }
  }
  ForEachFormatModule(size, kRmqrLevelM,
                      [&](std::int32_t r, std::int32_t c, std::int32_t) { set(r, c, false); });
}

const RmqrLayout& RmqrLayoutOf(std::int32_t number) {
  static const std::array<RmqrLayout, kRmqrSizeCount> kLayouts = [] {
    std::array<RmqrLayout, kRmqrSizeCount> layouts;
    for (std::int32_t n = 1; n <= kRmqrSizeCount; ++n) {
      const RmqrSize size = *FindRmqrSize(n);
      RmqrLayout& layout = layouts[static_cast<std::size_t>(n - 1)];
      const std::int32_t h = size.height, w = size.width, stride = MatrixStride(w);
      const auto cells = static_cast<std::size_t>(stride) * static_cast<std::size_t>(h + 3);
      layout.function.assign(cells, 0);
      DrawRmqrFunctionPatterns(layout.function.data(), size);
      bool upward = true;
      for (std::int32_t right = w - 2; right >= 0; right -= 2, upward = !upward) {
        for (std::int32_t k = 0; k < h; ++k) {
          const std::int32_t r = upward ? h - 1 - k : k;
          for (std::int32_t c = right; c >= right - 1 && c >= 0; --c) {
            if (layout.function[static_cast<std::size_t>(r * stride + c)] == kFree) {
              layout.order.push_back(static_cast<std::uint16_t>(r * stride + c));
            }
          }
        }
      }
      layout.mask.assign(cells, 0);
      for (std::int32_t r = 0; r < h; ++r) {
        for (std::int32_t c = 0; c < w; ++c) {
          layout.mask[static_cast<std::size_t>(r * stride + c)] =
              MaskCondition(kRmqrMask, r, c) ? 1 : 0;
        }
      }
    }
    return layouts;
  }();
  return kLayouts[static_cast<std::size_t>(number - 1)];
}

void FinishRmqrMatrix(std::uint8_t* matrix, const RmqrSize& size, std::int32_t level) {
  const std::int32_t stride = MatrixStride(size.width);
  const std::uint8_t* inverts = RmqrLayoutOf(size.number).mask.data();
  const std::int32_t total = size.height * stride;
  // Data modules (kDataFlag | bit) take their bit XOR the mask; function
  // modules are dark when 1.
  for (std::int32_t i = 0; i < total; ++i) {
    const std::uint8_t module = matrix[i];
    matrix[i] = static_cast<std::uint8_t>((module == kDarkFunction ? 1 : 0) |
                                          ((module >> 2) & (module ^ inverts[i]) & 1));
  }
  ForEachFormatModule(size, level, [&](std::int32_t r, std::int32_t c, std::int32_t bit) {
    matrix[r * stride + c] = static_cast<std::uint8_t>(bit);
  });
}

}  // namespace qrsmith::encoder
