#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace qrsmith::platform {
namespace {

TEST(CodePageChoice, KeepsLegacyMultibyteSetsAndFallsBackToGbk) {
  struct Case {
    const char* charset;
    const char* expected;
  };
  for (const Case c :
       {Case{"UTF-8", "GBK"}, Case{"ANSI_X3.4-1968", "GBK"}, Case{"", "GBK"},
        Case{"ISO-8859-1", "GBK"}, Case{"GB18030", "GB18030"}, Case{"shift_jis", "SHIFT_JIS"},
        Case{"BIG5", "BIG5"}, Case{"EUC-KR", "EUC-KR"}}) {
    EXPECT_EQ(CodePageForLocaleCharset(c.charset), c.expected) << c.charset;
  }
  EXPECT_TRUE(IsShiftJis("Shift_JIS"));
  EXPECT_TRUE(IsShiftJis("CP932"));
  EXPECT_FALSE(IsShiftJis("GBK"));
}

TEST(CodePageConversion, CjkIdeographTakesTwoGbkBytes) {
  // 中 is D6 D0 in GBK and E4 B8 AD in UTF-8.
  EXPECT_EQ(Utf8ToCodePage("\xE4\xB8\xAD", "GBK"), (Bytes{0xD6, 0xD0}));
  EXPECT_EQ(Utf8ToCodePage("A1 ", "GBK"), (Bytes{'A', '1', ' '}));
  const Bytes gbk{0xD6, 0xD0, 'x'};
  EXPECT_EQ(CodePageToUtf8(gbk, "GBK"), std::string("\xE4\xB8\xADx"));
}

TEST(CodePageConversion, RefusesWhatTheCodePageCannotHold) {
  // Hangul and an emoji have no GBK form: the conversion fails instead of writing "?".
  EXPECT_FALSE(Utf8ToCodePage("\xED\x95\x9C", "GBK").has_value());
  EXPECT_FALSE(Utf8ToCodePage("ok \xF0\x9F\x98\x80", "GBK").has_value());
  EXPECT_FALSE(Utf8ToCodePage("\xE4\xB8\xAD", "SHIFT_JIS") == std::nullopt);    // 中 is in JIS too
  EXPECT_EQ(Utf8ToCodePage("\xE3\x81\x82", "SHIFT_JIS"), (Bytes{0x82, 0xA0}));  // あ
}

TEST(CodePageConversion, RefusesMalformedInput) {
  EXPECT_FALSE(Utf8ToCodePage("\xC3", "GBK").has_value());
  const Bytes halfCharacter{0xD6};
  EXPECT_FALSE(CodePageToUtf8(halfCharacter, "GBK").has_value());
  EXPECT_FALSE(Utf8ToCodePage("x", "NO-SUCH-CODE-PAGE").has_value());
}

TEST(CodePageConversion, ShownTextMarksWhatTheSetCannotShow) {
  // A message for a GBK terminal: 中 converts, Hangul, an emoji and a stray
  // byte are marked where they stand, never dropped or turned into "?".
  EXPECT_EQ(Utf8ToShownText("'\xE4\xB8\xAD'", "GBK"), "'\xD6\xD0'");
  EXPECT_EQ(Utf8ToShownText("a\xED\x95\x9C\xF0\x9F\x98\x80\xC3z\xE4\xB8\xAD", "GBK"),
            "a<U+D55C><U+1F600>\\xC3z\xD6\xD0");
}

TEST(Utf8Validation, AcceptsWellFormedAndRefusesTheRest) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain", true},
      {"\xE4\xB8\xAD\xE6\x96\x87", true},
      {"\xF0\x9F\x98\x80", true},
      {std::string("a\0b", 3), true},
      {"\xC0\xAF", false},          // overlong "/"
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xE4\xB8", false},          // cut short
      {"\x80", false},              // stray continuation
      {"\xE4\x41\xAD", false},      // bad continuation
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
}

}  // namespace
}  // namespace qrsmith::platform
