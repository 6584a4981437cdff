#pragma once
// The system code page: the legacy multibyte character set in which the
// "ANSI" encoding choice takes the content's bytes, and in which the content
// encryption works. GBK (code page 936) unless the process locale names another
// legacy multibyte set (Shift_JIS, Big5, EUC-KR, ...). Conversions go through
// glibc's iconv and never substitute: a character that the target cannot hold
// makes the conversion fail, so nothing typed is silently changed.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <qrsmith/platform/types.h>

namespace qrsmith::platform {

// The iconv name of the system code page, settled on the first call (the
// command-line tool makes it before any thread starts) and the same ever after.
// Reading it leaves the process locale untouched, so it is safe on any thread.
const std::string& SystemCodePage();

// The legacy multibyte character set of the user's locale ("GBK", "SHIFT_JIS"),
// in which the shell hands over arguments and the terminal shows text; "" in a
// UTF-8 locale or any other, whose text the tool reads and writes as UTF-8.
// Settled on the first call, like SystemCodePage.
const std::string& LocaleLegacyCharset();

// UTF-8 text as a person reads it in `charset`: every character converted;
// one the set cannot hold is written "<U+XXXX>" and a byte that is not UTF-8
// "\xHH", so that nothing is changed unseen.
std::string Utf8ToShownText(std::string_view utf8, std::string_view charset);

// Chooses the system code page from a locale character set name
// (nl_langinfo(CODESET)): legacy multibyte sets are kept, anything else
// (UTF-8, ASCII, single-byte sets) gives "GBK".
std::string CodePageForLocaleCharset(std::string_view charset);

// True for the Shift-JIS family, whose double-byte characters QR Kanji mode holds.
bool IsShiftJis(std::string_view codePage);

// UTF-8 text to bytes in `codePage`. nullopt when the text is not valid UTF-8
// or holds a character that the code page cannot represent.
std::optional<Bytes> Utf8ToCodePage(std::string_view utf8,
                                    std::string_view codePage = SystemCodePage());

// Bytes in `codePage` to UTF-8 text; nullopt when they are not valid there.
std::optional<std::string> CodePageToUtf8(std::span<const std::uint8_t> bytes,
                                          std::string_view codePage = SystemCodePage());

// Whether `text` is well-formed UTF-8 (no overlongs, no surrogates, <= U+10FFFF).
bool IsValidUtf8(std::string_view text);

}  // namespace qrsmith::platform
