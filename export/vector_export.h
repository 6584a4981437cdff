#pragma once
// The page-description and vector forms of the generator's current symbol:
// PostScript, EPS and SVG text, WMF and EMF metafiles. Each draws the grid
// (margins included) at one unit per module, every position as its own sample
// or element, light positions too. Also the two helpers the export forms
// share: ColourHex and MakeExportId.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/generator/print_settings.h>
#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class QrGenerator;

// The form selector. Values outside 0..4 are refused.
enum class VectorKind : std::int16_t {
  kPostScript = 0,  // a PostScript page with a colour image (text)
  kEps = 1,         // an EPS image dictionary with ASCII hexadecimal data (text)
  kSvg = 2,         // an SVG document, one rectangle per module (text)
  kWmf = 3,         // a Windows metafile, no placeable header (binary)
  kEmf = 4,         // an enhanced metafile with a description (binary)
};

// The bytes of the chosen form (text forms as their ASCII bytes, no
// terminating zero). `width` and `height` matter only to SVG: the document
// size, used when given and above 0, the grid size otherwise. `print` asks
// for a printed module size (SVG in millimetres, PostScript and EPS in
// points, in place of `width` and `height`) and for CMYK samples (PostScript
// and EPS); the metafiles carry neither and are refused with either.
// `opacity` is the colours' alpha (clear colours are not drawn): SVG holds any
// alpha, PostScript and EPS only clear or opaque colours, the metafiles only
// opaque ones. Empty when there is no symbol, the kind is out of range or
// cannot hold the request, or the grid is beyond kMaxExportPositions.
Bytes ExportVector(const QrGenerator& generator, VectorKind kind,
                   std::optional<std::int32_t> width = std::nullopt,
                   std::optional<std::int32_t> height = std::nullopt,
                   const PrintSettings& print = {}, const Opacity& opacity = {});

// Writes ExportVector's bytes to `path`, atomically: an existing file is
// either replaced as a whole or left as it was. False, writing nothing, when
// there is nothing to export or the file cannot be written.
bool SaveVector(const QrGenerator& generator, const std::string& path, VectorKind kind,
                std::optional<std::int32_t> width = std::nullopt,
                std::optional<std::int32_t> height = std::nullopt);

// SOURCE_DATE_EPOCH, the time reproducible builds fix for every file they
// make: seconds since 1970 as a decimal integer; nullopt when it is unset or
// not such a number.
std::optional<std::int64_t> SourceDateEpoch();

// A 0x00BBGGRR colour as six upper-case hexadecimal digits, red first
// (RRGGBB); bits 24 to 31 are ignored.
std::string ColourHex(Colour colour);

// prefix + tag + the local date and time as yyMMddHHmmss, then random
// characters from A-Z0-9 up to 20 characters in all; nothing is cut when the
// text is already that long. ("PS" + "QRCD" gives two random characters.)
// When SOURCE_DATE_EPOCH holds a time (seconds since 1970), that time in UTC
// takes the place of the local one and the characters are derived from the
// text before them, so that reproducible builds get the same bytes each run.
std::string MakeExportId(std::string_view prefix, std::string_view tag);

}  // namespace qrsmith
