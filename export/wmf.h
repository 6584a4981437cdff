#pragma once
// The Windows metafile form: the grid as a sequence of rectangle fills in a
// memory metafile ([MS-WMF]), one logical unit per module, no placeable header.

#include <qrsmith/export/module_grid.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The background over (0, 0)-(Wm, Hm), then one fill per grid position in
// scan order, each position (r, c) covering (c - 1, r - 1)-(c, r), right and
// bottom edges exclusive.
Bytes WriteWindowsMetafile(const ModuleGrid& grid);

}  // namespace qrsmith
