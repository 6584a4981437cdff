#include "export/postscript.h"

#include <cmath>
#include <optional>
#include <vector>

#include "export/text_format.h"
#include "platform/cmyk.h"
#include "platform/colour.h"

namespace qrsmith {

namespace {

using text_format::Append;
using text_format::AppendColourHex;
using text_format::AppendInteger;

std::size_t SampleBytes(const ModuleGrid& grid, bool cmyk) {
  // Six digits (eight for inks) per position and one LF per row.
  const std::size_t digits = cmyk ? 8 : 6;
  return static_cast<std::size_t>(grid.height) *
         (static_cast<std::size_t>(grid.width) * digits + 1);
}

// The samples a colour is written as: R, G, B, or its inks C, M, Y, K.
std::vector<std::uint8_t> SamplesOf(Colour colour, bool cmyk) {
  const auto [red, green, blue] = platform::ChannelsOf(colour);
  if (!cmyk) return {red, green, blue};
  const auto inks = platform::CmykOfRgb(red, green, blue);
  return {inks.begin(), inks.end()};
}

// The sample colour that a clear colour is written in, so that a colour-key
// mask leaves it unpainted; nullopt when both colours are opaque. Its samples
// must differ from those of the colour that is drawn, which is often the same
// (black modules on a clear black background).
std::optional<Colour> MaskedColour(const ModuleGrid& grid, bool cmyk) {
  const bool clearDark = grid.opacity.foreground == 0, clearLight = grid.opacity.background == 0;
  if (!clearDark && !clearLight) return std::nullopt;
  const Colour clear = clearLight ? grid.background : grid.foreground;
  const Colour drawn = clearLight ? grid.foreground : grid.background;
  const bool distinct = SamplesOf(clear, cmyk) != SamplesOf(drawn, cmyk);
  return (distinct || (clearDark && clearLight)) ? clear : clear ^ 0xFFFFFF;
}

// One line per grid row: the RRGGBB (or CCMMYYKK) of each position, nothing
// between them; a clear position in the masked colour.
void AppendSampleRows(std::string& out, const ModuleGrid& grid, bool cmyk,
                      std::optional<Colour> masked) {
  // The choice is made once, outside the loop over every position.
  const auto append = cmyk ? text_format::AppendCmykHex : AppendColourHex;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      append(out, masked && grid.AlphaAt(r, c) == 0 ? *masked : grid.ColourAt(r, c));
    }
    out += '\n';
  }
}

// "/MaskColor [R G B]" (or "[C M Y K]"): the samples of that colour are not
// painted (an image of type 4, colour-key masking).
void AppendMaskColour(std::string& out, Colour masked, bool cmyk) {
  out += "/MaskColor [";
  bool first = true;
  for (const std::uint8_t sample : SamplesOf(masked, cmyk)) {
    if (!first) out += ' ';
    first = false;
    AppendInteger(out, sample);
  }
  out += "]\n";
}

std::string_view DecodeArray(bool cmyk) {
  return cmyk ? "/Decode [0 1 0 1 0 1 0 1]" : "/Decode [0 1 0 1 0 1]";
}

// "W H": the image's size in points, the grid's size in modules when no
// printed size is given.
void AppendPrintedSize(std::string& out, const ModuleGrid& grid, const PostScriptPrint& print) {
  if (print.pointsPerModule) {
    Append(out, grid.width * *print.pointsPerModule, ' ', grid.height * *print.pointsPerModule);
  } else {
    Append(out, grid.width, ' ', grid.height);
  }
}

}  // namespace

std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id,
                                const PostScriptPrint& print) {
  const std::optional<Colour> masked = MaskedColour(grid, print.cmyk);
  std::string out;
  out.reserve(SampleBytes(grid, print.cmyk) + 260 + id.size());
  Append(out, "%!PS\n%%KORVANE\n%!", id, '\n');
  // The unit square becomes the image's printed size.
  AppendPrintedSize(out, grid, print);
  out += " scale\n";
  if (masked) {
    // colorimage cannot mask: the same samples as an image dictionary of type 4.
    Append(out, print.cmyk ? "/DeviceCMYK" : "/DeviceRGB",
           " setcolorspace\n<< /ImageType 4 /Width ", grid.width, " /Height ", grid.height,
           " /BitsPerComponent 8 ", DecodeArray(print.cmyk), '\n');
    AppendMaskColour(out, *masked, print.cmyk);
    out += "/ImageMatrix [";
  } else {
    // width height bits/component [image matrix]: the matrix maps the unit
    // square onto the samples with row 1 at the top.
    Append(out, grid.width, ' ', grid.height, " 8 [");
  }
  Append(out, grid.width, " 0 0 -", grid.height, " 0 ", grid.height,
         masked ? "] /DataSource\n{<\n" : "]\n{<\n");
  AppendSampleRows(out, grid, print.cmyk, masked);
  if (masked) {
    out += ">} >> image\nshowpage";
  } else {
    out += print.cmyk ? ">}\nfalse 4 colorimage\nshowpage" : ">}\nfalse 3 colorimage\nshowpage";
  }
  return out;
}

std::string WriteEpsImage(const ModuleGrid& grid, const PostScriptPrint& print) {
  const std::optional<Colour> masked = MaskedColour(grid, print.cmyk);
  std::string out;
  out.reserve(SampleBytes(grid, print.cmyk) + 400);
  out += "%!PS-Adobe-2.0 EPSF-2.0\n";
  // The bounding box lets a page-layout program (and gs -dEPSCrop) place the
  // image as Wm x Hm points (or its printed size) rather than as a whole page.
  // %%BoundingBox takes whole points, so a printed size is rounded up there.
  const double scale = print.pointsPerModule.value_or(1.0);
  Append(out, "%%BoundingBox: 0 0 ",
         static_cast<std::int64_t>(std::ceil(grid.width * scale - 1e-9)), ' ',
         static_cast<std::int64_t>(std::ceil(grid.height * scale - 1e-9)),
         "\n%%HiResBoundingBox: 0 0 ");
  AppendPrintedSize(out, grid, print);
  out += '\n';
  out += print.cmyk ? "/DeviceCMYK setcolorspace\n" : "/DeviceRGB setcolorspace\n";
  out += "gsave\n";
  // One image unit per module becomes the printed module size.
  if (print.pointsPerModule) {
    Append(out, *print.pointsPerModule, ' ', *print.pointsPerModule, " scale\n");
  }
  Append(out, masked ? "<< /ImageType 4\n" : "<< /ImageType 1\n", "/Width ", grid.width,
         " /Height ", grid.height);
  // The image matrix maps user space onto the samples: flipping y puts the
  // first sample row (grid row 1) at the top edge, as the symbol is read.
  Append(out, "\n/ImageMatrix [1 0 0 -1 0 ", grid.height, "]\n/BitsPerComponent 8\n",
         DecodeArray(print.cmyk), '\n');
  if (masked) AppendMaskColour(out, *masked, print.cmyk);
  out +=
      "/DataSource currentfile /ASCIIHexDecode filter\n"
      ">> image\n";
  AppendSampleRows(out, grid, print.cmyk, masked);
  out += '>';  // end of data for the ASCII hexadecimal filter
  return out;
}

}  // namespace qrsmith
