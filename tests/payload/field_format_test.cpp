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

TEST(ParseDateTime, TakesOnlyTheThreeFormsWithARealDateAndTime) {
  struct Case {
    std::string text;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {"2015-03-10", DateTime{2015, 3, 10, 0, 0, 0}},
      {"2015-03-10T14:30", DateTime{2015, 3, 10, 14, 30, 0}},
      {"2015-03-10T14:30:59", DateTime{2015, 3, 10, 14, 30, 59}},
      {"0001-01-01", DateTime{1, 1, 1, 0, 0, 0}},
      {"9999-12-31T23:59:59", DateTime{9999, 12, 31, 23, 59, 59}},
      {"2016-02-29", DateTime{2016, 2, 29, 0, 0, 0}},
      {"2000-02-29", DateTime{2000, 2, 29, 0, 0, 0}},
      {"1900-02-29", std::nullopt},
      {"2015-02-31", std::nullopt},
      {"2015-04-31", std::nullopt},
      {"0000-01-01", std::nullopt},
      {"2015-13-01", std::nullopt},
      {"2015-00-10", std::nullopt},
      {"2015-03-00", std::nullopt},
      {"2015-03-10T24:00", std::nullopt},
      {"2015-03-10T14:60", std::nullopt},
      {"2015-03-10T14:30:60", std::nullopt},
      {"2015-03-10T14:30junk", std::nullopt},
      {"2015-03-10T14", std::nullopt},
      {"2015-03-10 14:30", std::nullopt},
      {"-100-03-10", std::nullopt},
      {"2015- 3- 1", std::nullopt},
      {"+015-03-10", std::nullopt},
      {"20150310", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseDateTime(c.text);
    ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << c.text;
    if (parsed) {
      EXPECT_EQ(FormatDateTime(*parsed, kEventTimePattern),
                FormatDateTime(*c.expected, kEventTimePattern));
    }
  }
}

}  // namespace
}  // namespace qrsmith::payload
