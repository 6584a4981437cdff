#include "payload/field_format.h"

#include <array>

#include "platform/colour.h"

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

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The decimal number of the digits text[at, at + width).
int Digits(std::string_view text, std::size_t at, std::size_t width) {
  int value = 0;
  for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n' || c == '\r') {
      out += "\\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;  // CR LF is one break
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string PercentEncode(std::string_view text, UriPart part) {
  static constexpr std::string_view kMailtoKept = "!$'()*;:@";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c) ||
        (part == UriPart::kMailtoAddress && kMailtoKept.find(ch) != std::string_view::npos)) {
      out.push_back(ch);
    } else if (c == ' ' && part == UriPart::kQueryValue) {
      out.push_back('+');
    } else {
      out.push_back('%');
      platform::AppendHexByte(out, c);
    }
  }
  return out;
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
  // "0" stands for a digit; the separators must be where the shape has them.
  static constexpr std::string_view kShape = "0000-00-00T00:00:00";
  if (text.size() != 10 && text.size() != 16 && text.size() != 19) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) return std::nullopt;
  }
  DateTime value;
  value.year = Digits(text, 0, 4);
  value.month = Digits(text, 5, 2);
  value.day = Digits(text, 8, 2);
  if (text.size() >= 16) {
    value.hour = Digits(text, 11, 2);
    value.minute = Digits(text, 14, 2);
  }
  if (text.size() == 19) value.second = Digits(text, 17, 2);
  if (value.year < 1 || value.month < 1 || value.month > 12 || value.day < 1 ||
      value.day > DaysInMonth(value.year, value.month) || value.hour > 23 || value.minute > 59 ||
      value.second > 59) {
    return std::nullopt;
  }
  return value;
}

int CompareDateTime(const DateTime& a, const DateTime& b) {
  for (const auto field : {&DateTime::year, &DateTime::month, &DateTime::day, &DateTime::hour,
                           &DateTime::minute, &DateTime::second}) {
    if (a.*field != b.*field) return a.*field < b.*field ? -1 : 1;
  }
  return 0;
}

DateTime NextDay(DateTime value) {
  if (value.day < DaysInMonth(value.year, value.month)) {
    ++value.day;
  } else if (value.month < 12) {
    ++value.month;
    value.day = 1;
  } else {
    ++value.year;
    value.month = value.day = 1;
  }
  return value;
}

void CrlfLines::Line(std::string_view text) {
  out_ += text;
  out_ += "\r\n";
}

void CrlfLines::Field(std::string_view label, const std::optional<std::string>& value) {
  if (value) Line(Joined({label, EscapeText(*value)}));
}

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string out;
  out.reserve(size);
  for (const std::string_view part : parts) out += part;
  return out;
}

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (const char c : text) {
    if (IsReserved(c)) out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

void AppendEscapedField(std::string& out, std::string_view label, const OptionalText& value) {
  if (!value) return;
  out += label;
  out += EscapeField(*value);
  out += ';';
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
