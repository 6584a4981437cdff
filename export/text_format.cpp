#include "export/text_format.h"

#include <array>
#include <charconv>

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
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const int shift : {0, 8, 16}) {  // red, green, blue
    const unsigned component = (colour >> shift) & 0xFFu;
    out.push_back(kDigits[component >> 4]);
    out.push_back(kDigits[component & 0xFu]);
  }
}

}  // namespace qrsmith::text_format
