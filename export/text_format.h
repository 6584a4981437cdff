#pragma once
// How numbers and colours are written into the text forms: integers in
// decimal without leading zeros, reals as the C format "%.13g" writes them
// (always with "." as the decimal separator, whatever the process locale), and
// colours as six upper-case hexadecimal digits, red first.

#include <cstdint>
#include <string>

#include "platform/types.h"

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

}  // namespace qrsmith::text_format
