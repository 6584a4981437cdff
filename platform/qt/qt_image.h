#pragma once
// Bitmaps to and from Qt images. A Bitmap pixel is 0x00RRGGBB, which is Qt's
// RGB32 layout once the unused top byte is made opaque.

#include <QImage>
#include <optional>

#include <qrsmith/platform/bitmap.h>

namespace qrsmith::platform {

QImage ToQImage(const Bitmap& bitmap);
// nullopt for a null image or one larger than a Bitmap may be.
std::optional<Bitmap> FromQImage(const QImage& image);

}  // namespace qrsmith::platform
