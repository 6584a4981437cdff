#pragma once
// The current symbol as terminal text: two modules per character cell with
// the half-block characters, light modules (and the quiet zone) drawn as
// blocks, so that on a dark terminal a phone sees dark modules on light.

#include <string>

#include "generator/qr_generator.h"

namespace qrsmith::cli {

// One line per two rows of the symbol picture (margins included), each ended
// by LF; empty without a symbol.
std::string RenderHalfBlocks(const QrGenerator& generator);

}  // namespace qrsmith::cli
