#pragma once
// Reading an existing QR Code: the symbol's bytes out of a picture (zxing-cpp,
// in process) and the content text those bytes stand for. Qt-free, so that
// every place that reads a symbol back (a pasted or dropped picture, a check
// of a made picture) shares one reader and one rule for the text.

#include <optional>
#include <span>
#include <string>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::app {

// The bytes of the first QR Code found in `picture`; nullopt when none is.
// The picture is read on a white frame of its own, so a symbol saved with a
// narrow quiet zone (or none) is found as well.
std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture);

// The content text (UTF-8) that a symbol's bytes stand for: the bytes
// themselves when they are valid UTF-8, else the bytes read in the system
// code page (GBK by default); nullopt when they are neither.
std::optional<std::string> ContentOfSymbolBytes(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::app
