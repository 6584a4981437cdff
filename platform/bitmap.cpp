#include "platform/bitmap.h"

#include <algorithm>

namespace qrsmith::platform {

Bitmap::Bitmap(int width, int height, std::uint32_t pixel)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), pixel) {}

std::optional<Bitmap> Bitmap::Create(int width, int height, std::uint32_t pixel) {
  if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide) {
    return std::nullopt;
  }
  return Bitmap(width, height, pixel);
}

void Bitmap::FillRect(int x0, int y0, int x1, int y1, std::uint32_t pixel) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_);
  y1 = std::min(y1, height_);
  for (int y = y0; y < y1; ++y) {
    std::fill(Row(y) + x0, Row(y) + x1, pixel);
  }
}

namespace {

// Runs `op(target_pixel, source_pixel)` over the overlap of source placed at (dx, dy).
template <typename Op>
void Blend(Bitmap& target, const Bitmap& source, int dx, int dy, Op op) {
  const int x0 = std::max(0, dx);
  const int y0 = std::max(0, dy);
  // In 64 bits: a source placed near the int range's edge must not wrap around.
  const int x1 =
      static_cast<int>(std::min<std::int64_t>(target.Width(), std::int64_t{dx} + source.Width()));
  const int y1 =
      static_cast<int>(std::min<std::int64_t>(target.Height(), std::int64_t{dy} + source.Height()));
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* out = target.Row(y);
    const std::uint32_t* in = source.Row(y - dy);
    for (int x = x0; x < x1; ++x) out[x] = op(out[x], in[x - dx]);
  }
}

}  // namespace

void Bitmap::CopyFrom(const Bitmap& source, int dx, int dy) {
  Blend(*this, source, dx, dy, [](std::uint32_t, std::uint32_t s) { return s; });
}

void Bitmap::OrFrom(const Bitmap& source, int dx, int dy) {
  Blend(*this, source, dx, dy, [](std::uint32_t t, std::uint32_t s) { return t | s; });
}

std::vector<int> NearestSources(int targetSize, int sourceSize) {
  std::vector<int> sources(static_cast<std::size_t>(std::max(targetSize, 0)));
  for (int x = 0; x < targetSize; ++x) sources[x] = NearestSource(x, targetSize, sourceSize);
  return sources;
}

std::optional<Bitmap> Bitmap::Stretch(int width, int height) const {
  if (Empty()) return std::nullopt;
  auto target = Create(width, height);
  if (!target) return std::nullopt;
  const std::vector<int> columns = NearestSources(width, width_);
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* in = Row(NearestSource(y, height, height_));
    std::uint32_t* out = target->Row(y);
    for (int x = 0; x < width; ++x) out[x] = in[columns[x]];
  }
  return target;
}

bool Bitmap::IsOpaque() const {
  return std::all_of(pixels_.begin(), pixels_.end(), [](std::uint32_t p) { return p >> 24 == 0; });
}

}  // namespace qrsmith::platform
