#pragma once
// The current symbol as terminal text, quiet zone included:
// - half blocks: two modules per character cell, light modules drawn as
//   blocks, so that on a dark terminal a phone sees dark modules on light;
// - ANSI: two spaces per module with white and black background colours.

#include <string>

#include "generator/qr_generator.h"

namespace qrsmith {

// One line per two rows of the symbol picture, each ended by LF; empty without a symbol.
std::string RenderHalfBlocks(const QrGenerator& generator);

// One line per row, each ended by a colour reset and LF; empty without a symbol.
std::string RenderAnsi(const QrGenerator& generator);

}  // namespace qrsmith
