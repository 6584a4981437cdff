#pragma once
// The metafiles as the tool and the window save them: drawn solid at a
// printed size. The background is one rectangle, the dark modules one filled
// figure of merged rectangles (DarkBlocks) with no outline, at many logical
// units per module, so that a reader that rounds each coordinate to its own
// unit (LibreOffice to 1/100 mm) moves shared edges together and opens no
// gaps. The EMF's bounds and frame are exactly the grid; the WMF starts with
// the placeable header that gives its size in inches.
//
// Which readers each form serves: these files suit office and layout
// programs (LibreOffice, Inkscape, ImageMagick, libwmf) and print at the size
// asked. ExportVector keeps writing one fill per position at one unit per
// module, the layout its callers read record by record.

#include <string_view>

#include <qrsmith/export/module_grid.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The comment record (EMR_COMMENT, or META_ESCAPE's MFCOMMENT) that comes
// between the modules and the grid's mark: the mark's rectangles, each in
// its own brush, follow it, off the module lines, and the read-back of the
// modules stops there. Four bytes' multiple, so no record needs padding.
inline constexpr std::string_view kMarkComment = "qrsmith mark";

// Logical units per module for a grid of `side` positions (the larger side)
// printed at `moduleMm`: up to 100, small enough that every coordinate fits
// the 16-bit points both formats use and that the WMF's units per inch fit
// its 16-bit field.
std::int32_t MetafileUnitsPerModule(std::int32_t side, double moduleMm);

// The enhanced metafile; `description` is stored in the header as the format
// lays it out: the creating program, a zero, the picture's name, two zeros.
Bytes WriteSolidEnhancedMetafile(const ModuleGrid& grid, double moduleMm,
                                 std::u16string_view program, std::u16string_view name);

// The Windows metafile with its placeable header.
Bytes WriteSolidWindowsMetafile(const ModuleGrid& grid, double moduleMm);

}  // namespace qrsmith
