#pragma once
// The raster picture every drawing step of qrsmith works on: width x height
// 32-bit pixels, top row first, each pixel 0x00RRGGBB (bytes B, G, R, 0 in
// memory, the display format). Only a transparent raster export sets the top
// byte: it holds 255 - alpha, so that 0 stays opaque and every other picture
// (decoded, drawn, previewed) is opaque as it is. It stands in for the display-compatible bitmap
// of a graphics device interface and offers the few raster operations the
// renderers need: fill, 1:1 copy, OR-combine and nearest-neighbour stretch.

#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/platform/colour.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform {

// Largest side of any picture qrsmith makes or reads.
inline constexpr int kMaxBitmapSide = 16384;
// Largest pixel count of a picture qrsmith makes (16384 x 16384, 1 GiB).
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{kMaxBitmapSide} * kMaxBitmapSide;

// 0x00BBGGRR (how callers name colours) to 0x00RRGGBB (how pixels hold them).
constexpr std::uint32_t PixelFromColour(Colour c) { return SwapRedBlue(c); }
constexpr Colour ColourFromPixel(std::uint32_t p) { return SwapRedBlue(p); }

// A pixel's alpha (255: opaque), and the pixel with `alpha` in its top byte.
constexpr std::uint8_t AlphaOfPixel(std::uint32_t p) {
  return static_cast<std::uint8_t>(255 - (p >> 24));
}
constexpr std::uint32_t PixelWithAlpha(std::uint32_t p, std::uint8_t alpha) {
  return (p & 0xFFFFFF) | (std::uint32_t{255u - alpha} << 24);
}

// The nearest-neighbour rule of every enlargement: column (or row) `target`
// of a copy `targetSize` wide takes column floor(target * sourceSize /
// targetSize) of a picture `sourceSize` wide. 64-bit, so no product overflows.
constexpr int NearestSource(std::int64_t target, std::int64_t targetSize, std::int64_t sourceSize) {
  return static_cast<int>(target * sourceSize / targetSize);
}

// A pixel position or size computed in floating point, truncated toward zero
// just before use. Offsets are any int32 and get scaled, so a position can lie
// far beyond any picture; it is held within +-1e12 (NaN at the lower edge),
// which is as far outside every picture and client area as the exact value
// and leaves room for sums without overflow.
constexpr std::int64_t TruncatePosition(double v) {
  constexpr double kLimit = 1e12;
  if (!(v > -kLimit)) return static_cast<std::int64_t>(-kLimit);
  if (v > kLimit) return static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(v);
}

// NearestSource for each of the `targetSize` columns (or rows) of a copy.
std::vector<int> NearestSources(int targetSize, int sourceSize);

class Bitmap {
 public:
  Bitmap() = default;

  // A width x height picture filled with `pixel`, or nullopt when a side is
  // below 1 or above kMaxBitmapSide. Checked before anything is allocated.
  static std::optional<Bitmap> Create(int width, int height, std::uint32_t pixel = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }

  std::uint32_t Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  void SetPixel(int x, int y, std::uint32_t pixel) { pixels_[Index(x, y)] = pixel; }
  std::uint32_t* Row(int y) { return pixels_.data() + Index(0, y); }
  const std::uint32_t* Row(int y) const { return pixels_.data() + Index(0, y); }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

  // Fills [x0, x1) x [y0, y1), clipped to the picture. Positions are 64-bit
  // so that one far outside the picture is clipped, never wrapped.
  void FillRect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                std::uint32_t pixel);
  // Copies `source` with its top-left corner at (dx, dy), clipped (source copy).
  void CopyFrom(const Bitmap& source, std::int64_t dx, std::int64_t dy);
  // Combines `source` at (dx, dy) by bitwise OR of each channel, clipped.
  void OrFrom(const Bitmap& source, std::int64_t dx, std::int64_t dy);
  // A width x height copy by nearest neighbour (NearestSource on both axes).
  // nullopt for bad sizes.
  std::optional<Bitmap> Stretch(int width, int height) const;
  // Whether every pixel is opaque (top byte 0).
  bool IsOpaque() const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  Bitmap(int width, int height, std::uint32_t pixel);
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // width_ * height_ entries, row after row
};

}  // namespace qrsmith::platform
