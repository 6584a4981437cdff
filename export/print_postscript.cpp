#include "export/print_postscript.h"

#include <array>
#include <cmath>

#include "export/text_format.h"
#include "platform/cmyk.h"
#include "platform/colour.h"

#ifndef QRSMITH_VERSION
#define QRSMITH_VERSION "0"
#endif

namespace qrsmith {

namespace {

using text_format::Append;

// A4 in points, and 10 mm, the margin most printers cannot print into.
constexpr double kA4Width = 595.0, kA4Height = 842.0;
constexpr double kMargin = 10.0 / 25.4 * 72.0;
// Hexadecimal digits per line: DSC readers take lines of up to 255 characters.
constexpr std::size_t kDigitsPerLine = 128;

class HexLines {
 public:
  explicit HexLines(std::string& out) : out_(out) {}
  void Byte(std::uint8_t b) {
    platform::AppendHexByte(out_, b);
    if ((count_ += 2) == kDigitsPerLine) Break();
  }
  void Break() {
    if (count_ > 0) out_ += '\n';
    count_ = 0;
  }

 private:
  std::string& out_;
  std::size_t count_ = 0;
};

std::array<std::uint8_t, 4> Samples(Colour colour, bool cmyk) {
  const auto [r, g, b] = platform::ChannelsOf(colour);
  if (cmyk) return platform::CmykOfRgb(r, g, b);
  return {r, g, b, 0};
}

// "r g b setrgbcolor" or "c m y k setcmykcolor", components 0..1.
void AppendSetColour(std::string& out, Colour colour, bool cmyk) {
  const auto samples = Samples(colour, cmyk);
  for (int i = 0; i < (cmyk ? 4 : 3); ++i)
    Append(out, std::round(samples[i] / 255.0 * 1e4) / 1e4, ' ');
  out += cmyk ? "setcmykcolor\n" : "setrgbcolor\n";
}

// The image dictionary's common part; the matrix puts grid row 1 at the top
// of the unit square scaled to the grid.
void AppendImageDictionary(std::string& out, const ModuleGrid& grid, int bits,
                           std::string_view decode) {
  Append(out, "<< /ImageType 1 /Width ", grid.width, " /Height ", grid.height,
         " /BitsPerComponent ", bits, "\n/Decode [", decode, "] /ImageMatrix [1 0 0 -1 0 ",
         grid.height, "]\n/DataSource currentfile /ASCIIHexDecode filter\n");
}

void AppendColourImage(std::string& out, const ModuleGrid& grid, bool cmyk) {
  out += cmyk ? "/DeviceCMYK setcolorspace\n" : "/DeviceRGB setcolorspace\n";
  AppendImageDictionary(out, grid, 8, cmyk ? "0 1 0 1 0 1 0 1" : "0 1 0 1 0 1");
  out += ">> image\n";
  const auto dark = Samples(grid.foreground, cmyk), light = Samples(grid.background, cmyk);
  HexLines hex(out);
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      const auto& s = grid.IsDark(r, c) ? dark : light;
      for (int i = 0; i < (cmyk ? 4 : 3); ++i) hex.Byte(s[static_cast<std::size_t>(i)]);
    }
    hex.Break();
  }
  out += ">\n";  // the end of the filter's data
}

// The stencil: a 1 bit paints the current colour at the positions that are
// dark (or light, when `paintDark` is false); the others are left untouched.
void AppendStencil(std::string& out, const ModuleGrid& grid, bool paintDark) {
  AppendImageDictionary(out, grid, 1, "1 0");
  out += ">> imagemask\n";
  HexLines hex(out);
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    std::uint8_t byte = 0;
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      if (grid.IsDark(r, c) == paintDark) byte |= static_cast<std::uint8_t>(0x80 >> ((c - 1) % 8));
      if (c % 8 == 0 || c == grid.width) {
        hex.Byte(byte);
        byte = 0;
      }
    }
    hex.Break();
  }
  out += ">\n";
}

// A DSC text as a PostScript string: delimiters escaped, bytes outside
// printable ASCII (line ends, UTF-8) as octal escapes, so the comment stays
// one line of ASCII. DSC lines hold at most 255 characters: a longer text
// keeps the whole characters that fit in `room`.
std::string DscText(std::string_view text, std::size_t room) {
  std::string out = "(";
  std::string character;  // one UTF-8 character, escaped
  for (std::size_t i = 0; i < text.size();) {
    character.clear();
    do {
      const char ch = text[i];
      const auto b = static_cast<unsigned char>(ch);
      if (b < 0x20 || b > 0x7E) {
        static constexpr char kOctal[] = "01234567";
        character += '\\';
        character += kOctal[b >> 6];
        character += kOctal[(b >> 3) & 7];
        character += kOctal[b & 7];
      } else {
        if (ch == '(' || ch == ')' || ch == '\\') character += '\\';
        character += ch;
      }
      ++i;
    } while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80);
    if (out.size() + character.size() + 1 > room) break;
    out += character;
  }
  return out + ")";
}

}  // namespace

std::string WritePrintPostScript(const ModuleGrid& grid, std::string_view id,
                                 const PostScriptPrint& print, bool eps, std::string_view title) {
  const double unit = print.pointsPerModule.value_or(1.0);
  const double width = grid.width * unit, height = grid.height * unit;
  double pageWidth = kA4Width, pageHeight = kA4Height;
  const bool a4 = width + 2 * kMargin <= kA4Width && height + 2 * kMargin <= kA4Height;
  if (!a4) pageWidth = width + 2 * kMargin, pageHeight = height + 2 * kMargin;
  const double x = eps ? 0 : (pageWidth - width) / 2, y = eps ? 0 : (pageHeight - height) / 2;

  std::string out;
  out.reserve(static_cast<std::size_t>(grid.width) * static_cast<std::size_t>(grid.height) *
                  (print.cmyk ? 8 : 6) * 129 / 128 +
              1024);
  out += eps ? "%!PS-Adobe-3.0 EPSF-3.0\n" : "%!PS-Adobe-3.0\n";
  Append(out, "%%Creator: qrsmith " QRSMITH_VERSION "\n%%Title: ", DscText(title, 255 - 9),
         "\n%%BoundingBox: ", static_cast<std::int64_t>(std::floor(x)), ' ',
         static_cast<std::int64_t>(std::floor(y)), ' ',
         static_cast<std::int64_t>(std::ceil(x + width - 1e-9)), ' ',
         static_cast<std::int64_t>(std::ceil(y + height - 1e-9)), "\n%%HiResBoundingBox: ", x, ' ',
         y, ' ', x + width, ' ', y + height, '\n');
  if (!eps) {
    Append(out, "%%DocumentMedia: ", a4 ? "A4 " : "Custom ", pageWidth, ' ', pageHeight,
           " 0 () ()\n");
  }
  out += "%%LanguageLevel: 2\n%%Pages: 1\n%%EndComments\n";
  Append(out, "% KORVANE ", id, '\n');
  if (!eps) {
    out += "%%BeginSetup\n";
    Append(out, "<< /PageSize [", pageWidth, ' ', pageHeight, "] >> setpagedevice\n");
    out += "%%EndSetup\n%%Page: 1 1\n";
  }
  out += "gsave\n";
  if (!eps) Append(out, x, ' ', y, " translate\n");
  // One unit a module; the image matrix puts the grid's first row at the top.
  Append(out, unit, ' ', unit, " scale\n");
  const bool clearDark = grid.opacity.foreground == 0, clearLight = grid.opacity.background == 0;
  if (!clearDark && !clearLight) {
    AppendColourImage(out, grid, print.cmyk);
  } else if (!clearDark || !clearLight) {
    AppendSetColour(out, clearLight ? grid.foreground : grid.background, print.cmyk);
    AppendStencil(out, grid, clearLight);
  }
  // The mark over the modules; PostScript counts y up from the bottom edge.
  for (const MarkRect& m : grid.mark) {
    AppendSetColour(out, m.dark ? grid.foreground : grid.background, print.cmyk);
    Append(out, m.x, ' ', grid.height - m.y - m.height, ' ', m.width, ' ', m.height, " rectfill\n");
  }
  out += "grestore\n";
  out += eps ? "%%EOF\n" : "showpage\n%%Trailer\n%%EOF\n";
  return out;
}

}  // namespace qrsmith
