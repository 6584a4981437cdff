#include "export/postscript.h"

#include <optional>

#include "export/text_format.h"

namespace qrsmith {

namespace {

using text_format::AppendColourHex;
using text_format::AppendInteger;

std::size_t SampleBytes(const ModuleGrid& grid) {
  // Six digits per position and one LF per row.
  return static_cast<std::size_t>(grid.height) * (static_cast<std::size_t>(grid.width) * 6 + 1);
}

// The sample colour that a clear colour is written in, so that a colour-key
// mask leaves it unpainted; nullopt when both colours are opaque. It must
// differ from the colour that is drawn, which is often the same (black
// modules on a clear black background).
std::optional<Colour> MaskedColour(const ModuleGrid& grid) {
  const bool clearDark = grid.opacity.foreground == 0, clearLight = grid.opacity.background == 0;
  if (!clearDark && !clearLight) return std::nullopt;
  const Colour clear = clearLight ? grid.background : grid.foreground;
  const Colour drawn = clearLight ? grid.foreground : grid.background;
  return (clear != drawn || (clearDark && clearLight)) ? clear : clear ^ 0xFFFFFF;
}

// One line per grid row: the RRGGBB of each position, nothing between them.
void AppendSampleRows(std::string& out, const ModuleGrid& grid, std::optional<Colour> masked) {
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      AppendColourHex(out, masked && grid.AlphaAt(r, c) == 0 ? *masked : grid.ColourAt(r, c));
    }
    out += '\n';
  }
}

// "/MaskColor [R G B]": the samples of that colour are not painted (an
// image of type 4, colour-key masking).
void AppendMaskColour(std::string& out, Colour masked) {
  out += "/MaskColor [";
  for (const int shift : {0, 8, 16}) {
    if (shift != 0) out += ' ';
    AppendInteger(out, (masked >> shift) & 0xFF);
  }
  out += "]\n";
}

}  // namespace

std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id) {
  const std::optional<Colour> masked = MaskedColour(grid);
  std::string out;
  out.reserve(SampleBytes(grid) + 160 + id.size());
  out += "%!PS\n%%KORVANE\n%!";
  out += id;
  out += '\n';
  AppendInteger(out, grid.width);
  out += ' ';
  AppendInteger(out, grid.height);
  out += " scale\n";
  if (masked) {
    // colorimage cannot mask: the same samples as an image dictionary of type 4.
    out += "/DeviceRGB setcolorspace\n<< /ImageType 4 /Width ";
    AppendInteger(out, grid.width);
    out += " /Height ";
    AppendInteger(out, grid.height);
    out += " /BitsPerComponent 8 /Decode [0 1 0 1 0 1]\n";
    AppendMaskColour(out, *masked);
    out += "/ImageMatrix [";
  } else {
    // width height bits/component [image matrix]: the matrix maps the unit
    // square onto the samples with row 1 at the top.
    AppendInteger(out, grid.width);
    out += ' ';
    AppendInteger(out, grid.height);
    out += " 8 [";
  }
  AppendInteger(out, grid.width);
  out += " 0 0 -";
  AppendInteger(out, grid.height);
  out += " 0 ";
  AppendInteger(out, grid.height);
  out += masked ? "] /DataSource\n{<\n" : "]\n{<\n";
  AppendSampleRows(out, grid, masked);
  out += masked ? ">} >> image\nshowpage" : ">}\nfalse 3 colorimage\nshowpage";
  return out;
}

std::string WriteEpsImage(const ModuleGrid& grid) {
  const std::optional<Colour> masked = MaskedColour(grid);
  std::string out;
  out.reserve(SampleBytes(grid) + 256);
  out +=
      "%!PS-Adobe-2.0 EPSF-2.0\n"
      "/DeviceRGB setcolorspace\n"
      "gsave\n";
  out += masked ? "<< /ImageType 4\n" : "<< /ImageType 1\n";
  out += "/Width ";
  AppendInteger(out, grid.width);
  out += " /Height ";
  AppendInteger(out, grid.height);
  out +=
      "\n"
      "/ImageMatrix [1 0 0 1 0 0]\n"
      "/BitsPerComponent 8\n"
      "/Decode [0 1 0 1 0 1]\n";
  if (masked) AppendMaskColour(out, *masked);
  out +=
      "/DataSource currentfile /ASCIIHexDecode filter\n"
      ">> image\n";
  AppendSampleRows(out, grid, masked);
  out += '>';  // end of data for the ASCII hexadecimal filter
  return out;
}

}  // namespace qrsmith
