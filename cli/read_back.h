#pragma once
// Reads the module grid back out of a written vector, metafile, mark-up or
// text-art file, as its reader would draw it: the colour of each grid
// position in scan order (rows from the top, each from the left). --verify
// then draws that grid and decodes it, so a damaged file is caught.

#include <cstdint>
#include <optional>
#include <vector>

#include "cli/cli_options.h"
#include "platform/types.h"

namespace qrsmith::cli {

// The dark (1) and light (0) positions of a width x height grid written as
// `type` in `file`, dark being the positions drawn in `foreground`; nullopt
// when the file does not hold exactly that many positions in its form.
std::optional<std::vector<std::uint8_t>> ReadBackGrid(OutputType type, const Bytes& file,
                                                      std::int32_t width, std::int32_t height,
                                                      Colour foreground);

}  // namespace qrsmith::cli
