#include "export/postscript.h"

#include <cmath>

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

// "W H": the image's size in points, the grid's size in modules when no
// printed size is given.
void AppendPrintedSize(std::string& out, const ModuleGrid& grid, const PostScriptPrint& print) {
  if (print.pointsPerModule) {
    AppendReal(out, grid.width * *print.pointsPerModule);
    out += ' ';
    AppendReal(out, grid.height * *print.pointsPerModule);
  } else {
    AppendInteger(out, grid.width);
    out += ' ';
    AppendInteger(out, grid.height);
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
  AppendPrintedSize(out, grid, print);
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
  out.reserve(SampleBytes(grid, print.cmyk) + 360);
  out += "%!PS-Adobe-2.0 EPSF-2.0\n";
  // The bounding box lets a page-layout program (and gs -dEPSCrop) place the
  // image as Wm x Hm points (or its printed size) rather than as a whole page.
  // %%BoundingBox takes whole points, so a printed size is rounded up there.
  const double scale = print.pointsPerModule.value_or(1.0);
  out += "%%BoundingBox: 0 0 ";
  AppendInteger(out, static_cast<std::int64_t>(std::ceil(grid.width * scale - 1e-9)));
  out += ' ';
  AppendInteger(out, static_cast<std::int64_t>(std::ceil(grid.height * scale - 1e-9)));
  out += "\n%%HiResBoundingBox: 0 0 ";
  AppendPrintedSize(out, grid, print);
  out += '\n';
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
  // The image matrix maps user space onto the samples: flipping y puts the
  // first sample row (grid row 1) at the top edge, as the symbol is read.
  out += "\n/ImageMatrix [1 0 0 -1 0 ";
  AppendInteger(out, grid.height);
  out +=
      "]\n"
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
