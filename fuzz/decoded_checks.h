#pragma once
// What every decoded picture must satisfy, whatever bytes it came from.

#include <optional>

#include "fuzz/fuzz_input.h"
#include "platform/bitmap.h"
#include "platform/codecs/bmp.h"
#include "platform/codecs/limits.h"

namespace qrsmith::fuzz {

// Within the decoding bounds, with exactly width x height pixels, opaque
// (every top byte 0: transparency is flattened onto white); and a small
// picture survives a BMP round trip unchanged, so the reader's result is a
// picture the rest of qrsmith can draw and write.
inline void CheckDecoded(const std::optional<platform::Bitmap>& picture) {
  if (!picture) return;
  const std::int64_t w = picture->Width(), h = picture->Height();
  Expect(platform::codecs::ImageSizeAllowed(w, h), "decoded picture beyond the bounds");
  Expect(picture->Pixels().size() == static_cast<std::size_t>(w * h), "pixel count != w x h");
  for (const std::uint32_t pixel : picture->Pixels()) {
    Expect((pixel >> 24) == 0, "decoded pixel with a non-zero top byte");
  }
  if (w * h <= 4096) {
    const auto again = platform::codecs::DecodeBmp(platform::codecs::EncodeBmp(*picture));
    Expect(again && *again == *picture, "decoded picture does not survive a BMP round trip");
  }
}

}  // namespace qrsmith::fuzz
