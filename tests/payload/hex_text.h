#pragma once
// Texts handed to and taken from the parser programs as lower-case
// hexadecimal, so that tabs, line breaks and any byte pass one line intact.

#include <string>
#include <string_view>

namespace qrsmith::payload {

inline std::string Hex(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (const unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

inline std::string FromHex(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return out;
}

}  // namespace qrsmith::payload
