// The clipboard copy of the generator object: the same picture as the raster
// exports make, handed to whichever clipboard the program installed.

#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/clipboard.h"

namespace qrsmith {

bool QrGenerator::CopyToClipboard(std::optional<std::int32_t> size, const Bytes& picture,
                                  std::int32_t pictureWidth, std::int32_t pictureHeight,
                                  std::int32_t dx, std::int32_t dy, bool noise) const {
  const auto layout = SquareRasterLayout(size, picture, pictureWidth, pictureHeight, dx, dy, noise);
  const auto image = layout ? ComposeRaster(*this, *layout) : std::nullopt;
  // The clipboard gets its own copy; the generator's symbol stays as it is.
  return image && platform::PutBitmapOnClipboard(*image);
}

}  // namespace qrsmith
