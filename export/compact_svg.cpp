#include "export/compact_svg.h"

#include <vector>

#include "export/text_format.h"

namespace qrsmith {

namespace {

using text_format::Append;
using text_format::Hex;

// Appends one segment of the path: the first of its direction absolutely,
// with the half unit that puts the stroke on the modules' centre line, the
// others relative to where the previous one ended.
class SegmentWriter {
 public:
  SegmentWriter(std::string& out, char direction) : out_(out), direction_(direction) {}

  // A run of `length` modules from column x, row y (0-based), along the direction.
  void Run(std::int32_t x, std::int32_t y, std::int32_t length) {
    if (first_) {
      Append(out_, 'M', x, direction_ == 'v' ? ".5" : "", ' ', y, direction_ == 'h' ? ".5" : "");
      first_ = false;
    } else {
      Append(out_, 'm', x - x_, ' ', y - y_);
    }
    Append(out_, direction_, length);
    x_ = direction_ == 'h' ? x + length : x;
    y_ = direction_ == 'v' ? y + length : y;
  }

 private:
  std::string& out_;
  char direction_;
  bool first_ = true;
  std::int32_t x_ = 0, y_ = 0;
};

// Calls run(start, end) for each run of dark modules start..end-1 along a
// line of `length` modules, where dark(i) tells whether module i is dark.
template <typename Dark, typename Run>
void ForEachDarkRun(std::int32_t length, Dark dark, Run run) {
  for (std::int32_t i = 0; i < length;) {
    if (!dark(i)) {
      ++i;
      continue;
    }
    std::int32_t end = i + 1;
    while (end < length && dark(end)) ++end;
    run(i, end);
    i = end;
  }
}

// Every dark module under a stroke one unit wide: first the horizontal runs
// of two modules or more, then, column by column, vertical strokes over the
// modules left alone in their row. A vertical stroke reaches from the first
// to the last such module of a column's dark run, through dark modules
// already drawn, so that neighbours left alone share one stroke. Relative
// moves keep every number short.
void AppendRuns(std::string& out, const ModuleGrid& grid) {
  std::vector<std::uint8_t> alone(grid.dark.size(), 0);
  const auto at = [&](std::int32_t r, std::int32_t c) {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(grid.width) +
           static_cast<std::size_t>(c);
  };
  SegmentWriter rows(out, 'h');
  for (std::int32_t r = 0; r < grid.height; ++r) {
    ForEachDarkRun(
        grid.width, [&](std::int32_t c) { return grid.IsDark(r + 1, c + 1); },
        [&](std::int32_t c, std::int32_t end) {
          if (end - c == 1) {
            alone[at(r, c)] = 1;
          } else {
            rows.Run(c, r, end - c);
          }
        });
  }
  SegmentWriter columns(out, 'v');
  for (std::int32_t c = 0; c < grid.width; ++c) {
    ForEachDarkRun(
        grid.height, [&](std::int32_t r) { return grid.IsDark(r + 1, c + 1); },
        [&](std::int32_t r, std::int32_t end) {
          std::int32_t first = -1, last = -1;
          for (; r < end; ++r) {
            if (alone[at(r, c)] == 0) continue;
            if (first < 0) first = r;
            last = r;
          }
          if (first >= 0) columns.Run(c, first, last + 1 - first);
        });
  }
}

}  // namespace

std::string WriteCompactSvg(const ModuleGrid& grid, std::int32_t width, std::int32_t height,
                            std::optional<double> moduleMm) {
  std::string out;
  // Runs average about two modules and take about seven characters each.
  out.reserve(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) * 2 +
              512);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
  if (moduleMm) {
    Append(out, grid.width * *moduleMm, "mm\" height=\"", grid.height * *moduleMm, "mm");
  } else {
    Append(out, width, "\" height=\"", height);
  }
  // Stretched like the SVG form when the size does not keep the modules square.
  Append(out, "\" viewBox=\"0 0 ", grid.width, ' ', grid.height,
         "\" preserveAspectRatio=\"none\">\n");
  const auto opacity = [&out](std::string_view attribute, std::uint8_t alpha) {
    if (alpha == 255) return;
    Append(out, "\" ", attribute, "=\"");
    text_format::AppendOpacity(out, alpha);
  };
  if (grid.opacity.background != 0) {
    Append(out, "<rect width=\"", grid.width, "\" height=\"", grid.height, "\" fill=\"#",
           Hex{grid.background});
    opacity("fill-opacity", grid.opacity.background);
    out += "\"/>\n";
  }
  const std::size_t pathStart = out.size();
  Append(out, "<path fill=\"none\" stroke=\"#", Hex{grid.foreground});
  opacity("stroke-opacity", grid.opacity.foreground);
  out += "\" d=\"";
  const std::size_t runsStart = out.size();
  AppendRuns(out, grid);
  if (out.size() == runsStart || grid.opacity.foreground == 0) {
    out.resize(pathStart);  // no dark module, or a clear one: no path
  } else {
    out += "\"/>\n";
  }
  // The mark after the modules' path, which the read-back takes as the first.
  for (const MarkRect& m : grid.mark) {
    Append(out, "<path d=\"M", m.x, ' ', m.y, 'h', m.width, 'v', m.height, 'h', -m.width,
           "z\" fill=\"#", Hex{m.dark ? grid.foreground : grid.background}, "\"/>\n");
  }
  out += "</svg>";
  return out;
}

}  // namespace qrsmith
