#include "payload/field_format.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace qrsmith::payload {
namespace {

TEST(EscapeField, ProtectsTheFiveReservedCharactersBackslashFirst) {
  struct Case {
    std::string in;
    std::string expected;
  };
  const Case cases[] = {
      {"", ""},
      {"plain text 123", "plain text 123"},
      {R"(a;b,c:d"e\f)", R"(a\;b\,c\:d\"e\\f)"},
      {R"(\)", R"(\\)"},
      // The backslashes added for ; , : " are not doubled again, and a
      // backslash already there before a reserved character is.
      {R"(\;)", R"(\\\;)"},
      {R"(;;::,,"")", R"(\;\;\:\:\,\,\"\")"},
      {R"(\\)", R"(\\\\)"},
      // Other ASCII punctuation stays.
      {"a=b&c#d'e/f|g", "a=b&c#d'e/f|g"},
      // Multibyte characters pass whole; their neighbours are escaped.
      {"\xE4\xB8\xAD;\xE6\x96\x87", "\xE4\xB8\xAD\\;\xE6\x96\x87"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeField(c.in), c.expected) << c.in;
}

TEST(EscapeField, NeverEscapesInsideADoubleByteCodePageCharacter) {
  // 乗 (U+4E57) is 81 5C in GBK: its trail byte is the value of a backslash.
  // Escaping works on the characters, so the content's GBK bytes keep that
  // trail byte single and only the real semicolon after it gets a backslash.
  const std::string escaped = EscapeField("\xE4\xB9\x97;");
  EXPECT_EQ(escaped, "\xE4\xB9\x97\\;");
  EXPECT_EQ(platform::Utf8ToCodePage(escaped, "GBK"), (Bytes{0x81, 0x5C, 0x5C, 0x3B}));
}

TEST(FormatDateTime, ReplacesEachPictureByItsZeroPaddedField) {
  const DateTime march10{2015, 3, 10, 14, 30, 5};
  const DateTime early{987, 1, 2, 3, 4, 5};
  struct Case {
    DateTime value;
    std::string_view pattern;
    std::string expected;
  };
  const Case cases[] = {
      {march10, kEventTimePattern, "20150310T143005"},
      {march10, kMecardBirthdayPattern, "20150310"},
      {march10, kVcardBirthdayPattern, "2015-03-10"},
      // Afternoon hours on the 24-hour clock; "mm" is minutes, "MM" months.
      {{2014, 12, 31, 14, 5, 9}, kEventTimePattern, "20141231T140509"},
      {{2000, 1, 1, 0, 0, 0}, kEventTimePattern, "20000101T000000"},
      {early, kEventTimePattern, "09870102T030405"},
      {early, "dd/MM/yyyy hh:mm:ss", "02/01/0987 03:04:05"},
      // Anything that is not a whole picture is copied as it stands.
      {march10, "y M d h m s T", "y M d h m s T"},
      {march10, "", ""},
      // Out-of-range fields are written whole, never cut to their width.
      {{12345, 123, 0, 24, 60, -1}, "yyyy MM dd hh mm ss", "12345 123 00 24 60 -01"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.value, c.pattern), c.expected);
}

}  // namespace
}  // namespace qrsmith::payload
