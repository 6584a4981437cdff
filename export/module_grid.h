#pragma once
// The grid every export draws: the current symbol picture, margins included,
// one position per module, each dark or light, with the two colours. The
// writers take this snapshot rather than the generator, so that each form is a
// pure function of the grid (and can be checked on small hand-made grids).

#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class QrGenerator;
namespace platform {
class Bitmap;
}

// The largest grid any export writes: 2048 x 2048 positions. A version-40
// symbol with one-module margins has 179 x 179; only huge margins come near.
// Every form spends a bounded number of bytes per position (at most about 200,
// the HTML element), so this keeps each result well under 1 GiB, within the
// 32-bit size fields of the metafiles, and refuses before allocating.
inline constexpr std::int64_t kMaxExportPositions = std::int64_t{2048} * 2048;

// A rectangle drawn over the modules, in modules from the grid's top-left
// corner (fractional), in the grid's foreground (dark) or background colour.
struct MarkRect {
  double x, y, width, height;
  bool dark;
};

// The Swiss cross a Swiss QR-bill prints over the centre of its symbol, in
// the order it is painted: the light square, the dark square in it (a light
// frame around), then the light cross's two bars. Sizes scale with the
// symbol: `side` is its side in modules, quiet zone excluded, taken as
// kSwissSymbolMm; (centreX, centreY) its centre in the grid.
std::vector<MarkRect> SwissCross(double centreX, double centreY, double side);

// The cross's figures in millimetres. The 46 mm symbol and the 7 x 7 mm
// cross are the SIX "Swiss Implementation Guidelines for the QR-bill" (2.3,
// 6.4 and 6.4.2); the frame, the dark square and the bars are measured from
// SIX's published cross graphic (CH-Kreuz_7mm.svg), which draws the 7 mm on
// a 19.8-unit square: the dark square 0.7 to 19.1 under a light outline 1.4357
// wide (a 0.5 mm frame round a 6 mm square) and bars 11 x 3.3 units (3.89 x
// 1.17 mm; each arm a sixth longer than it is wide, as the federal cross).
struct SwissCrossFigures {
  static constexpr double kSideMm = 7;
  static constexpr double kGraphicUnits = 19.8;  // the graphic's side, standing for kSideMm
  static constexpr double kFrameMm = 0.5;
  static constexpr double kDarkSquareMm = kSideMm - 2 * kFrameMm;
  static constexpr double kBarLengthMm = 11 * kSideMm / kGraphicUnits;
  static constexpr double kBarWidthMm = 3.3 * kSideMm / kGraphicUnits;
};
// The printed side of a Swiss QR-bill's symbol, quiet zone excluded.
inline constexpr double kSwissSymbolMm = 46;

struct ModuleGrid {
  std::int32_t width = 0;   // Wm, columns
  std::int32_t height = 0;  // Hm, rows
  Colour foreground = kBlack;
  Colour background = kWhite;
  // The colours' alpha: opaque unless the export was asked for transparency,
  // which only the forms that can show it accept.
  Opacity opacity;
  std::vector<std::uint8_t> dark;  // width x height, row after row; 1 = dark
  // Painted over the modules by the forms that can (OutputForm::DrawsMark).
  std::vector<MarkRect> mark;

  // r and c are 1-based, as the scan counts them: r = 1..height, c = 1..width.
  bool IsDark(std::int32_t r, std::int32_t c) const {
    return dark[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(c - 1)] != 0;
  }
  // The colour a position is drawn in: foreground when dark, background when light.
  Colour ColourAt(std::int32_t r, std::int32_t c) const {
    return IsDark(r, c) ? foreground : background;
  }
  std::uint8_t AlphaAt(std::int32_t r, std::int32_t c) const {
    return IsDark(r, c) ? opacity.foreground : opacity.background;
  }
};

// The drawing both metafiles make: the background over 0..right-1 by
// 0..bottom-1 first, then every position in scan order as its own one-unit
// fill, light positions too. fill(left, top, right, bottom, colour) draws
// left..right-1 by top..bottom-1.
template <typename Fill>
void FillBackgroundThenEveryPosition(const ModuleGrid& grid, std::int32_t right,
                                     std::int32_t bottom, Fill fill) {
  fill(0, 0, right, bottom, grid.background);
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) fill(c - 1, r - 1, c, r, grid.ColourAt(r, c));
  }
}

// A rectangle of dark modules, in modules, rows counted from the top.
struct DarkBlock {
  std::int32_t column, row, width, height;
};

// The dark modules as rectangles that neither overlap nor leave a gap: each
// row's runs, a run that repeats the one directly above it (same columns)
// joining that rectangle, so that finder patterns and solid areas take one
// rectangle each. The writers that fill one path (PDF, the solid metafiles)
// draw these.
std::vector<DarkBlock> DarkBlocks(const ModuleGrid& grid);

// The grid of the generator's current symbol. nullopt when there is no symbol
// or the grid has more than kMaxExportPositions positions.
std::optional<ModuleGrid> GridOf(const QrGenerator& generator);
// The Swiss cross over the centre of the generator's symbol.
std::vector<MarkRect> SwissCrossOf(const QrGenerator& generator);

// Paints `mark` over a picture of the grid drawn `pixelsX` x `pixelsY` pixels
// a module: each pixel whose centre lies in a rectangle takes its colour
// (pixels, 0xAARRGGBB as platform::Bitmap holds them), later ones on top.
void PaintMark(platform::Bitmap& picture, const std::vector<MarkRect>& mark, double pixelsX,
               double pixelsY, std::uint32_t darkPixel, std::uint32_t lightPixel);

}  // namespace qrsmith
