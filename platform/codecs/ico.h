#pragma once
// ICO files: a directory of pictures of one icon at several sizes, each in
// BMP form (an information header, the colour image and a 1-bit mask) or in
// PNG form.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// An icon with a single entry in PNG form (as EncodePng writes it). Sides of
// 256 or more are recorded as 0 in the directory, as the format prescribes;
// the PNG holds the real size. Empty on failure.
Bytes EncodeIco(const Bitmap& bitmap);

// The largest entry (by pixel count, then bit depth) of an icon or cursor
// file; its transparent pixels are white. nullopt when any directory entry
// points outside the file or the chosen entry does not decode.
std::optional<Bitmap> DecodeIco(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::platform::codecs
