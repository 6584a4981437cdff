#include "payload/field_format.h"

#include <array>

namespace qrsmith::payload {
namespace {

bool IsReserved(char c) { return c == '\\' || c == ';' || c == ',' || c == ':' || c == '"'; }

// `value` in decimal, zero-padded to at least `width` digits, a minus sign
// in front of a negative value.
void AppendPadded(std::string& out, std::int32_t value, std::size_t width) {
  // Widen first: the magnitude of INT32_MIN does not fit in 32 bits.
  const std::int64_t wide = value;
  std::uint64_t magnitude = wide < 0 ? static_cast<std::uint64_t>(-wide) : wide;
  std::array<char, 20> digits{};
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (wide < 0) out.push_back('-');
  for (std::size_t n = count; n < width; ++n) out.push_back('0');
  while (count > 0) out.push_back(digits[--count]);
}

}  // namespace

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char c : text) {
    if (IsReserved(c)) out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

std::string FormatDateTime(const DateTime& value, std::string_view pattern) {
  struct Picture {
    std::string_view text;
    std::int32_t DateTime::*field;
    std::size_t width;
  };
  static constexpr Picture kPictures[] = {
      {"yyyy", &DateTime::year, 4}, {"MM", &DateTime::month, 2},  {"dd", &DateTime::day, 2},
      {"hh", &DateTime::hour, 2},   {"mm", &DateTime::minute, 2}, {"ss", &DateTime::second, 2},
  };
  std::string out;
  out.reserve(pattern.size() + 4);
  std::size_t at = 0;
  while (at < pattern.size()) {
    const std::string_view rest = pattern.substr(at);
    bool matched = false;
    for (const Picture& picture : kPictures) {
      if (rest.starts_with(picture.text)) {
        AppendPadded(out, value.*picture.field, picture.width);
        at += picture.text.size();
        matched = true;
        break;
      }
    }
    if (!matched) out.push_back(pattern[at++]);
  }
  return out;
}

}  // namespace qrsmith::payload
