#pragma once
// The HTML fragment: a relatively positioned block of width x height CSS
// pixels in the background colour, holding one absolutely positioned block per
// grid position in that position's colour. No line breaks, no document around it.

#include <cstdint>
#include <string>

#include <qrsmith/export/module_grid.h>

namespace qrsmith {

class QrGenerator;

// The fragment of the generator's current symbol. Without a symbol it is the
// empty outer block alone; a grid beyond kMaxExportPositions gives "".
std::string ExportHtml(const QrGenerator& generator, std::int32_t width, std::int32_t height);

// The fragment of `grid` (which may be empty: 0 x 0).
std::string WriteHtmlFragment(const ModuleGrid& grid, std::int32_t width, std::int32_t height);

}  // namespace qrsmith
