#include "export/text_format.h"

#include <array>
#include <charconv>

#include "platform/cmyk.h"
#include "platform/colour.h"

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

void AppendColourHex(std::string& out, Colour colour) {
  const auto [red, green, blue] = platform::ChannelsOf(colour);
  for (const std::uint8_t channel : {red, green, blue}) platform::AppendHexByte(out, channel);
}

void AppendCmykHex(std::string& out, Colour colour) {
  const auto [red, green, blue] = platform::ChannelsOf(colour);
  for (std::uint8_t ink : platform::CmykOfRgb(red, green, blue)) platform::AppendHexByte(out, ink);
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
