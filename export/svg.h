#pragma once
// The SVG form: an SVG 1.1 document of `width` x `height` user units with one
// filled rectangle per grid position, light positions included.

#include <cstdint>
#include <string>

#include <qrsmith/export/module_grid.h>

namespace qrsmith {

// `width` and `height` are the document size (already resolved: positive).
// Position (r, c) is the rectangle at x = ((c - 1) x width) / Wm,
// y = ((r - 1) x height) / Hm, of size width / Wm by height / Hm. A position
// whose colour is clear in grid.opacity is left out; a partly transparent one
// gets a fill-opacity.
std::string WriteSvgDocument(const ModuleGrid& grid, std::int32_t width, std::int32_t height);

// The same document printed at `moduleMm` millimetres per module: the root
// element's width and height in millimetres with a viewBox of one unit per
// module, the rectangles in those units.
std::string WriteSvgDocumentInMillimetres(const ModuleGrid& grid, double moduleMm);

}  // namespace qrsmith
