// zxing-cpp and zbar declare clashing names, so each reader has its own file.
#include <zbar.h>

#include "tests/support/qr_decode.h"

namespace qrsmith::testing {

std::optional<Decoded> DecodeWithZbar(const platform::Bitmap& picture, int scale) {
  if (picture.Empty()) return std::nullopt;
  const platform::Bitmap framed = FramedForReader(picture, scale);
  std::vector<std::uint8_t> grey = GreyLevels(framed);

  zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  // Binary mode: hand back the symbol's bytes without any character set guess.
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_BINARY, 1);
  zbar::zbar_image_t* image = zbar::zbar_image_create();
  zbar::zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image, static_cast<unsigned>(framed.Width()),
                            static_cast<unsigned>(framed.Height()));
  zbar::zbar_image_set_data(image, grey.data(), grey.size(), nullptr);

  std::optional<Decoded> out;
  if (zbar::zbar_scan_image(scanner, image) > 0) {
    const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image);
    if (symbol != nullptr && zbar::zbar_symbol_get_type(symbol) == zbar::ZBAR_QRCODE) {
      const char* data = zbar::zbar_symbol_get_data(symbol);
      const unsigned length = zbar::zbar_symbol_get_data_length(symbol);
      out = Decoded{};
      out->bytes.assign(data, data + length);
      out->text.assign(data, length);
    }
  }
  zbar::zbar_image_destroy(image);
  zbar::zbar_image_scanner_destroy(scanner);
  return out;
}

}  // namespace qrsmith::testing
