#pragma once
// The enhanced metafile form ([MS-EMF]): a header with bounds, frame and
// description, one brush fill per grid position plus the background, and the
// end-of-file record. One logical unit is one module and one device unit.

#include <string_view>

#include <qrsmith/export/module_grid.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The background over (0, 0)-(Wm + 1, Hm + 1), one unit wider and taller than
// the grid, then one fill per grid position in scan order, position (r, c)
// covering (c - 1, r - 1)-(c, r), right and bottom edges exclusive.
// `description` is stored in the header, followed by two zero characters.
Bytes WriteEnhancedMetafile(const ModuleGrid& grid, std::u16string_view description);

}  // namespace qrsmith
