#include "encoder/eci.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace qrsmith::encoder {
namespace {

// AIM ECI assignments of the single- and double-byte sets glibc's iconv knows.
// GBK takes 29, the assignment of the GB 2312 family, which readers decode as
// GB 18030, a superset of GBK.
constexpr std::array<NamedCharacterSet, 25> kSets = {{
    {"iso-8859-1", "ISO-8859-1", 3},
    {"iso-8859-2", "ISO-8859-2", 4},
    {"iso-8859-3", "ISO-8859-3", 5},
    {"iso-8859-4", "ISO-8859-4", 6},
    {"iso-8859-5", "ISO-8859-5", 7},
    {"iso-8859-6", "ISO-8859-6", 8},
    {"iso-8859-7", "ISO-8859-7", 9},
    {"iso-8859-8", "ISO-8859-8", 10},
    {"iso-8859-9", "ISO-8859-9", 11},
    {"iso-8859-10", "ISO-8859-10", 12},
    {"iso-8859-11", "ISO-8859-11", 13},
    {"iso-8859-13", "ISO-8859-13", 15},
    {"iso-8859-14", "ISO-8859-14", 16},
    {"iso-8859-15", "ISO-8859-15", 17},
    {"iso-8859-16", "ISO-8859-16", 18},
    {"shift-jis", "SHIFT_JIS", 20},
    {"windows-1250", "CP1250", 21},
    {"windows-1251", "CP1251", 22},
    {"windows-1252", "CP1252", 23},
    {"windows-1256", "CP1256", 24},
    {"utf-8", "UTF-8", kUtf8Eci},
    {"us-ascii", "ASCII", 27},
    {"big5", "BIG5", 28},
    {"gbk", "GBK", 29},
    {"euc-kr", "EUC-KR", 30},
}};

std::string Normalised(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (out == "latin1") return "iso-8859-1";
  if (out == "sjis") return "shift-jis";
  if (out == "utf8") return "utf-8";
  if (out == "cp932") return "shift-jis";
  if (out == "cp936") return "gbk";
  return out;
}

}  // namespace

std::span<const NamedCharacterSet> NamedCharacterSets() { return kSets; }

const NamedCharacterSet* FindCharacterSet(std::string_view name) {
  const std::string wanted = Normalised(name);
  const auto found = std::find_if(kSets.begin(), kSets.end(),
                                  [&](const NamedCharacterSet& s) { return s.name == wanted; });
  return found == kSets.end() ? nullptr : &*found;
}

std::optional<std::int32_t> EciOfCodePage(std::string_view codePage) {
  const std::string wanted = Normalised(codePage);
  for (const NamedCharacterSet& s : kSets) {
    if (Normalised(s.codePage) == wanted || s.name == wanted) return s.eci;
  }
  return std::nullopt;
}

bool IsAscii(std::span<const std::uint8_t> bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b < 0x80; });
}

}  // namespace qrsmith::encoder
