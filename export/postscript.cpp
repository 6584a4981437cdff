#include "export/postscript.h"

#include "export/text_format.h"

namespace qrsmith {

namespace {

using text_format::AppendColourHex;
using text_format::AppendInteger;
using text_format::AppendReal;

std::size_t SampleBytes(const ModuleGrid& grid, bool cmyk) {
  // Six digits (eight for inks) per position and one LF per row.
  const std::size_t digits = cmyk ? 8 : 6;
  return static_cast<std::size_t>(grid.height) *
         (static_cast<std::size_t>(grid.width) * digits + 1);
}

// One line per grid row: the RRGGBB (or CCMMYYKK) of each position, nothing
// between them.
void AppendSampleRows(std::string& out, const ModuleGrid& grid, bool cmyk) {
  // The choice is made once, outside the loop over every position.
  const auto append = cmyk ? text_format::AppendCmykHex : AppendColourHex;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) append(out, grid.ColourAt(r, c));
    out += '\n';
  }
}

}  // namespace

std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id,
                                const PostScriptPrint& print) {
  std::string out;
  out.reserve(SampleBytes(grid, print.cmyk) + 200 + id.size());
  out += "%!PS\n%%KORVANE\n%!";
  out += id;
  out += '\n';
  // The unit square becomes the image's printed size.
  if (print.pointsPerModule) {
    AppendReal(out, grid.width * *print.pointsPerModule);
    out += ' ';
    AppendReal(out, grid.height * *print.pointsPerModule);
  } else {
    AppendInteger(out, grid.width);
    out += ' ';
    AppendInteger(out, grid.height);
  }
  out += " scale\n";
  // width height bits/component [image matrix]: the matrix maps the unit
  // square onto the samples with row 1 at the top.
  AppendInteger(out, grid.width);
  out += ' ';
  AppendInteger(out, grid.height);
  out += " 8 [";
  AppendInteger(out, grid.width);
  out += " 0 0 -";
  AppendInteger(out, grid.height);
  out += " 0 ";
  AppendInteger(out, grid.height);
  out += "]\n{<\n";
  AppendSampleRows(out, grid, print.cmyk);
  out += print.cmyk ? ">}\nfalse 4 colorimage\nshowpage" : ">}\nfalse 3 colorimage\nshowpage";
  return out;
}

std::string WriteEpsImage(const ModuleGrid& grid, const PostScriptPrint& print) {
  std::string out;
  out.reserve(SampleBytes(grid, print.cmyk) + 300);
  out += "%!PS-Adobe-2.0 EPSF-2.0\n";
  out += print.cmyk ? "/DeviceCMYK setcolorspace\n" : "/DeviceRGB setcolorspace\n";
  out += "gsave\n";
  // One image unit per module becomes the printed module size.
  if (print.pointsPerModule) {
    AppendReal(out, *print.pointsPerModule);
    out += ' ';
    AppendReal(out, *print.pointsPerModule);
    out += " scale\n";
  }
  out +=
      "<< /ImageType 1\n"
      "/Width ";
  AppendInteger(out, grid.width);
  out += " /Height ";
  AppendInteger(out, grid.height);
  out +=
      "\n"
      "/ImageMatrix [1 0 0 1 0 0]\n"
      "/BitsPerComponent 8\n";
  out += print.cmyk ? "/Decode [0 1 0 1 0 1 0 1]\n" : "/Decode [0 1 0 1 0 1]\n";
  out +=
      "/DataSource currentfile /ASCIIHexDecode filter\n"
      ">> image\n";
  AppendSampleRows(out, grid, print.cmyk);
  out += '>';  // end of data for the ASCII hexadecimal filter
  return out;
}

}  // namespace qrsmith
