#include "verify/read_back.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <string_view>

#include "export/solid_metafile.h"
#include "export/text_format.h"
#include "platform/codecs/byte_order.h"
#include "platform/colour.h"
#include "verify/pdf_read_back.h"

namespace qrsmith::verify {

namespace {

using Colours = std::vector<Colour>;

using platform::codecs::LoadLe16;
using platform::codecs::LoadLe32;

// "RRGGBB" as a 0x00BBGGRR colour; nullopt for anything else.
std::optional<Colour> ColourOfHex(std::string_view hex) {
  if (hex.size() != 6) return std::nullopt;
  const auto parsed = platform::ParseColourText(hex);
  if (!parsed) return std::nullopt;
  return parsed->colour;
}

// The six hexadecimal digits after each `marker`, from `from` on.
std::optional<Colours> ColoursAfter(std::string_view text, std::string_view marker,
                                    std::size_t from = 0) {
  Colours out;
  for (auto at = text.find(marker, from); at != std::string_view::npos;
       at = text.find(marker, at + marker.size())) {
    const auto colour = ColourOfHex(text.substr(at + marker.size(), 6));
    if (!colour) return std::nullopt;
    out.push_back(*colour);
  }
  return out;
}

// PostScript and EPS: the image samples in hexadecimal, between `open` and
// the closing ">", line ends left out.
std::optional<std::string> PostScriptHex(std::string_view text, std::string_view open) {
  const auto start = text.find(open);
  if (start == std::string_view::npos) return std::nullopt;
  const auto end = text.find('>', start + open.size());
  if (end == std::string_view::npos) return std::nullopt;
  std::string hex;
  for (char c : text.substr(start + open.size(), end - start - open.size())) {
    if (c != '\n' && c != '\r') hex += c;
  }
  return hex;
}

// The RGB samples, three bytes per position.
std::optional<Colours> PostScriptSamples(const std::string& hex) {
  if (hex.size() % 6 != 0) return std::nullopt;
  Colours out;
  for (std::size_t i = 0; i < hex.size(); i += 6) {
    const auto colour = ColourOfHex(std::string_view(hex).substr(i, 6));
    if (!colour) return std::nullopt;
    out.push_back(*colour);
  }
  return out;
}

// CMYK samples, four bytes per position: dark where they are the
// foreground's inks.
std::optional<std::vector<std::uint8_t>> CmykDarkSamples(const std::string& hex,
                                                         std::size_t positions, Colour foreground) {
  if (hex.size() != positions * 8) return std::nullopt;
  std::string dark;
  text_format::AppendCmykHex(dark, foreground);
  std::vector<std::uint8_t> out(positions);
  for (std::size_t i = 0; i < positions; ++i) out[i] = hex.compare(i * 8, 8, dark) == 0 ? 1 : 0;
  return out;
}

// The number after `marker` within `element`; nullopt when it is not there.
std::optional<double> NumberAfter(std::string_view element, std::string_view marker) {
  const auto at = element.find(marker);
  if (at == std::string_view::npos) return std::nullopt;
  const char* start = element.data() + at + marker.size();
  double value = 0;
  const auto [end, error] = std::from_chars(start, element.data() + element.size(), value);
  if (error != std::errc() || end == start) return std::nullopt;
  return value;
}

// SVG: each position as its rectangle shows on white, found by the
// rectangle's place (x / width, y / height), since a clear colour's
// rectangles are left out. White where nothing is drawn; nullopt for a
// rectangle off the grid or drawn twice, or a position missing though both
// colours are drawn.
std::optional<Colours> SvgComposites(std::string_view text, std::int32_t width, std::int32_t height,
                                     const Opacity& opacity) {
  const std::size_t positions = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  Colours out(positions, kWhite);
  std::vector<bool> drawn(positions, false);
  std::size_t count = 0;
  for (auto at = text.find("<rect "); at != std::string_view::npos;
       at = text.find("<rect ", at + 1)) {
    const auto end = text.find("/>", at);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view rect = text.substr(at, end - at);
    const auto x = NumberAfter(rect, " x=\""), y = NumberAfter(rect, " y=\"");
    const auto w = NumberAfter(rect, " width=\""), h = NumberAfter(rect, " height=\"");
    const auto fill = rect.find("fill=\"#");
    if (!x || !y || !w || !h || *w <= 0 || *h <= 0 || fill == std::string_view::npos) {
      return std::nullopt;
    }
    const auto colour = ColourOfHex(rect.substr(fill + 7, 6));
    const auto alpha = NumberAfter(rect, "fill-opacity=\"").value_or(1.0);
    const double c = std::round(*x / *w), r = std::round(*y / *h);
    // Written so that NaN fails every test.
    const bool onGrid = c >= 0 && r >= 0 && c < width && r < height;
    if (!colour || !(alpha >= 0 && alpha <= 1) || !onGrid) {
      return std::nullopt;
    }
    const auto i =
        static_cast<std::size_t>(r) * static_cast<std::size_t>(width) + static_cast<std::size_t>(c);
    if (drawn[i]) return std::nullopt;
    drawn[i] = true;
    ++count;
    out[i] = ColourOnWhite(*colour, static_cast<std::uint8_t>(std::lround(alpha * 255)));
  }
  const bool everyPositionDrawn = opacity.foreground != 0 && opacity.background != 0;
  if (everyPositionDrawn && count != positions) return std::nullopt;
  return out;
}

// PostScript and EPS: the samples of the "/MaskColor [R G B]" colour key,
// when there is one, are not painted and show white.
void ComposeMaskedSamples(std::string_view text, Colours& samples) {
  const auto at = text.find("/MaskColor [");
  if (at == std::string_view::npos) return;
  std::istringstream numbers{std::string(text.substr(at + 12, 16))};
  std::uint32_t red = 0, green = 0, blue = 0;
  if (!(numbers >> red >> green >> blue)) return;
  const Colour masked = red | (green << 8) | (blue << 16);
  for (Colour& sample : samples) {
    if (sample == masked) sample = kWhite;
  }
}

// PostScript and EPS with a clear colour: a stencil of 1 bits, rows padded
// to whole bytes, painting the colour that is not clear. Dark are the
// positions painted in the foreground.
std::optional<std::vector<std::uint8_t>> StencilGrid(std::string_view text, std::int32_t width,
                                                     std::int32_t height, const Opacity& opacity) {
  const auto hex = PostScriptHex(text, ">> imagemask\n");
  const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  if (!hex || hex->size() != rowBytes * 2 * static_cast<std::size_t>(height)) return std::nullopt;
  const bool paintsDark = opacity.background == 0;
  if (opacity.foreground == 0 && paintsDark) return std::nullopt;
  std::vector<std::uint8_t> dark(static_cast<std::size_t>(width) *
                                 static_cast<std::size_t>(height));
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      const std::size_t at =
          (static_cast<std::size_t>(r) * rowBytes + static_cast<std::size_t>(c / 8)) * 2;
      unsigned byte = 0;
      if (std::from_chars(hex->data() + at, hex->data() + at + 2, byte, 16).ec != std::errc()) {
        return std::nullopt;
      }
      const bool bit = (byte >> (7 - c % 8)) & 1;
      // A clear foreground is never seen as dark.
      dark[static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(c)] = paintsDark ? bit : (!bit && opacity.foreground != 0);
    }
  }
  return dark;
}

// The solid metafiles: rectangles of `unitsPerModule` logical units a module,
// each four corners of a polygon, filled with the brush selected. A module is
// dark when a polygon of the foreground's brush covers it and nothing
// outside the grid or off the module lines is drawn.
class PolygonGrid {
 public:
  PolygonGrid(std::int32_t width, std::int32_t height, std::int64_t unitsPerModule)
      : width_(width),
        height_(height),
        unit_(unitsPerModule),
        dark_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}
  // One polygon of `points` (x, y) pairs; false when it is no module rectangle.
  bool Polygon(const std::vector<std::int64_t>& xy, bool dark) {
    if (xy.size() != 8 || unit_ < 1) return false;
    std::int64_t x0 = xy[0], x1 = xy[0], y0 = xy[1], y1 = xy[1];
    for (std::size_t i = 0; i < 8; i += 2) {
      x0 = std::min(x0, xy[i]), x1 = std::max(x1, xy[i]);
      y0 = std::min(y0, xy[i + 1]), y1 = std::max(y1, xy[i + 1]);
    }
    for (const std::int64_t v : {x0, x1, y0, y1}) {
      if (v % unit_ != 0) return false;
    }
    x0 /= unit_, x1 /= unit_, y0 /= unit_, y1 /= unit_;
    if (x0 < 0 || y0 < 0 || x1 > width_ || y1 > height_) return false;
    if (!dark) return true;
    for (std::int64_t y = y0; y < y1; ++y) {
      for (std::int64_t x = x0; x < x1; ++x) dark_[static_cast<std::size_t>(y * width_ + x)] = 1;
    }
    return true;
  }
  std::vector<std::uint8_t> Dark() const { return dark_; }

 private:
  std::int64_t width_, height_, unit_;
  std::vector<std::uint8_t> dark_;
};

// Whether the record of `size` bytes at `at` of a metafile holds
// kMarkComment from its byte `from` on.
bool IsMarkComment(const Bytes& file, std::size_t at, std::size_t size, std::size_t from) {
  if (size < from + kMarkComment.size()) return false;
  const auto start = file.begin() + static_cast<std::ptrdiff_t>(at + from);
  return std::equal(kMarkComment.begin(), kMarkComment.end(), start);
}

std::optional<std::vector<std::uint8_t>> SolidEmfGrid(const Bytes& emf, std::int32_t width,
                                                      std::int32_t height, Colour foreground) {
  constexpr std::uint32_t kCreateBrushIndirect = 39, kPolyPolygon16 = 91, kComment = 70;
  if (emf.size() < 24 || width < 1) return std::nullopt;
  const std::int64_t right = static_cast<std::int32_t>(LoadLe32(&emf[16])) + std::int64_t{1};
  if (right % width != 0) return std::nullopt;
  PolygonGrid grid(width, height, right / width);
  std::optional<Colour> brush;
  for (std::size_t at = 0; at + 8 <= emf.size();) {
    const std::uint32_t type = LoadLe32(&emf[at]), size = LoadLe32(&emf[at + 4]);
    if (size < 8 || size > emf.size() - at) return std::nullopt;
    if (type == kComment && IsMarkComment(emf, at, size, 12)) break;  // the mark follows
    if (type == kCreateBrushIndirect && size >= 24) brush = LoadLe32(&emf[at + 16]);
    if (type == kPolyPolygon16) {
      if (size < 32 || !brush) return std::nullopt;
      const std::uint64_t polygons = LoadLe32(&emf[at + 24]), points = LoadLe32(&emf[at + 28]);
      if (points != polygons * 4 || 32 + polygons * 4 + points * 4 != size) return std::nullopt;
      std::size_t p = at + 32 + polygons * 4;
      for (std::uint64_t i = 0; i < polygons; ++i) {
        std::vector<std::int64_t> xy;
        for (int k = 0; k < 8; ++k, p += 2)
          xy.push_back(static_cast<std::int16_t>(LoadLe16(&emf[p])));
        if (!grid.Polygon(xy, *brush == foreground)) return std::nullopt;
      }
    }
    at += size;
  }
  return grid.Dark();
}

std::optional<std::vector<std::uint8_t>> SolidWmfGrid(const Bytes& wmf, std::int32_t width,
                                                      std::int32_t height, Colour foreground) {
  constexpr std::uint32_t kCreateBrushIndirect = 0x02FC, kPolyPolygon = 0x0538, kEscape = 0x0626;
  constexpr std::size_t kPlaceableBytes = 22, kHeaderBytes = 18;
  if (wmf.size() < kPlaceableBytes + kHeaderBytes || width < 1) return std::nullopt;
  const std::int64_t right = LoadLe16(&wmf[10]);
  if (right % width != 0) return std::nullopt;
  PolygonGrid grid(width, height, right / width);
  std::optional<Colour> brush;
  for (std::size_t at = kPlaceableBytes + kHeaderBytes; at + 6 <= wmf.size();) {
    const std::size_t size = std::size_t{LoadLe32(&wmf[at])} * 2;
    if (size < 6 || size > wmf.size() - at) return std::nullopt;
    const std::uint32_t function = LoadLe16(&wmf[at + 4]);
    if (function == kEscape && IsMarkComment(wmf, at, size, 10)) break;  // the mark follows
    if (function == kCreateBrushIndirect && size >= 14) brush = LoadLe32(&wmf[at + 8]);
    if (function == kPolyPolygon) {
      if (size < 8 || !brush) return std::nullopt;
      const std::size_t polygons = LoadLe16(&wmf[at + 6]);
      if (8 + polygons * 2 + polygons * 16 != size) return std::nullopt;
      std::size_t p = at + 8 + polygons * 2;
      for (std::size_t i = 0; i < polygons; ++i) {
        std::vector<std::int64_t> xy;
        for (int k = 0; k < 8; ++k, p += 2)
          xy.push_back(static_cast<std::int16_t>(LoadLe16(&wmf[p])));
        if (!grid.Polygon(xy, *brush == foreground)) return std::nullopt;
      }
    }
    at += size;
  }
  return grid.Dark();
}

// Text art: "　" light, any other glyph dark, CR LF between the rows.
std::optional<std::vector<std::uint8_t>> TextArtGrid(std::string_view text) {
  static constexpr std::string_view kLight = "\xE3\x80\x80";  // U+3000
  std::vector<std::uint8_t> dark;
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at, 2) == "\r\n") {
      at += 2;
      continue;
    }
    dark.push_back(text.substr(at, 3) == kLight ? 0 : 1);
    at += 3;  // each glyph is three bytes of UTF-8
  }
  return dark;
}

// The compact SVG's path: "M«x» «y».5" starts horizontal runs, "M«x».5 «y»"
// vertical ones, "m«dx» «dy»" moves from the end of the previous run, and
// "h«n»" or "v«n»" is a run of n dark modules. Only a path in the stroke
// colour `foreground` counts; no path is an all-light grid.
std::optional<std::vector<std::uint8_t>> SvgPathGrid(std::string_view text, std::int32_t width,
                                                     std::int32_t height, Colour foreground) {
  std::vector<std::uint8_t> dark(static_cast<std::size_t>(width) *
                                 static_cast<std::size_t>(height));
  if (text.rfind("</svg>") == std::string_view::npos) return std::nullopt;
  const auto path = text.find("<path ");
  if (path == std::string_view::npos) return dark;
  const auto stroke = ColoursAfter(text.substr(path, text.find('>', path) - path), "stroke=\"#");
  if (!stroke || stroke->size() != 1 || stroke->front() != foreground) return std::nullopt;
  const auto start = text.find(" d=\"", path);
  const auto end = start == std::string_view::npos ? start : text.find('"', start + 4);
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view d = text.substr(start + 4, end - start - 4);
  std::size_t at = 0;
  // A signed decimal integer at `at`, and whether ".5" follows it.
  const auto number = [&](std::int64_t& value, bool& half) {
    const bool negative = at < d.size() && d[at] == '-';
    if (negative) ++at;
    const std::size_t digits = at;
    value = 0;
    while (at < d.size() && d[at] >= '0' && d[at] <= '9' && at - digits < 6) {
      value = value * 10 + (d[at++] - '0');
    }
    if (negative) value = -value;
    half = d.substr(at, 2) == ".5";
    if (half) at += 2;
    return at > digits;
  };
  std::int64_t x = 0, y = 0;
  char direction = 0;  // 'h' or 'v', as the last "M" set
  while (at < d.size()) {
    const char command = d[at++];
    std::int64_t a = 0, b = 0;
    bool halfA = false, halfB = false;
    if (command == 'M' || (command == 'm' && direction != 0)) {
      if (!number(a, halfA) || at >= d.size() || d[at++] != ' ' || !number(b, halfB)) {
        return std::nullopt;
      }
      if (command == 'M') {
        if (halfA == halfB) return std::nullopt;
        direction = halfB ? 'h' : 'v';
        x = y = 0;
      } else if (halfA || halfB) {
        return std::nullopt;
      }
      x += a;
      y += b;
    } else if (command == direction) {
      if (!number(a, halfA) || halfA || a < 1 || x < 0 || y < 0) return std::nullopt;
      const std::int64_t dx = direction == 'h' ? 1 : 0, dy = 1 - dx;
      if (x + dx * (a - 1) >= width || y + dy * (a - 1) >= height) return std::nullopt;
      // The position ends just past the run, where the next move starts from.
      for (; a > 0; --a, x += dx, y += dy) dark[static_cast<std::size_t>(y * width + x)] = 1;
    } else {
      return std::nullopt;
    }
  }
  return dark;
}

// The integer after `marker`, from `from` on.
std::optional<std::int64_t> IntegerAfter(std::string_view text, std::string_view marker,
                                         std::size_t from = 0) {
  const auto at = text.find(marker, from);
  if (at == std::string_view::npos) return std::nullopt;
  std::int64_t value = 0;
  std::size_t i = at + marker.size();
  const std::size_t start = i;
  for (; i < text.size() && i - start < 12 && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  if (i == start) return std::nullopt;
  return value;
}

}  // namespace

std::optional<DrawnSize> ReadDrawnSize(FormId form, const Bytes& file) {
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  std::optional<std::int64_t> width, height;
  if (form == FormId::kSvg || form == FormId::kSvgPath) {
    const auto svg = text.find("<svg ");
    if (svg == std::string_view::npos) return std::nullopt;
    // A document printed in millimetres draws its viewBox's units.
    static constexpr std::string_view kViewBox = " viewBox=\"0 0 ";
    const auto box = text.substr(0, text.find('>', svg)).find(kViewBox, svg);
    if (box != std::string_view::npos) {
      width = IntegerAfter(text, kViewBox, box);
      const auto space = text.find(' ', box + kViewBox.size());
      height = space == std::string_view::npos ? std::nullopt : IntegerAfter(text, " ", space);
      if (!width || !height) return DrawnSize{};
      return DrawnSize{*width, *height};
    }
    width = IntegerAfter(text, " width=\"", svg);
    height = IntegerAfter(text, " height=\"", svg);
  } else if (form == FormId::kHtml) {
    width = IntegerAfter(text, "width:");
    height = IntegerAfter(text, "height:");
  } else {
    return std::nullopt;
  }
  if (!width || !height) return DrawnSize{};
  return DrawnSize{*width, *height};
}

std::optional<std::vector<std::uint8_t>> ReadBackGrid(FormId form, const Bytes& file,
                                                      std::int32_t width, std::int32_t height,
                                                      Colour foreground, const Opacity& opacity) {
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  const std::size_t positions = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (form == FormId::kSvgPath) return SvgPathGrid(text, width, height, foreground);
  // The tool's metafiles are drawn solid (export/solid_metafile.h).
  if (form == FormId::kEmf) return SolidEmfGrid(file, width, height, foreground);
  if (form == FormId::kWmf) return SolidWmfGrid(file, width, height, foreground);
  if (form == FormId::kTxt) {
    auto dark = TextArtGrid(text);
    if (!dark || dark->size() != positions) return std::nullopt;
    return dark;
  }
  std::optional<Colours> colours;
  switch (form) {
    case FormId::kSvg:
      colours = SvgComposites(text, width, height, opacity);
      break;
    // The first background colour is the outer block's.
    case FormId::kHtml:
      colours = ColoursAfter(text, "background-color:#", 1);
      break;
    case FormId::kEps:
    case FormId::kPs: {
      if (text.find(">> imagemask\n") != std::string_view::npos) {
        return StencilGrid(text, width, height, opacity);
      }
      const auto hex = PostScriptHex(text, ">> image\n");
      if (!hex) return std::nullopt;
      if (hex->size() == positions * 8) {
        // Inks: dark where a position carries the foreground's inks, which a
        // clear foreground never paints.
        if (opacity.foreground == 0) return std::nullopt;
        return CmykDarkSamples(*hex, positions, foreground);
      }
      colours = PostScriptSamples(*hex);
      if (colours) ComposeMaskedSamples(text, *colours);
      break;
    }
    case FormId::kPdf: {
      // A whole file ends with its trailer's %%EOF; the page content comes
      // early, so a cut file may still hold all of it.
      const auto last = text.find_last_not_of("\r\n ");
      if (last == std::string_view::npos || last < 4 || text.substr(last - 4, 5) != "%%EOF") {
        return std::nullopt;
      }
      return PdfDarkGrid(text, width, height);
    }
    default:
      return std::nullopt;
  }
  if (!colours || colours->size() < positions) return std::nullopt;
  // The outer block's background comes first; the positions are the last.
  if (form == FormId::kHtml) {
    colours->erase(colours->begin(), colours->end() - static_cast<std::ptrdiff_t>(positions));
  }
  if (colours->size() != positions) return std::nullopt;
  const Colour darkLooks = ColourOnWhite(foreground, opacity.foreground);
  std::vector<std::uint8_t> dark(positions);
  for (std::size_t i = 0; i < positions; ++i) dark[i] = (*colours)[i] == darkLooks ? 1 : 0;
  return dark;
}

}  // namespace qrsmith::verify
