#include "platform/codepage.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>

namespace qrsmith::platform {

namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

// Runs one whole conversion; nullopt on any invalid or unrepresentable input.
std::optional<std::string> Convert(std::string_view from, std::string_view to,
                                   std::span<const std::uint8_t> input) {
  iconv_t cd = iconv_open(std::string(to).c_str(), std::string(from).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  // Four output bytes per input byte holds every conversion between these sets.
  out.resize(input.size() * 4 + 16);
  char* in = const_cast<char*>(reinterpret_cast<const char*>(input.data()));
  std::size_t inLeft = input.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  bool ok =
      iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  // Flush any shift state, so that stateful encodings end cleanly.
  ok = ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

std::string CodePageForLocaleCharset(std::string_view charset) {
  static constexpr std::string_view kLegacyMultibyte[] = {
      "GBK",    "GB2312", "GB18030",    "CP936", "SHIFT_JIS", "SJIS",  "CP932",
      "EUC-JP", "BIG5",   "BIG5-HKSCS", "CP950", "EUC-KR",    "CP949", "EUC-TW"};
  const std::string name = Upper(charset);
  for (std::string_view known : kLegacyMultibyte) {
    if (name == known) return name;
  }
  return "GBK";
}

namespace {

// The character set of the user's locale (LC_ALL, LC_CTYPE, LANG), read from
// a locale object of its own: setlocale would change the locale of the whole
// process, which no thread may do while others run.
std::string UserLocaleCharset() {
  std::string charset;
  if (const locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
    charset = nl_langinfo_l(CODESET, user);
    freelocale(user);
  }
  return charset;
}

}  // namespace

const std::string& SystemCodePage() {
  static const std::string codePage = CodePageForLocaleCharset(UserLocaleCharset());
  return codePage;
}

const std::string& LocaleLegacyCharset() {
  static const std::string charset = [] {
    const std::string name = Upper(UserLocaleCharset());
    return !name.empty() && CodePageForLocaleCharset(name) == name ? name : std::string();
  }();
  return charset;
}

std::string Utf8ToShownText(std::string_view utf8, std::string_view charset) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(utf8.data());
  if (IsValidUtf8(utf8)) {
    if (auto whole = Convert("UTF-8", charset, {data, utf8.size()})) return *whole;
  }
  // Character by character, marking what the set cannot hold.
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t next = i + 1;
    while (next < utf8.size() && next - i < 4 &&
           (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) {
      ++next;
    }
    const std::string_view one = utf8.substr(i, next - i);
    std::optional<std::string> converted;
    if (IsValidUtf8(one)) converted = Convert("UTF-8", charset, {data + i, one.size()});
    char mark[16];
    if (converted) {
      out += *converted;
    } else if (IsValidUtf8(one)) {
      std::uint32_t cp =
          static_cast<unsigned char>(one[0]) & (one.size() == 1 ? 0x7F : 0x7F >> one.size());
      for (std::size_t k = 1; k < one.size(); ++k) cp = (cp << 6) | (one[k] & 0x3F);
      std::snprintf(mark, sizeof mark, "<U+%04X>", static_cast<unsigned>(cp));
      out += mark;
    } else {
      for (const char c : one) {
        std::snprintf(mark, sizeof mark, "\\x%02X", static_cast<unsigned char>(c));
        out += mark;
      }
    }
    i = next;
  }
  return out;
}

bool IsShiftJis(std::string_view codePage) {
  const std::string name = Upper(codePage);
  return name == "SHIFT_JIS" || name == "SJIS" || name == "CP932" || name == "SHIFT-JIS" ||
         name == "MS_KANJI" || name == "WINDOWS-31J";
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    const std::uint32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::optional<Bytes> Utf8ToCodePage(std::string_view utf8, std::string_view codePage) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  const auto* data = reinterpret_cast<const std::uint8_t*>(utf8.data());
  auto converted = Convert("UTF-8", codePage, {data, utf8.size()});
  if (!converted) return std::nullopt;
  return Bytes(converted->begin(), converted->end());
}

std::optional<std::string> CodePageToUtf8(std::span<const std::uint8_t> bytes,
                                          std::string_view codePage) {
  return Convert(codePage, "UTF-8", bytes);
}

}  // namespace qrsmith::platform
