#pragma once
// The text-art form: one line of full-width characters per grid row, for
// pasting into plain text. Dark modules are "●" (circles) or "▇" (blocks),
// light ones the ideographic space U+3000; lines are separated by CR LF, with
// no line break after the last. UTF-8, like every text of the program.

#include <string>
#include <string_view>

#include <qrsmith/export/module_grid.h>

namespace qrsmith {

class QrGenerator;

// The text art of the generator's current symbol; "" without a symbol (or
// for a grid beyond kMaxExportPositions).
std::string ExportTextArt(const QrGenerator& generator, bool circles);

std::string WriteTextArt(const ModuleGrid& grid, bool circles);

// The text art drawn with other glyphs (for a character set without the usual
// ones): `dark` and `light` must take the same width.
std::string ExportTextArt(const QrGenerator& generator, std::string_view dark,
                          std::string_view light);
std::string WriteTextArt(const ModuleGrid& grid, std::string_view dark, std::string_view light);

}  // namespace qrsmith
