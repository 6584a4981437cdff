#pragma once
// The compact SVG form: the background as one rectangle and the dark modules
// as one path of runs, drawn as strokes one module wide, in a view
// box of one unit per module. A version-40 symbol takes tens of kilobytes
// instead of the megabytes of one rectangle per position.

#include <cstdint>
#include <optional>
#include <string>

#include <qrsmith/export/module_grid.h>

namespace qrsmith {

// `width` and `height` are the document size (already resolved: positive);
// the view box is the grid, stretched to that size like the SVG form's. With
// `moduleMm` the document is the grid at that printed module size instead.
// A clear colour (grid.opacity) is not drawn, a partly clear one carries its
// fill-opacity or stroke-opacity. Edges are left to the reader's
// anti-aliasing: the runs are one stroke, so no seams open between them, and
// printers turn crispEdges strokes into hairlines.
// The path's grammar, which the read-back relies on: horizontal runs, then
// vertical ones, each part optional. "M«x» «y».5" starts the first horizontal
// run at column x (0-based) on the centre line of row y, "M«x».5 «y»" the
// first vertical run at row y on the centre line of column x; every later run
// starts with "m«dx» «dy»" relative to where the previous one ended; a run is
// "h«n»" or "v«n»", n modules long.
std::string WriteCompactSvg(const ModuleGrid& grid, std::int32_t width, std::int32_t height,
                            std::optional<double> moduleMm = std::nullopt);

}  // namespace qrsmith
