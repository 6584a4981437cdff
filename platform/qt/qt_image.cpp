#include "platform/qt/qt_image.h"

namespace qrsmith::platform {

QImage ToQImage(const Bitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* from = bitmap.Row(y);
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) to[x] = from[x] | 0xFF000000u;
  }
  return image;
}

std::optional<Bitmap> FromQImage(const QImage& image) {
  if (image.isNull()) return std::nullopt;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  std::optional<Bitmap> out = Bitmap::Create(rgb.width(), rgb.height());
  if (!out) return std::nullopt;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    std::uint32_t* to = out->Row(y);
    for (int x = 0; x < rgb.width(); ++x) to[x] = from[x] & 0xFFFFFFu;
  }
  return out;
}

}  // namespace qrsmith::platform
