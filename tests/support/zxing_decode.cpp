// zxing-cpp and zbar declare clashing names, so each reader has its own file.
#include "tests/support/qr_decode.h"

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

namespace qrsmith::testing {

std::optional<Decoded> DecodeWithZxing(const platform::Bitmap& picture, int scale) {
  if (picture.Empty()) return std::nullopt;
  const platform::Bitmap framed = FramedForReader(picture, scale);
  const std::vector<std::uint8_t> grey = GreyLevels(framed);
  ZXing::ImageView view(grey.data(), framed.Width(), framed.Height(), ZXing::ImageFormat::Lum);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::MicroQRCode);
  hints.setTryHarder(true);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  if (!result.isValid()) return std::nullopt;
  Decoded out;
  out.bytes.assign(result.bytes().begin(), result.bytes().end());
  out.text = result.text();
  out.hasEci = result.hasECI();
  out.symbology = result.symbologyIdentifier();
  out.sequenceIndex = result.sequenceIndex();
  out.sequenceSize = result.sequenceSize();
  out.sequenceId = result.sequenceId();
  out.ecLevel = result.ecLevel();
  return out;
}

}  // namespace qrsmith::testing
