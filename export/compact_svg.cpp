#include "export/compact_svg.h"

#include "export/text_format.h"

namespace qrsmith {

namespace {

using text_format::AppendColourHex;
using text_format::AppendInteger;

// The runs of dark modules, row after row, each run one "h": a stroke one
// unit wide along a row's centre line covers exactly that row's modules, and
// relative moves keep every number short.
void AppendRuns(std::string& out, const ModuleGrid& grid) {
  bool first = true;
  std::int32_t x = 0, y = 0;  // where the previous run ended
  for (std::int32_t r = 0; r < grid.height; ++r) {
    for (std::int32_t c = 0; c < grid.width;) {
      if (!grid.IsDark(r + 1, c + 1)) {
        ++c;
        continue;
      }
      std::int32_t end = c + 1;
      while (end < grid.width && grid.IsDark(r + 1, end + 1)) ++end;
      if (first) {
        out += 'M';
        AppendInteger(out, c);
        out += ' ';
        AppendInteger(out, r);
        out += ".5";
        first = false;
      } else {
        out += 'm';
        AppendInteger(out, c - x);
        out += ' ';
        AppendInteger(out, r - y);
      }
      out += 'h';
      AppendInteger(out, end - c);
      x = end;
      y = r;
      c = end;
    }
  }
}

}  // namespace

std::string WriteCompactSvg(const ModuleGrid& grid, std::int32_t width, std::int32_t height) {
  std::string out;
  // Runs average about two modules and take about seven characters each.
  out.reserve(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) * 2 +
              512);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
  AppendInteger(out, width);
  out += "\" height=\"";
  AppendInteger(out, height);
  out += "\" viewBox=\"0 0 ";
  AppendInteger(out, grid.width);
  out += ' ';
  AppendInteger(out, grid.height);
  // Stretched like the SVG form when the size does not keep the modules
  // square; no anti-aliasing, so runs of neighbouring rows meet without seams.
  out += "\" preserveAspectRatio=\"none\" shape-rendering=\"crispEdges\">\n<rect width=\"";
  AppendInteger(out, grid.width);
  out += "\" height=\"";
  AppendInteger(out, grid.height);
  out += "\" fill=\"#";
  AppendColourHex(out, grid.background);
  out += "\"/>\n";
  const std::size_t pathStart = out.size();
  out += "<path fill=\"none\" stroke=\"#";
  AppendColourHex(out, grid.foreground);
  out += "\" d=\"";
  const std::size_t runsStart = out.size();
  AppendRuns(out, grid);
  if (out.size() == runsStart) {
    out.resize(pathStart);  // no dark module: no path
  } else {
    out += "\"/>\n";
  }
  out += "</svg>";
  return out;
}

}  // namespace qrsmith
