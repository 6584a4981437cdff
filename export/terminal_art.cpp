#include "export/terminal_art.h"

namespace qrsmith {

std::string RenderHalfBlocks(const QrGenerator& generator) {
  if (!generator.HasSymbol()) return {};
  const int width = generator.SymbolWidth();
  const int height = generator.SymbolHeight();
  std::string out;
  for (int r = 1; r <= height; r += 2) {
    for (int c = 1; c <= width; ++c) {
      const bool topLight = !generator.IsDark(r, c);
      // Below the last row counts as light, continuing the quiet zone.
      const bool bottomLight = r + 1 > height || !generator.IsDark(r + 1, c);
      if (topLight && bottomLight) {
        out += "\u2588";  // █
      } else if (topLight) {
        out += "\u2580";  // ▀
      } else if (bottomLight) {
        out += "\u2584";  // ▄
      } else {
        out += ' ';
      }
    }
    out += '\n';
  }
  return out;
}

std::string RenderModuleGlyphs(const QrGenerator& generator, std::string_view light,
                               std::string_view dark) {
  if (!generator.HasSymbol()) return {};
  std::string out;
  for (int r = 1; r <= generator.SymbolHeight(); ++r) {
    for (int c = 1; c <= generator.SymbolWidth(); ++c) {
      out += generator.IsDark(r, c) ? dark : light;
    }
    out += '\n';
  }
  return out;
}

std::string RenderAnsi(const QrGenerator& generator) {
  if (!generator.HasSymbol()) return {};
  static constexpr const char* kLight = "\x1b[47m  ";
  static constexpr const char* kDark = "\x1b[40m  ";
  std::string out;
  for (int r = 1; r <= generator.SymbolHeight(); ++r) {
    for (int c = 1; c <= generator.SymbolWidth(); ++c) {
      out += generator.IsDark(r, c) ? kDark : kLight;
    }
    out += "\x1b[0m\n";
  }
  return out;
}

}  // namespace qrsmith
