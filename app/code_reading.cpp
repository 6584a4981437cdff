#include "app/code_reading.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace qrsmith::app {

namespace {

// White around the picture: an eighth of its larger side, at least 8 pixels,
// so that the four-module quiet zone a reader needs is there at any scale.
int FrameWidth(const platform::Bitmap& picture) {
  return std::max(8, std::max(picture.Width(), picture.Height()) / 8);
}

}  // namespace

std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture) {
  if (picture.Empty()) return std::nullopt;
  const int frame = FrameWidth(picture);
  const int width = picture.Width() + 2 * frame;
  const int height = picture.Height() + 2 * frame;
  std::vector<std::uint8_t> grey(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                 0xFF);
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    std::uint8_t* out = grey.data() + static_cast<std::size_t>(y + frame) * width + frame;
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = row[x];
      out[x] = ZXing::RGBToLum((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  }
  try {
    const ZXing::ImageView view(grey.data(), width, height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return std::nullopt;
    return Bytes(result.bytes().begin(), result.bytes().end());
  } catch (...) {
    return std::nullopt;  // a reader failure is "no symbol found", never a crash
  }
}

std::optional<std::string> ContentOfSymbolBytes(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (platform::IsValidUtf8(text)) return std::string(text);
  return platform::CodePageToUtf8(bytes);
}

}  // namespace qrsmith::app
