#include "export/text_art.h"

#include <algorithm>
#include <string_view>

#include "generator/qr_generator.h"

namespace qrsmith {

namespace {

constexpr std::string_view kBlackCircle = "\u25CF";             // ●
constexpr std::string_view kLowerSevenEighthsBlock = "\u2587";  // ▇
constexpr std::string_view kIdeographicSpace = "\u3000";        // full-width blank
static_assert(kBlackCircle.size() == 3 && kLowerSevenEighthsBlock.size() == 3 &&
              kIdeographicSpace.size() == 3);

}  // namespace

std::string WriteTextArt(const ModuleGrid& grid, bool circles) {
  return WriteTextArt(grid, circles ? kBlackCircle : kLowerSevenEighthsBlock, kIdeographicSpace);
}

std::string WriteTextArt(const ModuleGrid& grid, std::string_view dark, std::string_view light) {
  std::string out;
  out.reserve(static_cast<std::size_t>(grid.height) *
              (static_cast<std::size_t>(grid.width) * std::max(dark.size(), light.size()) + 2));
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      out += grid.IsDark(r, c) ? dark : light;
    }
    if (r < grid.height) out += "\r\n";
  }
  return out;
}

std::string ExportTextArt(const QrGenerator& generator, bool circles) {
  const auto grid = GridOf(generator);
  if (!grid) return {};
  return WriteTextArt(*grid, circles);
}

std::string ExportTextArt(const QrGenerator& generator, std::string_view dark,
                          std::string_view light) {
  const auto grid = GridOf(generator);
  if (!grid) return {};
  return WriteTextArt(*grid, dark, light);
}

}  // namespace qrsmith
