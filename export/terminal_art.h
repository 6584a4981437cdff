#pragma once
// The current symbol as terminal text, quiet zone included:
// - half blocks: two modules per character cell, light modules drawn as
//   blocks, so that on a dark terminal a phone sees dark modules on light;
// - ANSI: two spaces per module with white and black background colours.

#include <string>
#include <string_view>

#include <qrsmith/generator/qr_generator.h>

namespace qrsmith {

// One line per two rows of the symbol picture, each ended by LF; empty without a symbol.
std::string RenderHalfBlocks(const QrGenerator& generator);

// One line per row, every module the glyph `light` or `dark` (of one width on
// the terminal), each line ended by LF; empty without a symbol. For character
// sets without the half blocks.
std::string RenderModuleGlyphs(const QrGenerator& generator, std::string_view light,
                               std::string_view dark);

// One line per row, each ended by a colour reset and LF; empty without a symbol.
std::string RenderAnsi(const QrGenerator& generator);

}  // namespace qrsmith
