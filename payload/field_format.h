#pragma once
// The helpers the payload builders share: escaping of the reserved
// characters of the field-based formats (MECARD, MEBKM, WIFI), of vCard and
// iCalendar text values, and of values put into web addresses; writing a
// date-time after a picture pattern, and reading one as people type it.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace qrsmith::payload {

// An input that the caller may leave out. Left out (nullopt) leaves the
// whole part out, label included; a supplied empty text still writes its
// label. Only presence decides: no builder tests a supplied text for being empty.
using OptionalText = std::optional<std::string>;

// A calendar date and time of day. Which clock it is read on is the
// caller's to say (an event writes it local, in UTC or in a named zone).
// Fields are taken as they come; nothing checks their range.
struct DateTime {
  std::int32_t year = 0;
  std::int32_t month = 0;   // 1..12
  std::int32_t day = 0;     // 1..31
  std::int32_t hour = 0;    // 0..23
  std::int32_t minute = 0;  // 0..59
  std::int32_t second = 0;  // 0..59
};

// Orders two date-times field by field: negative when a is earlier, 0 when
// they are equal, positive when a is later.
int CompareDateTime(const DateTime& a, const DateTime& b);

// The date after `value`'s (the time of day is kept), for a real date.
DateTime NextDay(DateTime value);

// Lines of vCard and iCalendar, each ended by CR LF, the last one too: both
// formats require it, and strict readers refuse a content without it.
class CrlfLines {
 public:
  void Line(std::string_view text);
  // label + the escaped text value (EscapeText), only when it is supplied.
  void Field(std::string_view label, const std::optional<std::string>& value);
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// The parts one after another: a content is its labels and the caller's
// texts in the order the format writes them.
std::string Joined(std::initializer_list<std::string_view> parts);

// Protects the reserved characters of the field-based formats: a backslash
// becomes two backslashes, and a backslash is put before every semicolon,
// comma, colon and double quote. The result equals replacing the five in
// that order over the whole text (backslashes first, so the ones added for
// the other four are not doubled). Works by character: in UTF-8 every byte
// of a multibyte character is 0x80 or above, so none of them is ever taken
// for one of the five ASCII reserved characters.
std::string EscapeField(std::string_view text);
// Appends label, the escaped value and ';' when there is a value: one field
// of the MECARD and WIFI payloads.
void AppendEscapedField(std::string& out, std::string_view label, const OptionalText& value);

// Text values of vCard 3.0 (RFC 2426) and iCalendar (RFC 5545): a backslash
// becomes "\\", a semicolon "\;", a comma "\," and a line break (LF, CR LF
// or a lone CR) the two characters "\n", so that a value never ends its line.
// Colons and double quotes are not escaped there: readers would show the
// backslash.
std::string EscapeText(std::string_view text);

// Where a value goes in a web address, which decides what stays as it is.
enum class UriPart {
  kPathSegment,    // unreserved characters only
  kQueryValue,     // unreserved characters, and a space written as "+"
  kMailtoAddress,  // unreserved characters and "!$'()*;:@" (RFC 6068)
};

// Percent-encodes `text` (RFC 3986) for its place in a web address: every
// other byte becomes "%" and two upper-case hexadecimal digits, so a UTF-8
// character becomes the percent-encoding of its bytes. "+" is always
// encoded, since a query's reader takes it for a space.
std::string PercentEncode(std::string_view text, UriPart part);

// Copies `pattern`, replacing its pictures by fields of `value`: "yyyy" by
// the year in four digits, "MM" month, "dd" day, "hh" hour on the 24-hour
// clock, "mm" minute and "ss" second, each in two digits. Every other
// character is copied unchanged. Locale-free: the same text on every system.
// A field too large for its digits is written whole; a negative one gets a
// minus sign before its digits.
std::string FormatDateTime(const DateTime& value, std::string_view pattern);

// Reads a local date or date-time written exactly as "YYYY-MM-DD",
// "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS": a real calendar date of the
// years 0001 to 9999 and a time from 00:00:00 to 23:59:59. Anything else,
// trailing characters included, gives nullopt.
std::optional<DateTime> ParseDateTime(std::string_view text);

// The pictures the builders use.
inline constexpr std::string_view kEventTimePattern = "yyyyMMddThhmmss";
inline constexpr std::string_view kMecardBirthdayPattern = "yyyyMMdd";
inline constexpr std::string_view kVcardBirthdayPattern = "yyyy-MM-dd";

}  // namespace qrsmith::payload
