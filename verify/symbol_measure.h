#pragma once
// Measuring a drawn symbol against the module matrix it was meant to show:
// every module sampled at its centre, in CIE luminance (Y), for the symbol
// contrast, the modulation, the damage to the fixed patterns and quiet zone,
// the unused error correction of each Reed-Solomon block, and the
// nonuniformity of the grid the picture draws.

#include <cstdint>
#include <string>
#include <vector>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/verify/codeword_map.h>
#include <qrsmith/verify/grade.h>

namespace qrsmith::verify {

// Where a grid of columns x rows modules (margins included) lies in a
// picture drawn by nearest neighbour from one pixel per module.
struct GridGeometry {
  double left = 0, top = 0;                  // the grid's top-left corner, in pixels
  double moduleWidth = 1, moduleHeight = 1;  // pixels a module, across and down
  std::int32_t columns = 0, rows = 0;
  std::int32_t matrixLeft = 0, matrixTop = 0;  // the margins before the matrix
  std::int32_t quietZone = 0;                  // the narrowest margin, in modules
};

// The parameters after decoding (contrast, modulation, fixed patterns,
// axial, grid, unused EC) of `picture`. `intended` holds the grid's modules
// row after row (1 dark); `map` is the matrix's codeword map; `damageCause`
// names what covers modules ("icon", "background picture"...) in the detail
// of the unused error correction.
std::vector<Parameter> MeasureSymbol(const platform::Bitmap& picture, const GridGeometry& grid,
                                     const std::vector<std::uint8_t>& intended,
                                     const CodewordMap& map, const std::string& damageCause);

// The CIE luminance Y (0 black .. 1 white) of a 0x00RRGGBB pixel.
double Luminance(std::uint32_t pixel);

}  // namespace qrsmith::verify
