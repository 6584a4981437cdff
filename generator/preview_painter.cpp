#include "generator/preview_painter.h"

#include <algorithm>
#include <cmath>

#include "generator/noise_bits.h"

namespace qrsmith {

namespace {

using platform::Bitmap;

constexpr auto Trunc = platform::TruncatePosition;

struct Rect {
  std::int64_t x = 0, y = 0, w = 0, h = 0;
};

// Draws `source` scaled onto `target` at `to` by nearest neighbour (Bitmap's
// rule, platform::NearestSource, on both axes), clipped to
// the target; only the visible part is ever computed. Opaque, or OR-combined.
void StretchInto(Bitmap& target, const Bitmap& source, const Rect& to, bool orCombine) {
  if (source.Empty() || to.w < 1 || to.h < 1) return;
  const std::int64_t x0 = std::max<std::int64_t>(to.x, 0);
  const std::int64_t y0 = std::max<std::int64_t>(to.y, 0);
  const std::int64_t x1 = std::min<std::int64_t>(to.x + to.w, target.Width());
  const std::int64_t y1 = std::min<std::int64_t>(to.y + to.h, target.Height());
  for (std::int64_t y = y0; y < y1; ++y) {
    const auto sourceRow = source.Row(platform::NearestSource(y - to.y, to.h, source.Height()));
    std::uint32_t* row = target.Row(static_cast<int>(y));
    for (std::int64_t x = x0; x < x1; ++x) {
      const std::uint32_t pixel =
          sourceRow[platform::NearestSource(x - to.x, to.w, source.Width())];
      row[x] = orCombine ? (row[x] | pixel) : pixel;
    }
  }
}

void FillCell(Bitmap& target, std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h,
              std::uint32_t pixel) {
  if (x >= target.Width() || y >= target.Height() || x + w <= 0 || y + h <= 0) return;
  target.FillRect(static_cast<int>(std::max<std::int64_t>(x, 0)),
                  static_cast<int>(std::max<std::int64_t>(y, 0)),
                  static_cast<int>(std::min<std::int64_t>(x + w, target.Width())),
                  static_cast<int>(std::min<std::int64_t>(y + h, target.Height())), pixel);
}

// The preview's own noise rule: whole-pixel cells of one scaled module on a
// grid through the symbol's corner, covering `area`; each cell outside the
// symbol takes the next noise bit and is filled with `colour` when it is 1.
void PaintNoise(Bitmap& target, const Rect& area, const Rect& symbol, const PreviewValues& v) {
  if (v.symbolWidth < 1 || v.symbolHeight < 1 || !v.noiseBits) return;
  const std::int64_t cellW = std::max<std::int64_t>(1, Trunc(double(symbol.w) / v.symbolWidth));
  const std::int64_t cellH = std::max<std::int64_t>(1, Trunc(double(symbol.h) / v.symbolHeight));
  const std::int64_t firstX =
      Trunc(symbol.x + std::floor(-double(symbol.x - area.x) / cellW) * cellW);
  const std::int64_t firstY =
      Trunc(symbol.y + std::floor(-double(symbol.y - area.y) / cellH) * cellH);
  const std::size_t length = std::min<std::size_t>(
      v.noiseBits->size(), static_cast<std::size_t>(std::max<std::int32_t>(v.noiseLength, 0)));
  NoiseBitReader bits(std::span<const std::uint8_t>(v.noiseBits->data(), length));
  const std::uint32_t pixel = platform::PixelFromColour(v.noiseColour);

  std::int64_t x = firstX;
  std::int64_t y = firstY;
  // Rows below the client area could change nothing that is seen.
  while (y <= area.y + area.h && y < target.Height()) {
    const bool inside = x + cellW > symbol.x && x < symbol.x + symbol.w - cellW &&
                        y + cellH > symbol.y && y < symbol.y + symbol.h - cellH;
    if (!inside && bits.Next()) FillCell(target, x, y, cellW, cellH, pixel);
    x += cellW;
    if (x > area.x + area.w) {
      x = firstX;
      y += cellH;
    }
  }
}

// The corner of a bw x bh box anchored in the client area as `mode` says.
struct Anchor {
  double x = 0, y = 0;
};
Anchor AnchorOf(std::int32_t mode, double cw, double ch, double bw, double bh) {
  // Horizontal and vertical placement per mode 2..10: 0 left/top, 1 centre/middle, 2 right/bottom.
  static constexpr int kHorizontal[] = {1, 0, 1, 2, 2, 2, 1, 0, 0};
  static constexpr int kVertical[] = {1, 0, 0, 0, 1, 2, 2, 2, 1};
  const auto place = [](int where, double space, double box) {
    return where == 0 ? 0.0 : where == 1 ? (space - box) / 2 : space - box;
  };
  return {place(kHorizontal[mode - 2], cw, bw), place(kVertical[mode - 2], ch, bh)};
}

struct Layout {
  Rect symbol;
  Rect icon;
  std::optional<Rect> picture;  // where the picture is drawn
  Rect noiseArea;
};

Layout FitLayout(const PreviewValues& v, double cw, double ch, double d, bool withPicture) {
  const bool wide = cw - ch > 1e-7;
  const double side = wide ? ch : cw;
  const double iw = v.iconWidth, ih = v.iconHeight;
  Layout out;
  if (!withPicture) {
    const auto s = static_cast<std::int64_t>(side);
    out.symbol =
        wide ? Rect{Trunc((cw - side) / 2), 0, s, s} : Rect{0, Trunc((ch - side) / 2), s, s};
    out.icon = wide ? Rect{Trunc((cw - side) / 2 + (side - iw) / 2), Trunc((side - ih) / 2)}
                    : Rect{Trunc((side - iw) / 2), Trunc((ch - side) / 2 + (side - ih) / 2)};
    out.icon.w = v.iconWidth;
    out.icon.h = v.iconHeight;
    return out;
  }
  const double pw = v.pictureWidth, ph = v.pictureHeight;
  const double k = wide ? side / ph : side / pw;
  const auto s = static_cast<std::int64_t>(side);
  out.picture = wide ? Rect{Trunc((cw - k * pw) / 2), 0, Trunc(k * pw), s}
                     : Rect{0, Trunc((ch - k * ph) / 2), s, Trunc(k * ph)};
  out.noiseArea = *out.picture;
  const std::int64_t symbolSide = Trunc(d * k);
  out.symbol = {Trunc((cw - d * k) / 2 + v.offsetX * k), Trunc((ch - d * k) / 2 + v.offsetY * k),
                symbolSide, symbolSide};
  out.icon = {Trunc((cw - iw * k) / 2 + v.offsetX * k), Trunc((ch - ih * k) / 2 + v.offsetY * k),
              Trunc(iw * k), Trunc(ih * k)};
  return out;
}

Layout StretchLayout(const PreviewValues& v, double cw, double ch, double d, bool withPicture) {
  const double iw = v.iconWidth, ih = v.iconHeight;
  const auto w = static_cast<std::int64_t>(cw), h = static_cast<std::int64_t>(ch);
  Layout out;
  if (!withPicture) {
    out.symbol = {0, 0, w, h};
    out.icon = {Trunc((cw - iw) / 2), Trunc((ch - ih) / 2), v.iconWidth, v.iconHeight};
    return out;
  }
  const double pw = v.pictureWidth, ph = v.pictureHeight;
  const double fx = cw / pw, fy = ch / ph;
  out.picture = Rect{0, 0, w, h};
  out.noiseArea = *out.picture;
  out.symbol = {Trunc(((pw - d) / 2 + v.offsetX) * fx), Trunc(((ph - d) / 2 + v.offsetY) * fy),
                Trunc(d * fx), Trunc(d * fy)};
  out.icon = {Trunc(((pw - iw) / 2 + v.offsetX) * fx), Trunc(((ph - ih) / 2 + v.offsetY) * fy),
              Trunc(iw * fx), Trunc(ih * fy)};
  return out;
}

Layout AnchoredLayout(const PreviewValues& v, double cw, double ch, double d, bool withPicture) {
  Layout out;
  double sx = 0, sy = 0;
  if (!withPicture) {
    const Anchor a = AnchorOf(v.mode, cw, ch, d, d);
    sx = double(Trunc(a.x));
    sy = double(Trunc(a.y));
  } else {
    const double pw = v.pictureWidth, ph = v.pictureHeight;
    const Anchor a = AnchorOf(v.mode, cw, ch, pw, ph);
    out.picture = Rect{Trunc(a.x), Trunc(a.y), v.pictureWidth, v.pictureHeight};
    out.noiseArea = *out.picture;
    sx = double(Trunc(a.x + (pw - d) / 2 + v.offsetX));
    sy = double(Trunc(a.y + (ph - d) / 2 + v.offsetY));
  }
  const auto side = static_cast<std::int64_t>(d);
  out.symbol = {static_cast<std::int64_t>(sx), static_cast<std::int64_t>(sy), side, side};
  out.icon = {Trunc(sx + (d - v.iconWidth) / 2), Trunc(sy + (d - v.iconHeight) / 2), v.iconWidth,
              v.iconHeight};
  return out;
}

}  // namespace

std::optional<Bitmap> PaintPreview(const PreviewValues& v, int clientWidth, int clientHeight,
                                   std::uint32_t unfilledPixel) {
  if (!v.symbol || v.symbol->Empty() || v.mode < kPreviewFit || v.mode > kPreviewLastMode) {
    return std::nullopt;
  }
  // The off-screen buffer: the whole client area, shown in one step.
  const std::uint32_t base = v.fill == kNoFill ? unfilledPixel : platform::PixelFromColour(v.fill);
  std::optional<Bitmap> buffer = Bitmap::Create(clientWidth, clientHeight, base);
  if (!buffer) return std::nullopt;

  const bool withPicture =
      v.picture && !v.picture->Empty() && v.pictureWidth > 0 && v.pictureHeight > 0;
  // The drawn symbol's side; a d of 0 takes the symbol's own width.
  const double d = v.squareSize != 0 ? v.squareSize : v.symbolWidth;
  const double cw = clientWidth, ch = clientHeight;
  const Layout layout = v.mode == kPreviewFit       ? FitLayout(v, cw, ch, d, withPicture)
                        : v.mode == kPreviewStretch ? StretchLayout(v, cw, ch, d, withPicture)
                                                    : AnchoredLayout(v, cw, ch, d, withPicture);

  if (withPicture) {
    StretchInto(*buffer, *v.picture, *layout.picture, false);
    if (v.noiseOn) PaintNoise(*buffer, layout.noiseArea, layout.symbol, v);
  }
  // Opaque on the plain client area; on a picture, OR lets the picture show
  // through the dark modules while the light ones stay light.
  StretchInto(*buffer, *v.symbol, layout.symbol, withPicture);
  if (v.icon) StretchInto(*buffer, *v.icon, layout.icon, false);
  return buffer;
}

}  // namespace qrsmith
