#pragma once
// JPEG files through libjpeg-turbo, entirely in memory.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// Baseline YCbCr JPEG at quality 75 with 4:2:0 chroma subsampling (the
// library's defaults). Empty on failure, and for a picture that is not
// opaque: JPEG has no alpha, and dropping it would change the picture.
Bytes EncodeJpeg(const Bitmap& bitmap);

// Reads baseline and progressive files in grey, YCbCr, RGB and CMYK. A file
// that ends early or has corrupt entropy-coded data is refused rather than
// shown with a grey remainder.
std::optional<Bitmap> DecodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
