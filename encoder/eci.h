#pragma once
// Character sets a symbol's bytes may be in, with their ECI assignments
// (AIM ITS/04-001, Extended Channel Interpretations: assignments 3-30), so
// that a reader that honours ECI shows the text right.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qrsmith::encoder {

// The ECI assignment of UTF-8.
inline constexpr std::int32_t kUtf8Eci = 26;

struct NamedCharacterSet {
  std::string_view name;      // as the user names it: "iso-8859-1", "shift_jis", ...
  std::string_view codePage;  // its iconv name
  std::int32_t eci;           // its ECI assignment
};

// Every named set, in assignment order.
std::span<const NamedCharacterSet> NamedCharacterSets();

// The set of that name, case and '-'/'_' aside ("latin1" and "sjis" too);
// null when there is none.
const NamedCharacterSet* FindCharacterSet(std::string_view name);

// The assignment of an iconv code-page name ("GBK", "SHIFT_JIS", "CP932", ...).
std::optional<std::int32_t> EciOfCodePage(std::string_view codePage);

// Whether every byte is 7-bit ASCII: such content reads the same in every set
// a reader assumes, so it needs no ECI.
bool IsAscii(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::encoder
