#include "export/postscript.h"

#include "export/text_format.h"

namespace qrsmith {

namespace {

using text_format::AppendColourHex;
using text_format::AppendInteger;

std::size_t SampleBytes(const ModuleGrid& grid) {
  // Six digits per position and one LF per row.
  return static_cast<std::size_t>(grid.height) * (static_cast<std::size_t>(grid.width) * 6 + 1);
}

// One line per grid row: the RRGGBB of each position, nothing between them.
void AppendSampleRows(std::string& out, const ModuleGrid& grid) {
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) AppendColourHex(out, grid.ColourAt(r, c));
    out += '\n';
  }
}

}  // namespace

std::string WritePostScriptPage(const ModuleGrid& grid, std::string_view id) {
  std::string out;
  out.reserve(SampleBytes(grid) + 160 + id.size());
  out += "%!PS\n%%KORVANE\n%!";
  out += id;
  out += '\n';
  AppendInteger(out, grid.width);
  out += ' ';
  AppendInteger(out, grid.height);
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
  AppendSampleRows(out, grid);
  out += ">}\nfalse 3 colorimage\nshowpage";
  return out;
}

std::string WriteEpsImage(const ModuleGrid& grid) {
  std::string out;
  out.reserve(SampleBytes(grid) + 256);
  out += "%!PS-Adobe-2.0 EPSF-2.0\n";
  // The bounding box lets a page-layout program (and gs -dEPSCrop) place the
  // image as Wm x Hm points rather than as a whole page.
  for (const std::string_view comment : {"%%BoundingBox: 0 0 ", "%%HiResBoundingBox: 0 0 "}) {
    out += comment;
    AppendInteger(out, grid.width);
    out += ' ';
    AppendInteger(out, grid.height);
    out += '\n';
  }
  out +=
      "/DeviceRGB setcolorspace\n"
      "gsave\n"
      "<< /ImageType 1\n"
      "/Width ";
  AppendInteger(out, grid.width);
  out += " /Height ";
  AppendInteger(out, grid.height);
  // The image matrix maps user space onto the samples: flipping y puts the
  // first sample row (grid row 1) at the top edge, as the symbol is read.
  out += "\n/ImageMatrix [1 0 0 -1 0 ";
  AppendInteger(out, grid.height);
  out +=
      "]\n"
      "/BitsPerComponent 8\n"
      "/Decode [0 1 0 1 0 1]\n"
      "/DataSource currentfile /ASCIIHexDecode filter\n"
      ">> image\n";
  AppendSampleRows(out, grid);
  out += '>';  // end of data for the ASCII hexadecimal filter
  return out;
}

}  // namespace qrsmith
