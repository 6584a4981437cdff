#pragma once
// The resolution a raster file declares, which tells a layout program the
// printed size of its pixels: PNG's pHYs chunk (pixels per metre), the JFIF
// density of a JPEG (dots per inch), BMP's pixels per metre and TIFF's
// resolution tags (written by EncodeTiff itself). Written into a file that
// its encoder made, and read back from any file, so that --verify can check
// what a layout program will see.

#include <cstdint>
#include <optional>
#include <span>

#include <qrsmith/platform/codecs/image.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform::codecs {

// Pixels per metre for a resolution in dots per inch, rounded to nearest.
std::uint32_t PixelsPerMetre(std::int32_t dpi);

// Writes `dpi` (1 to 10000) into `file`, a PNG (a pHYs chunk after IHDR,
// replacing none: our encoder writes none), a JPEG with a JFIF header or a
// BMP. False, leaving `file` as it was, for any other format or a file
// without the expected header.
bool SetResolution(Bytes& file, ImageFormat format, std::int32_t dpi);

// The horizontal and vertical resolution the file declares, in dots per
// inch; nullopt when it declares none in an absolute unit, or for GIF, ICO
// and unreadable bytes.
struct Resolution {
  double x = 0;
  double y = 0;
};
std::optional<Resolution> ResolutionOf(std::span<const std::uint8_t> file);

}  // namespace qrsmith::platform::codecs
