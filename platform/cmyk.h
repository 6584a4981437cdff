#pragma once
// The one conversion from the program's RGB colours to the four inks of print
// (cyan, magenta, yellow, black), shared by every form written in CMYK: the
// black ink takes what the three colours share, K = 1 - max(R, G, B), and each
// colour ink the rest of its complement, C = (1 - R - K) / (1 - K) and so on.
// So black becomes pure K (0 0 0 1), white no ink at all, and a grey only K:
// a black symbol prints with the black ink alone, with no registration fringes.

#include <algorithm>
#include <array>
#include <cstdint>

namespace qrsmith::platform {

// Ink amounts 0..255 in the order C, M, Y, K.
using CmykInks = std::array<std::uint8_t, 4>;

// Red, green and blue 0..255 to inks 0..255, each rounded to nearest.
constexpr CmykInks CmykOfRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const int k = 255 - std::max({red, green, blue});
  if (k == 255) return {0, 0, 0, 255};
  const int rest = 255 - k;  // 1 - K, scaled
  const auto ink = [&](int channel) {
    return static_cast<std::uint8_t>(((255 - channel - k) * 255 + rest / 2) / rest);
  };
  return {ink(red), ink(green), ink(blue), static_cast<std::uint8_t>(k)};
}

static_assert(CmykOfRgb(0, 0, 0) == CmykInks{0, 0, 0, 255});
static_assert(CmykOfRgb(255, 255, 255) == CmykInks{0, 0, 0, 0});
static_assert(CmykOfRgb(255, 0, 0) == CmykInks{0, 255, 255, 0});

}  // namespace qrsmith::platform
