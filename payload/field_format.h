#pragma once
// The two helpers every payload builder shares: escaping of the reserved
// characters of the field-based formats (MECARD, MEBKM, WIFI, SMTP, vCard,
// iCalendar), and writing a date-time after a picture pattern.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qrsmith::payload {

// An input that the caller may leave out. Left out (nullopt) leaves the
// whole part out, label included; a supplied empty text still writes its
// label. Only presence decides: no builder tests a supplied text for being empty.
using OptionalText = std::optional<std::string>;

// A local calendar date and time of day. No time zone is attached and none
// is ever written. Fields are taken as they come; nothing checks their range.
struct DateTime {
  std::int32_t year = 0;
  std::int32_t month = 0;   // 1..12
  std::int32_t day = 0;     // 1..31
  std::int32_t hour = 0;    // 0..23
  std::int32_t minute = 0;  // 0..59
  std::int32_t second = 0;  // 0..59
};

// Protects the reserved characters of the field-based formats: a backslash
// becomes two backslashes, and a backslash is put before every semicolon,
// comma, colon and double quote. The result equals replacing the five in
// that order over the whole text (backslashes first, so the ones added for
// the other four are not doubled). Works by character: in UTF-8 every byte
// of a multibyte character is 0x80 or above, so none of them is ever taken
// for one of the five ASCII reserved characters.
std::string EscapeField(std::string_view text);

// Copies `pattern`, replacing its pictures by fields of `value`: "yyyy" by
// the year in four digits, "MM" month, "dd" day, "hh" hour on the 24-hour
// clock, "mm" minute and "ss" second, each in two digits. Every other
// character is copied unchanged. Locale-free: the same text on every system.
// A field too large for its digits is written whole; a negative one gets a
// minus sign before its digits.
std::string FormatDateTime(const DateTime& value, std::string_view pattern);

// The pictures the builders use.
inline constexpr std::string_view kEventTimePattern = "yyyyMMddThhmmss";
inline constexpr std::string_view kMecardBirthdayPattern = "yyyyMMdd";
inline constexpr std::string_view kVcardBirthdayPattern = "yyyy-MM-dd";

}  // namespace qrsmith::payload
