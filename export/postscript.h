#pragma once
// The two PostScript forms of the symbol: a page that paints the grid as a
// colour image, and an EPS image dictionary with ASCII hexadecimal samples.
// Both carry one RGB sample per grid position, eight bits per component.
// When a colour is clear (grid.opacity), its samples are masked by colour key
// (an image of type 4, /MaskColor), so nothing is painted there; partial
// alpha cannot be written in PostScript and is refused by ExportVector.

#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/export/module_grid.h>

namespace qrsmith {

// How the two forms are printed: without a module size one point per module
// (the forms as the generator writes them), with one that many points; with
// `cmyk` the samples are C, M, Y, K inks (four components, DeviceCMYK).
struct PostScriptPrint {
  std::optional<double> pointsPerModule;
  bool cmyk = false;
};

// The PostScript page. `id` goes on the third line (an identifier from
// MakeExportId). The page scales one unit to Wm x Hm points at the origin and
// the image matrix puts the first grid row at the top.
std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id,
                                const PostScriptPrint& print = {});

// The EPS image: Wm x Hm units (scaled to the printed size when one is
// given), declared by its bounding box comments, with the first grid row at
// the top edge; no showpage.
std::string WriteEpsImage(const ModuleGrid& grid, const PostScriptPrint& print = {});

}  // namespace qrsmith
