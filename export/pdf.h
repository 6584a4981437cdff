#pragma once
// The PDF form of the symbol: one page exactly the size of the grid, quiet
// zone included, at a given printed module size. The dark modules are one
// path filled once, so that no reader's anti-aliasing shows seams between
// neighbouring modules; the light positions are the page's background fill.

#include <optional>
#include <string>

#include "export/module_grid.h"

namespace qrsmith {

// The colours of the page. Without a background the page is left unpainted
// (transparent where it is placed); with `cmyk` both colours are written as
// DeviceCMYK inks (platform/cmyk.h), else as DeviceRGB.
struct PdfPaint {
  Colour foreground = kBlack;
  std::optional<Colour> background = kWhite;
  bool cmyk = false;
};

// The grid's own colours, opaque.
inline PdfPaint PaintOf(const ModuleGrid& grid, bool cmyk) {
  return {grid.foreground, grid.background, cmyk};
}

// What the document says about itself, in its Info dictionary and its XMP
// metadata: the title (UTF-8, cut to its first 64 characters), the program
// that made it, and the time it was made, in seconds since 1970 (UTC).
struct PdfInfo {
  std::string title;
  std::string creator;
  std::int64_t created = 0;
};

// The PDF file: grid.width x grid.height modules of `pointsPerModule` points
// (1/72 inch) each. Uncompressed, so that its few operators stay readable.
// With `info` it carries an Info dictionary, XMP metadata and a file
// identifier derived from its bytes (the same document, the same /ID). The
// trim and bleed boxes are the page: the symbol with its quiet zone.
std::string WritePdfDocument(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule,
                             const std::optional<PdfInfo>& info = std::nullopt);

}  // namespace qrsmith
