#include "export/svg.h"

#include <optional>

#include "export/text_format.h"

namespace qrsmith {

namespace {

// The system identifier of the SVG 1.1 DTD and the SVG namespace name, as the
// SVG 1.1 recommendation publishes them.
constexpr std::string_view kSvg11Dtd = "http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd";
constexpr std::string_view kSvgNamespace = "http://www.w3.org/2000/svg";

using text_format::Append;
using text_format::Hex;

// The root element's size: width="W" height="H", or a printed size with the
// user units of a viewBox.
struct RootSize {
  std::int32_t width, height;
  std::optional<double> moduleMm;
};

std::string WriteDocument(const ModuleGrid& grid, const RootSize& size) {
  const std::int32_t width = size.width, height = size.height;
  std::string out;
  // A rectangle line is about 60 fixed characters and four numbers.
  out.reserve(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) * 96 +
              256);
  Append(out, "<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" \"",
         kSvg11Dtd, "\">\n<svg xmlns=\"", kSvgNamespace, "\" version=\"1.1\" width=\"");
  if (size.moduleMm) {
    Append(out, width * *size.moduleMm, "mm\" height=\"", height * *size.moduleMm,
           "mm\" viewBox=\"0 0 ", width, ' ', height);
  } else {
    // The view box lets a program that places the picture scale it whole.
    Append(out, width, "\" height=\"", height, "\" viewBox=\"0 0 ", width, ' ', height);
  }
  // Without anti-aliasing the edges of neighbouring rectangles meet exactly:
  // at fractional scales an anti-aliased renderer leaves light seams inside
  // dark areas.
  out += "\" shape-rendering=\"crispEdges\">\n";

  const double w = static_cast<double>(width) / grid.width;
  const double h = static_cast<double>(height) / grid.height;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    // Multiply before dividing, so that exact positions stay exact.
    const double y = (static_cast<double>(r - 1) * height) / grid.height;
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      const std::uint8_t alpha = grid.AlphaAt(r, c);
      if (alpha == 0) continue;  // a clear colour is not drawn at all
      const double x = (static_cast<double>(c - 1) * width) / grid.width;
      Append(out, "<rect x=\"", x, "\" y=\"", y, "\" width=\"", w, "\" height=\"", h, "\" fill=\"#",
             Hex{grid.ColourAt(r, c)});
      if (alpha != 255) {
        out += "\" fill-opacity=\"";
        text_format::AppendOpacity(out, alpha);
      }
      out += "\" />\n";
    }
  }
  // The mark as paths, so that every <rect> stays one grid position.
  for (const MarkRect& m : grid.mark) {
    Append(out, "<path d=\"M", m.x * w, ' ', m.y * h, 'h', m.width * w, 'v', m.height * h, 'h',
           -m.width * w, "z\" fill=\"#", Hex{m.dark ? grid.foreground : grid.background},
           "\" />\n");
  }
  out += "</svg>";
  return out;
}

}  // namespace

std::string WriteSvgDocument(const ModuleGrid& grid, std::int32_t width, std::int32_t height) {
  return WriteDocument(grid, {width, height, std::nullopt});
}

std::string WriteSvgDocumentInMillimetres(const ModuleGrid& grid, double moduleMm) {
  return WriteDocument(grid, {grid.width, grid.height, moduleMm});
}

}  // namespace qrsmith
