#pragma once
// Colours and their text, each rule once: the two channel orders (a caller's
// colour 0x00BBGGRR, a pixel 0x00RRGGBB) and the swap between them, a
// colour's channels, the grey level readers see, hexadecimal digits and the
// RRGGBB[AA] text users type.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/platform/types.h>

namespace qrsmith::platform {

// Upper-case hexadecimal digits, as every text qrsmith writes spells them.
inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Appends the two hexadecimal digits of `byte`, high digit first.
inline void AppendHexByte(std::string& out, std::uint8_t byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

// The value of a hexadecimal digit in either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Exchanges the low and the third byte, dropping the top one: 0x00BBGGRR to
// 0x00RRGGBB and back.
constexpr std::uint32_t SwapRedBlue(std::uint32_t value) {
  return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

// A colour's three channels.
struct Channels {
  std::uint8_t red, green, blue;
};
constexpr Channels ChannelsOf(Colour colour) {
  return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
          static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}
constexpr Colour ColourOf(Channels channels) {
  return Colour{channels.red} | Colour{channels.green} << 8 | Colour{channels.blue} << 16;
}

// The grey level of a 0x00RRGGBB pixel as readers turn pictures grey
// (0.299 R + 0.587 G + 0.114 B, ITU-R BT.601).
constexpr std::uint8_t LumaOfPixel(std::uint32_t pixel) {
  return static_cast<std::uint8_t>(
      (299 * ((pixel >> 16) & 0xFF) + 587 * ((pixel >> 8) & 0xFF) + 114 * (pixel & 0xFF)) / 1000);
}

// A colour as users type it: "RRGGBB" or "RRGGBBAA", hexadecimal digits in
// either case, red first; alpha 00 clear, FF opaque (FF when left out).
struct ColourWithAlpha {
  Colour colour;
  std::uint8_t alpha;
};
constexpr std::optional<ColourWithAlpha> ParseColourText(std::string_view text) {
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  if (text.size() == 6) value = value << 8 | 0xFF;
  return ColourWithAlpha{SwapRedBlue(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
}

}  // namespace qrsmith::platform
