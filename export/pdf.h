#pragma once
// The PDF form of the symbol: one page exactly the size of the grid, quiet
// zone included, at a given printed module size. The dark modules are one
// path filled once, so that no reader's anti-aliasing shows seams between
// neighbouring modules; the light positions are the page's background fill.

#include <optional>
#include <string>

#include <qrsmith/export/module_grid.h>
#include <qrsmith/platform/types.h>

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

// The printing condition a PDF/X file is made for (its output intent): the
// name of a characterization in the ICC's registry, a description, and the
// ICC profile of that condition, embedded in the file.
struct PdfOutputIntent {
  std::string identifier;  // "FOGRA39"
  std::string condition;   // what a person reads
  Bytes profile;
  int components = 4;  // 3 for RGB, 4 for CMYK: the colour space of the page
};

// The output intent for pages in CMYK (FOGRA39: offset on coated paper) or
// in RGB (sRGB).
PdfOutputIntent OutputIntentFor(bool cmyk);

// What the document says about itself, in its Info dictionary and its XMP
// metadata: the title (UTF-8), the program
// that made it, and the time it was made, in seconds since 1970 (UTC).
// With `pdfx` the file is PDF/X-4: PDF 1.6, the output intent, the version
// named in the Info dictionary and the XMP, trapping declared False, and the
// XMP's document and version identifiers.
struct PdfInfo {
  std::string title;
  std::string creator;
  std::int64_t created = 0;
  std::optional<PdfOutputIntent> pdfx;
};

// The PDF file: grid.width x grid.height modules of `pointsPerModule` points
// (1/72 inch) each. Uncompressed, so that its few operators stay readable.
// With `info` it carries an Info dictionary, XMP metadata and a file
// identifier derived from its bytes (the same document, the same /ID). The
// trim and bleed boxes are the page: the symbol with its quiet zone.
std::string WritePdfDocument(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule,
                             const std::optional<PdfInfo>& info = std::nullopt);

}  // namespace qrsmith
