// The QR Code reader behind the scan check. The command-line tool loads it as
// a module of its own, only when it verifies: zxing-cpp is a large C++ library
// whose loading would double the start-up time of every qrsmith run. The
// window links the same function in.

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "verify/reader_interface.h"

extern "C" __attribute__((visibility("default"))) int qrsmith_read_qr_code(const std::uint8_t* grey,
                                                                           int width, int height,
                                                                           std::uint8_t* out,
                                                                           std::size_t capacity,
                                                                           std::size_t* length) {
  try {
    ZXing::ImageView view(grey, width, height, ZXing::ImageFormat::Lum);
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::MicroQRCode);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) return QRSMITH_READ_NOTHING;
    const auto& bytes = result.bytes();
    *length = bytes.size();
    if (bytes.size() > capacity) return QRSMITH_READ_TOO_LONG;
    if (!bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
    return QRSMITH_READ_FOUND;
  } catch (...) {
    return QRSMITH_READ_NOTHING;  // no exception may cross into the tool
  }
}
