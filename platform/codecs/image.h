#pragma once
// Any picture format qrsmith reads, recognised by the file's own signature
// (never by a file name), and any format it writes.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

enum class ImageFormat { kBmp, kJpeg, kGif, kTiff, kPng, kIco };

// The format named by the first bytes, or nullopt when none matches.
std::optional<ImageFormat> DetectImageFormat(std::span<const std::uint8_t> bytes);

// Decodes BMP, JPEG, GIF, TIFF, PNG or ICO bytes. nullopt when the format is
// unknown or the picture does not decode.
std::optional<Bitmap> DecodeImage(std::span<const std::uint8_t> bytes);

// Encodes `bitmap` in `format` with that format's writer. Empty on failure.
Bytes EncodeImage(const Bitmap& bitmap, ImageFormat format);

}  // namespace qrsmith::platform::codecs
