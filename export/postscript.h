#pragma once
// The two PostScript forms of the symbol: a page that paints the grid as a
// colour image, and an EPS image dictionary with ASCII hexadecimal samples.
// Both carry one RGB sample per grid position, eight bits per component.
// When a colour is clear (grid.opacity), its samples are masked by colour key
// (an image of type 4, /MaskColor), so nothing is painted there; partial
// alpha cannot be written in PostScript and is refused by ExportVector.

#include <string>
#include <string_view>

#include "export/module_grid.h"

namespace qrsmith {

// The PostScript page. `id` goes on the third line (an identifier from
// MakeExportId). The page scales one unit to Wm x Hm points at the origin and
// the image matrix puts the first grid row at the top.
std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id);

// The EPS image: an identity image matrix, so Wm x Hm units with the first
// grid row at the bottom edge; no bounding box comment, no showpage.
std::string WriteEpsImage(const ModuleGrid& grid);

}  // namespace qrsmith
