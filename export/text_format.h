#pragma once
// How numbers and colours are written into the text forms: integers in
// decimal without leading zeros, reals as the C format "%.13g" writes them
// (always with "." as the decimal separator, whatever the process locale), and
// colours as six upper-case hexadecimal digits, red first.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include <qrsmith/platform/types.h>

namespace qrsmith::text_format {

void AppendInteger(std::string& out, std::int64_t value);
void AppendReal(std::string& out, double value);
// RRGGBB of a 0x00BBGGRR colour; bits 24 to 31 are ignored.
void AppendColourHex(std::string& out, Colour colour);
// CCMMYYKK: the colour's inks (platform/cmyk.h) as eight upper-case digits.
void AppendCmykHex(std::string& out, Colour colour);
// An alpha 0..255 as an opacity 0..1 with three decimals ("0.502"), which
// gives back the same alpha when a reader scales it by 255 and rounds.
void AppendOpacity(std::string& out, std::uint8_t alpha);

// The first `n` characters (code points) of UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t n);

// A colour that Append writes as RRGGBB.
struct Hex {
  Colour colour;
};

inline void AppendPart(std::string& out, std::string_view text) { out += text; }
inline void AppendPart(std::string& out, char ch) { out += ch; }
inline void AppendPart(std::string& out, double value) { AppendReal(out, value); }
inline void AppendPart(std::string& out, Hex hex) { AppendColourHex(out, hex.colour); }
template <std::integral Integer>
requires(!std::same_as<Integer, char> &&
         !std::same_as<Integer, bool>) void AppendPart(std::string& out, Integer value) {
  AppendInteger(out, static_cast<std::int64_t>(value));
}

// Appends each part in turn: text and characters as they are, integers and
// reals in the formats above, Hex colours as RRGGBB. A stretch of a template
// is one call, so the code reads in the order the text comes out.
template <typename... Parts>
void Append(std::string& out, const Parts&... parts) {
  (AppendPart(out, parts), ...);
}

}  // namespace qrsmith::text_format
