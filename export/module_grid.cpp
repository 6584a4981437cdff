#include "export/module_grid.h"

#include <algorithm>
#include <cmath>

#include "generator/qr_generator.h"
#include "platform/bitmap.h"

namespace qrsmith {

std::vector<DarkBlock> DarkBlocks(const ModuleGrid& grid) {
  std::vector<DarkBlock> blocks;
  const auto width = static_cast<std::size_t>(grid.width);
  // open[c]: the block whose run started at column c in the row above, or -1.
  std::vector<std::int64_t> open(width, -1), next(width, -1);
  for (std::int32_t r = 0; r < grid.height; ++r) {
    std::fill(next.begin(), next.end(), -1);
    for (std::int32_t c = 0; c < grid.width;) {
      if (!grid.IsDark(r + 1, c + 1)) {
        ++c;
        continue;
      }
      const std::int32_t start = c;
      while (c < grid.width && grid.IsDark(r + 1, c + 1)) ++c;
      const std::int64_t above = open[static_cast<std::size_t>(start)];
      if (above >= 0 && blocks[static_cast<std::size_t>(above)].width == c - start) {
        ++blocks[static_cast<std::size_t>(above)].height;
        next[static_cast<std::size_t>(start)] = above;
      } else {
        next[static_cast<std::size_t>(start)] = static_cast<std::int64_t>(blocks.size());
        blocks.push_back({start, r, c - start, 1});
      }
    }
    open.swap(next);
  }
  return blocks;
}

std::optional<ModuleGrid> GridOf(const QrGenerator& generator) {
  if (!generator.HasSymbol()) return std::nullopt;
  ModuleGrid grid;
  grid.width = generator.SymbolWidth();
  grid.height = generator.SymbolHeight();
  if (grid.width <= 0 || grid.height <= 0 ||
      std::int64_t{grid.width} * grid.height > kMaxExportPositions) {
    return std::nullopt;
  }
  grid.foreground = generator.ForegroundColour();
  grid.background = generator.BackgroundColour();
  grid.dark.resize(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height));
  std::size_t i = 0;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) grid.dark[i++] = generator.IsDark(r, c) ? 1 : 0;
  }
  return grid;
}

std::vector<MarkRect> SwissCross(double centreX, double centreY, double side) {
  using F = SwissCrossFigures;
  const double mm = side / kSwissSymbolMm;  // modules per millimetre
  const auto centred = [&](double w, double h, bool dark) {
    return MarkRect{centreX - w * mm / 2, centreY - h * mm / 2, w * mm, h * mm, dark};
  };
  return {centred(F::kSideMm, F::kSideMm, false), centred(F::kDarkSquareMm, F::kDarkSquareMm, true),
          centred(F::kBarLengthMm, F::kBarWidthMm, false),
          centred(F::kBarWidthMm, F::kBarLengthMm, false)};
}

std::vector<MarkRect> SwissCrossOf(const QrGenerator& generator) {
  const double side = generator.SymbolWidth() - generator.MarginLeft() - generator.MarginRight();
  return SwissCross(generator.MarginLeft() + side / 2, generator.MarginTop() + side / 2, side);
}

void PaintMark(platform::Bitmap& picture, const std::vector<MarkRect>& mark, double pixelsX,
               double pixelsY, std::uint32_t darkPixel, std::uint32_t lightPixel) {
  // The first pixel whose centre is at or past `at` modules.
  const auto first = [](double at, double scale, int most) {
    return std::clamp(static_cast<int>(std::ceil(at * scale - 0.5)), 0, most);
  };
  for (const MarkRect& m : mark) {
    const int left = first(m.x, pixelsX, picture.Width());
    const int right = first(m.x + m.width, pixelsX, picture.Width());
    const int top = first(m.y, pixelsY, picture.Height());
    const int bottom = first(m.y + m.height, pixelsY, picture.Height());
    for (int y = top; y < bottom; ++y) {
      std::uint32_t* row = picture.Row(y);
      for (int x = left; x < right; ++x) row[x] = m.dark ? darkPixel : lightPixel;
    }
  }
}

}  // namespace qrsmith
