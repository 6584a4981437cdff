#include "export/vector_export.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "export/emf.h"
#include "export/module_grid.h"
#include "export/postscript.h"
#include "export/svg.h"
#include "export/text_format.h"
#include "export/wmf.h"
#include "generator/qr_generator.h"
#include "platform/clock.h"
#include "platform/file.h"
#include "platform/random.h"

namespace qrsmith {

namespace {

constexpr std::size_t kExportIdLength = 20;
constexpr std::string_view kIdAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool KindInRange(VectorKind kind) {
  const auto value = static_cast<std::int16_t>(kind);
  return value >= static_cast<std::int16_t>(VectorKind::kPostScript) &&
         value <= static_cast<std::int16_t>(VectorKind::kEmf);
}

void AppendTwoDigits(std::string& out, int value) {
  value = ((value % 100) + 100) % 100;
  out.push_back(static_cast<char>('0' + value / 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The metafile description: the program's name, LF, and an identifier. All
// ASCII, so each character is its own UTF-16 unit.
std::u16string EmfDescription() {
  const std::string text = "KORVANE\n" + MakeExportId("QR", "EMFC");
  return std::u16string(text.begin(), text.end());
}

}  // namespace

std::optional<std::int64_t> SourceDateEpoch() {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == '\0') return std::nullopt;
  std::int64_t value = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, value);
  if (error != std::errc() || stop != end || value < 0) return std::nullopt;
  return value;
}

std::string ColourHex(Colour colour) {
  std::string out;
  text_format::AppendColourHex(out, colour);
  return out;
}

std::string MakeExportId(std::string_view prefix, std::string_view tag) {
  std::string id;
  id.reserve(std::max(kExportIdLength, prefix.size() + tag.size() + 12));
  id += prefix;
  id += tag;
  const std::optional<std::int64_t> epoch = SourceDateEpoch();
  platform::LocalDateTime now;
  if (epoch) {
    // A fixed time is read as UTC, so that every machine writes the same.
    const auto seconds = static_cast<std::time_t>(*epoch);
    std::tm utc{};
    if (gmtime_r(&seconds, &utc) != nullptr) {
      now = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
    }
  } else {
    now = platform::Now();
  }
  for (const int field : {now.year, now.month, now.day, now.hour, now.minute, now.second}) {
    AppendTwoDigits(id, field);  // the year keeps its last two digits
  }
  // Under a fixed time the characters are drawn from a generator seeded by
  // the text so far (FNV-1a), so the same file comes out on every run.
  std::uint64_t state = 0xCBF29CE484222325u;
  for (const char ch : id) state = (state ^ static_cast<unsigned char>(ch)) * 0x100000001B3u;
  const auto alphabet = static_cast<std::uint32_t>(kIdAlphabet.size());
  while (id.size() < kExportIdLength) {
    if (epoch) {
      state = state * 6364136223846793005u + 1442695040888963407u;
      id.push_back(kIdAlphabet[(state >> 33) % alphabet]);
    } else {
      id.push_back(kIdAlphabet[platform::RandomBelow(alphabet)]);
    }
  }
  return id;
}

namespace {

// Whether `kind` holds `opacity`: SVG any alpha (fill-opacity), PostScript
// and EPS only clear or opaque colours (a colour-key mask), the metafiles
// opaque colours only.
bool VectorHolds(VectorKind kind, const Opacity& opacity) {
  switch (kind) {
    case VectorKind::kSvg:
      return true;
    case VectorKind::kPostScript:
    case VectorKind::kEps:
      return opacity.OnlyClearOrOpaque();
    default:
      return opacity.IsOpaque();
  }
}

}  // namespace

Bytes ExportVector(const QrGenerator& generator, VectorKind kind, std::optional<std::int32_t> width,
                   std::optional<std::int32_t> height, const PrintSettings& print,
                   const Opacity& opacity) {
  if (!KindInRange(kind) || !VectorHolds(kind, opacity)) return {};
  const bool postScript = kind == VectorKind::kPostScript || kind == VectorKind::kEps;
  if ((print.cmyk && !postScript) || (print.moduleMm && !postScript && kind != VectorKind::kSvg)) {
    return {};
  }
  auto grid = GridOf(generator);
  if (!grid) return {};
  grid->opacity = opacity;
  const PostScriptPrint postScriptPrint{print.PointsPerModule(), print.cmyk};
  switch (kind) {
    case VectorKind::kPostScript:
      return BytesOf(WritePostScriptPage(*grid, MakeExportId("PS", "QRCD"), postScriptPrint));
    case VectorKind::kEps:
      return BytesOf(WriteEpsImage(*grid, postScriptPrint));
    case VectorKind::kSvg: {
      if (print.moduleMm) return BytesOf(WriteSvgDocumentInMillimetres(*grid, *print.moduleMm));
      // A size of 0 or below counts as left out.
      const std::int32_t sw = width.value_or(0) > 0 ? *width : grid->width;
      const std::int32_t sh = height.value_or(0) > 0 ? *height : grid->height;
      return BytesOf(WriteSvgDocument(*grid, sw, sh));
    }
    case VectorKind::kWmf:
      return WriteWindowsMetafile(*grid);
    case VectorKind::kEmf:
      return WriteEnhancedMetafile(*grid, EmfDescription());
  }
  return {};
}

bool SaveVector(const QrGenerator& generator, const std::string& path, VectorKind kind,
                std::optional<std::int32_t> width, std::optional<std::int32_t> height) {
  const Bytes bytes = ExportVector(generator, kind, width, height);
  if (bytes.empty()) return false;
  return platform::WriteFileAtomically(path, bytes);
}

}  // namespace qrsmith
