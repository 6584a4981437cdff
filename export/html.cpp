#include "export/html.h"

#include "export/text_format.h"
#include "generator/qr_generator.h"

namespace qrsmith {

std::string WriteHtmlFragment(const ModuleGrid& grid, std::int32_t width, std::int32_t height) {
  using text_format::Append;
  using text_format::Hex;

  std::string out;
  // An element is about 130 fixed characters and four numbers.
  out.reserve(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) * 170 +
              160);
  Append(out, "<div style=\"position:relative;overflow:hidden;width:", width, "px;height:", height,
         "px;background-color:#", Hex{grid.background});
  // The symbol is made of coloured blocks, and browsers leave backgrounds out
  // of print by default: without this the printed page is blank. The property
  // is inherited, so the outer block's setting covers every module.
  out += ";print-color-adjust:exact;-webkit-print-color-adjust:exact\">";

  // Only reached with a grid, so there is no division by a zero width.
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    const double h = static_cast<double>(height) / grid.height;
    const double top = h * (r - 1);  // divide, then multiply
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      const double w = static_cast<double>(width) / grid.width;
      const double left = w * (c - 1);
      Append(out, "<div style=\"position:absolute;overflow:hidden;left:", left, "px;top:", top,
             "px;width:", w, "px;height:", h, "px;background-color:#", Hex{grid.ColourAt(r, c)},
             "\"></div>");
    }
  }
  out += "</div>";
  return out;
}

std::string ExportHtml(const QrGenerator& generator, std::int32_t width, std::int32_t height) {
  if (!generator.HasSymbol()) {
    // No grid: the outer block alone, in the stored background colour.
    ModuleGrid empty;
    empty.background = generator.BackgroundColour();
    return WriteHtmlFragment(empty, width, height);
  }
  const auto grid = GridOf(generator);
  if (!grid) return {};
  return WriteHtmlFragment(*grid, width, height);
}

}  // namespace qrsmith
