#pragma once
// Independent QR readers used as test oracles: zxing-cpp and zbar decode a
// rendered picture, and the tests compare the decoded bytes with the content.

#include <optional>
#include <string>

#include "platform/bitmap.h"
#include "platform/types.h"

namespace qrsmith::testing {

struct Decoded {
  Bytes bytes;       // the content bytes as the symbol carries them
  std::string text;  // the reader's text interpretation (UTF-8)
  // zxing-cpp only: whether an ECI was read, the symbology identifier ("]Q1",
  // "]Q3" for GS1, ...) and the structured-append position (0-based), size
  // and id (-1, -1, "" outside a sequence).
  bool hasEci = false;
  std::string symbology;
  int sequenceIndex = -1, sequenceSize = -1;
  std::string sequenceId;
  std::string ecLevel;  // zxing-cpp only: "L", "M", "Q" or "H"
};

// Each reader gets the picture enlarged `scale` times, on a white border of
// four modules' worth of pixels, in grey levels.
std::optional<Decoded> DecodeWithZxing(const platform::Bitmap& picture, int scale = 4);
std::optional<Decoded> DecodeWithZbar(const platform::Bitmap& picture, int scale = 4);

// The picture enlarged `scale` times on a white frame of 4 x scale pixels.
platform::Bitmap FramedForReader(const platform::Bitmap& picture, int scale);

// Grey levels of a picture, row after row (0.299 R + 0.587 G + 0.114 B).
std::vector<std::uint8_t> GreyLevels(const platform::Bitmap& picture);

}  // namespace qrsmith::testing
