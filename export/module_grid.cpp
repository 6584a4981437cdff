#include "export/module_grid.h"

#include "generator/qr_generator.h"

namespace qrsmith {

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

}  // namespace qrsmith
