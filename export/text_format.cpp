#include "export/text_format.h"

#include <array>
#include <charconv>

#include "platform/cmyk.h"

namespace qrsmith::text_format {

void AppendInteger(std::string& out, std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  out.append(buffer.data(), end);
}

void AppendReal(std::string& out, double value) {
  // to_chars in the general format with a precision is specified to give what
  // printf's "%.13g" gives in the "C" locale; unlike snprintf it never picks up
  // a decimal comma from the locale a window toolkit may have set.
  std::array<char, 40> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::general, 13)
                       .ptr;
  out.append(buffer.data(), end);
}

void AppendOpacity(std::string& out, std::uint8_t alpha) {
  AppendReal(out, static_cast<double>((alpha * 1000 + 127) / 255) / 1000);
}

namespace {

void AppendHexByte(std::string& out, unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[(value >> 4) & 0xFu]);
  out.push_back(kDigits[value & 0xFu]);
}

}  // namespace

void AppendColourHex(std::string& out, Colour colour) {
  for (const int shift : {0, 8, 16}) AppendHexByte(out, (colour >> shift) & 0xFFu);  // R, G, B
}

void AppendCmykHex(std::string& out, Colour colour) {
  const auto inks = platform::CmykOfRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  for (std::uint8_t ink : inks) AppendHexByte(out, ink);
}

std::string FirstCharacters(const std::string& text, std::size_t n) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size() && count < n; ++count) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return text.substr(0, at);
}

}  // namespace qrsmith::text_format
