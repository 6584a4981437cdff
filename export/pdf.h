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

// The PDF file: grid.width x grid.height modules of `pointsPerModule` points
// (1/72 inch) each. Uncompressed, so that its few operators stay readable.
std::string WritePdfDocument(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule);

}  // namespace qrsmith
