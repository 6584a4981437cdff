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

void Bitmap::FillRect(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::uint32_t pixel) {
  const int left = static_cast<int>(std::clamp<std::int64_t>(x0, 0, width_));
  const int top = static_cast<int>(std::clamp<std::int64_t>(y0, 0, height_));
  const int right = static_cast<int>(std::clamp<std::int64_t>(x1, 0, width_));
  const int bottom = static_cast<int>(std::clamp<std::int64_t>(y1, 0, height_));
  if (left >= right) return;
  for (int y = top; y < bottom; ++y) {
    std::fill(Row(y) + left, Row(y) + right, pixel);
  }
}

namespace {

// Runs `op(target_pixel, source_pixel)` over the overlap of source placed at (dx, dy).
template <typename Op>
void Blend(Bitmap& target, const Bitmap& source, std::int64_t dx, std::int64_t dy, Op op) {
  // In 64 bits: a source placed far outside the target must not wrap around.
  const std::int64_t x0 = std::max<std::int64_t>(0, dx);
  const std::int64_t y0 = std::max<std::int64_t>(0, dy);
  const std::int64_t x1 = std::min<std::int64_t>(target.Width(), dx + source.Width());
  const std::int64_t y1 = std::min<std::int64_t>(target.Height(), dy + source.Height());
  for (std::int64_t y = y0; y < y1; ++y) {
    std::uint32_t* out = target.Row(static_cast<int>(y));
    const std::uint32_t* in = source.Row(static_cast<int>(y - dy));
    for (std::int64_t x = x0; x < x1; ++x) out[x] = op(out[x], in[x - dx]);
  }
}

}  // namespace

void Bitmap::CopyFrom(const Bitmap& source, std::int64_t dx, std::int64_t dy) {
  Blend(*this, source, dx, dy, [](std::uint32_t, std::uint32_t s) { return s; });
}

void Bitmap::OrFrom(const Bitmap& source, std::int64_t dx, std::int64_t dy) {
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
