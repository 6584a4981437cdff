#pragma once
// The two PostScript forms of the symbol: a page that paints the grid as a
// colour image, and an EPS image dictionary with ASCII hexadecimal samples.
// Both carry one RGB sample per grid position, eight bits per component.

#include <string>
#include <string_view>

#include "export/module_grid.h"

namespace qrsmith {

// The PostScript page. `id` goes on the third line (an identifier from
// MakeExportId). The page scales one unit to Wm x Hm points at the origin and
// the image matrix puts the first grid row at the top.
std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id);

// The EPS image: Wm x Hm units, declared by its bounding box comments, with
// the first grid row at the top edge; no showpage.
std::string WriteEpsImage(const ModuleGrid& grid);

}  // namespace qrsmith
