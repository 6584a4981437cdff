#pragma once
// Reads the module grid back out of a written vector, metafile, mark-up or
// text-art file, as its reader would draw it: the colour of each grid
// position in scan order (rows from the top, each from the left). --verify
// then draws that grid and decodes it, so a damaged file is caught.

#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/export/output_forms.h>
#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::verify {

// The dark (1) and light (0) positions of a width x height grid written as
// `form` in `file`. Each position is composed onto white as its reader shows
// it (a clear or masked colour is not drawn, a fill-opacity blends); dark are
// the positions that then look like `foreground` at its alpha in `opacity`.
// nullopt when the file does not hold exactly those positions in its form.
std::optional<std::vector<std::uint8_t>> ReadBackGrid(FormId form, const Bytes& file,
                                                      std::int32_t width, std::int32_t height,
                                                      Colour foreground,
                                                      const Opacity& opacity = {});

// The size the file asks its reader to draw it at, for the forms that carry
// one (SVG's document size, the HTML block's); nullopt for the others, which
// draw one unit per module.
struct DrawnSize {
  std::int64_t width = 0;
  std::int64_t height = 0;
};
std::optional<DrawnSize> ReadDrawnSize(FormId form, const Bytes& file);

}  // namespace qrsmith::verify
