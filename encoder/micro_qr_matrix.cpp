#include "encoder/micro_qr_matrix.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "encoder/function_patterns.h"
#include "encoder/mask.h"
#include "encoder/symbol_matrix.h"

namespace qrsmith::encoder {
namespace {

constexpr std::int32_t kFinderSide = 7;

// The QR Code mask that each Micro QR mask reference names.
constexpr std::array<std::int32_t, kMicroMaskCount> kQrMaskOf = {1, 4, 6, 7};

// A finished module of a placed matrix: data modules take their bit, inverted
// where the mask inverts; function modules are dark when 1.
std::uint8_t FinalModule(std::uint8_t module, bool inverted) {
  if ((module & kDataFlag) == 0) return module == kDarkFunction ? 1 : 0;
  return static_cast<std::uint8_t>((module & 1) ^ (inverted ? 1 : 0));
}

// Calls visit(module) for every free module of a width x height matrix in
// placement order: two-column strips from the right edge, upwards first and
// then alternately, the right module of each row first.
template <class Visit>
void ForEachFreeModuleInStrips(std::uint8_t* matrix, std::int32_t width, std::int32_t height,
                               Visit visit) {
  const std::int32_t stride = MatrixStride(width);
  bool upward = true;
  for (std::int32_t right = width - 1; right >= 0; right -= 2, upward = !upward) {
    for (std::int32_t n = 0; n < height; ++n) {
      const std::int32_t r = upward ? height - 1 - n : n;
      for (std::int32_t c = right; c >= right - 1 && c >= 0; --c) {
        if (matrix[r * stride + c] == kFree) visit(matrix[r * stride + c]);
      }
    }
  }
}

}  // namespace

void DrawMicroQrFunctionPatterns(std::uint8_t* matrix, std::int32_t version) {
  const std::int32_t s = MicroQrSide(version), stride = MatrixStride(s);
  auto set = [&](std::int32_t r, std::int32_t c, bool dark) {
    matrix[r * stride + c] = dark ? kDarkFunction : kLightFunction;
  };
  // The finder: a dark 7 x 7 ring, a light 5 x 5 ring, a dark 3 x 3 centre;
  // then its light separator below and to the right.
  for (std::int32_t r = 0; r < kFinderSide; ++r) {
    for (std::int32_t c = 0; c < kFinderSide; ++c) {
      const std::int32_t ring = std::max(std::abs(r - 3), std::abs(c - 3));
      set(r, c, ring != 2);
    }
  }
  for (std::int32_t k = 0; k <= kFinderSide; ++k) {
    set(kFinderSide, k, false);
    set(k, kFinderSide, false);
  }
  // Timing patterns along the top row and the left column, dark on even positions.
  for (std::int32_t k = kFinderSide + 1; k < s; ++k) {
    set(0, k, k % 2 == 0);
    set(k, 0, k % 2 == 0);
  }
  // The format area: row 8 columns 1..8 and column 8 rows 1..7.
  for (std::int32_t k = 1; k <= 8; ++k) {
    set(8, k, false);
    if (k < 8) set(k, 8, false);
  }
}

void PlaceBitsInStrips(std::uint8_t* matrix, std::int32_t width, std::int32_t height,
                       const std::uint8_t* bits, std::int32_t count) {
  std::int32_t next = 0;
  ForEachFreeModuleInStrips(matrix, width, height, [&](std::uint8_t& module) {
    const std::uint8_t bit = next < count ? (bits[next / 8] >> (7 - next % 8)) & 1 : 0;
    module = static_cast<std::uint8_t>(kDataFlag | bit);
    ++next;
  });
}

const MicroQrLayout& MicroQrLayoutOf(std::int32_t version) {
  static const std::array<MicroQrLayout, kMicroVersionCount> kLayouts = [] {
    std::array<MicroQrLayout, kMicroVersionCount> layouts;
    for (std::int32_t v = 1; v <= kMicroVersionCount; ++v) {
      MicroQrLayout& layout = layouts[static_cast<std::size_t>(v - 1)];
      const std::int32_t s = MicroQrSide(v), stride = MatrixStride(s);
      layout.function.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(stride),
                             0);
      DrawMicroQrFunctionPatterns(layout.function.data(), v);
      ForEachFreeModuleInStrips(layout.function.data(), s, s, [&](std::uint8_t& module) {
        layout.order.push_back(static_cast<std::uint16_t>(&module - layout.function.data()));
      });
      for (std::int32_t m = 0; m < kMicroMaskCount; ++m) {
        std::vector<std::uint8_t>& grid = layout.masks[static_cast<std::size_t>(m)];
        grid.assign(layout.function.size(), 0);
        for (std::int32_t r = 0; r < s; ++r) {
          for (std::int32_t c = 0; c < s; ++c) {
            grid[static_cast<std::size_t>(r * stride + c)] = MicroQrMaskCondition(m, r, c) ? 1 : 0;
          }
        }
      }
    }
    return layouts;
  }();
  return kLayouts[static_cast<std::size_t>(version - 1)];
}

bool MicroQrMaskCondition(std::int32_t mask, std::int32_t i, std::int32_t j) {
  return MaskCondition(kQrMaskOf[static_cast<std::size_t>(mask)], i, j);
}

std::array<std::int32_t, kMicroMaskCount> EvaluateMicroQrMasks(const std::uint8_t* placed,
                                                               std::int32_t version) {
  const std::int32_t s = MicroQrSide(version), stride = MatrixStride(s);
  std::array<std::int32_t, kMicroMaskCount> scores{};
  for (std::int32_t mask = 0; mask < kMicroMaskCount; ++mask) {
    std::int32_t right = 0, bottom = 0;
    const std::uint8_t* inverts =
        MicroQrLayoutOf(version).masks[static_cast<std::size_t>(mask)].data();
    for (std::int32_t k = 1; k < s; ++k) {
      const std::int32_t edgeRight = k * stride + s - 1, edgeBottom = (s - 1) * stride + k;
      right += FinalModule(placed[edgeRight], inverts[edgeRight] != 0);
      bottom += FinalModule(placed[edgeBottom], inverts[edgeBottom] != 0);
    }
    scores[static_cast<std::size_t>(mask)] =
        right <= bottom ? right * 16 + bottom : bottom * 16 + right;
  }
  return scores;
}

void FinishMicroQrMatrix(std::uint8_t* matrix, std::int32_t version, std::int32_t symbolNumber,
                         std::int32_t mask) {
  const std::int32_t s = MicroQrSide(version), stride = MatrixStride(s);
  // Eight modules at a time. Modules are 0 or 2 (light function), 1 (dark
  // function) or kDataFlag | bit (4, 5): with b0 and b2 their bits 0 and 2,
  // a module ends dark when b0 and not b2, or b2 and b0 XOR the mask.
  const std::uint8_t* inverts =
      MicroQrLayoutOf(version).masks[static_cast<std::size_t>(mask)].data();
  constexpr std::uint64_t kLow = 0x0101010101010101;
  const std::int32_t total = s * stride;
  std::int32_t i = 0;
  for (; i + 8 <= total; i += 8) {
    std::uint64_t modules, invert;
    std::memcpy(&modules, matrix + i, 8);
    std::memcpy(&invert, inverts + i, 8);
    const std::uint64_t b0 = modules & kLow, b2 = (modules >> 2) & kLow;
    const std::uint64_t dark = ((b0 & ~b2) | (b2 & (b0 ^ invert))) & kLow;
    std::memcpy(matrix + i, &dark, 8);
  }
  for (; i < total; ++i) {
    const std::uint8_t module = matrix[i];
    matrix[i] = static_cast<std::uint8_t>((module == kDarkFunction ? 1 : 0) |
                                          ((module >> 2) & (module ^ inverts[i]) & 1));
  }
  // Bit 14 first along row 8 (columns 1..8), then up column 8 (rows 7..1).
  const std::int32_t bits = MicroQrFormatInformation(symbolNumber, mask);
  for (std::int32_t k = 1; k <= 8; ++k) {
    matrix[8 * stride + k] = static_cast<std::uint8_t>((bits >> (15 - k)) & 1);
    if (k < 8) matrix[k * stride + 8] = static_cast<std::uint8_t>((bits >> (k - 1)) & 1);
  }
}

}  // namespace qrsmith::encoder
