// The second, independent QR Code reader behind the grade: zbar, in the same
// module as zxing-cpp (their headers clash, hence a file of its own). A
// symbol that only one of two unrelated readers decodes is graded down.

#include <zbar.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "verify/reader_interface.h"

namespace {

// zbar scans every n-th row and column, n the picture's shorter side over
// this many pixels (every one below twice that): a version-40 symbol with its
// quiet zone (185 modules) filling the picture is crossed by at least two
// scan lines a module, which zbar needs to find the finder patterns.
constexpr int kPixelsPerScanLine = 400;

}  // namespace

extern "C" __attribute__((visibility("default"))) int qrsmith_read_qr_code_zbar(
    const std::uint8_t* grey, int width, int height, std::uint8_t* out, std::size_t capacity,
    std::size_t* length) {
  zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
  if (scanner == nullptr) return QRSMITH_READ_NOTHING;
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  // The symbol's bytes as they are, without a guess at their character set.
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_BINARY, 1);
  // zbar finds a symbol along scan lines; in a large picture a module is
  // many lines high, so every line is far more than it needs and doubles
  // the time a version-40 symbol takes. The pixels are read as they are.
  const int density = std::max(1, std::min(width, height) / kPixelsPerScanLine);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_X_DENSITY, density);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_Y_DENSITY, density);
  zbar::zbar_image_t* image = zbar::zbar_image_create();
  zbar::zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image, static_cast<unsigned>(width), static_cast<unsigned>(height));
  zbar::zbar_image_set_data(
      image, grey, static_cast<unsigned long>(width) * static_cast<unsigned long>(height), nullptr);
  int result = QRSMITH_READ_NOTHING;
  if (zbar::zbar_scan_image(scanner, image) > 0) {
    const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image);
    if (symbol != nullptr && zbar::zbar_symbol_get_type(symbol) == zbar::ZBAR_QRCODE) {
      const unsigned n = zbar::zbar_symbol_get_data_length(symbol);
      *length = n;
      if (n > capacity) {
        result = QRSMITH_READ_TOO_LONG;
      } else {
        if (n > 0) std::memcpy(out, zbar::zbar_symbol_get_data(symbol), n);
        result = QRSMITH_READ_FOUND;
      }
    }
  }
  zbar::zbar_image_destroy(image);
  zbar::zbar_image_scanner_destroy(scanner);
  return result;
}
