#include "export/pdf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "export/text_format.h"
#include "platform/cmyk.h"

namespace qrsmith {

namespace {

using text_format::AppendInteger;
using text_format::AppendReal;

// A colour component 0..255 as a PDF number 0..1, to four decimals: finer
// than any output device's steps, and 0 and 1 stay exact.
void AppendComponent(std::string& out, std::uint8_t value) {
  AppendReal(out, std::round(value / 255.0 * 10000) / 10000);
}

// The fill colour operator: "r g b rg" or "c m y k k".
void AppendFillColour(std::string& out, Colour colour, bool cmyk) {
  const auto red = static_cast<std::uint8_t>(colour & 0xFF);
  const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
  const auto blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
  if (cmyk) {
    for (std::uint8_t ink : platform::CmykOfRgb(red, green, blue)) {
      AppendComponent(out, ink);
      out += ' ';
    }
    out += "k\n";
    return;
  }
  for (std::uint8_t component : {red, green, blue}) {
    AppendComponent(out, component);
    out += ' ';
  }
  out += "rg\n";
}

std::string PageContent(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule) {
  const std::vector<DarkBlock> blocks = DarkBlocks(grid);
  std::string out;
  out.reserve(blocks.size() * 20 + 200);
  // One unit per module with rows counted down from the top edge.
  out += "q\n";
  AppendReal(out, pointsPerModule);
  out += " 0 0 ";
  AppendReal(out, -pointsPerModule);
  out += " 0 ";
  AppendReal(out, grid.height * pointsPerModule);
  out += " cm\n";
  const auto appendRectangle = [&out](const DarkBlock& b) {
    for (std::int32_t v : {b.column, b.row, b.width, b.height}) {
      AppendInteger(out, v);
      out += ' ';
    }
    out += "re\n";
  };
  if (paint.background) {
    AppendFillColour(out, *paint.background, paint.cmyk);
    appendRectangle({0, 0, grid.width, grid.height});
    out += "f\n";
  }
  // A fill needs a path: a grid without dark modules paints none.
  if (!blocks.empty()) {
    AppendFillColour(out, paint.foreground, paint.cmyk);
    for (const DarkBlock& b : blocks) appendRectangle(b);
    out += "f\n";
  }
  out += "Q\n";
  return out;
}

}  // namespace

std::string WritePdfDocument(const ModuleGrid& grid, const PdfPaint& paint,
                             double pointsPerModule) {
  const std::string content = PageContent(grid, paint, pointsPerModule);
  std::string out;
  out.reserve(content.size() + 600);
  // The binary comment marks the file as binary for transfer programs.
  out += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::array<std::size_t, 4> offsets{};
  const auto object = [&](std::size_t number, std::string_view body) {
    offsets[number - 1] = out.size();
    AppendInteger(out, static_cast<std::int64_t>(number));
    out += " 0 obj\n";
    out += body;
    out += "\nendobj\n";
  };
  object(1, "<< /Type /Catalog /Pages 2 0 R >>");
  object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
  AppendReal(page, grid.width * pointsPerModule);
  page += ' ';
  AppendReal(page, grid.height * pointsPerModule);
  page += "] /Resources << >> /Contents 4 0 R >>";
  object(3, page);
  std::string stream = "<< /Length ";
  AppendInteger(stream, static_cast<std::int64_t>(content.size()));
  stream += " >>\nstream\n";
  stream += content;
  stream += "endstream";
  object(4, stream);

  const std::size_t xref = out.size();
  out += "xref\n0 5\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    std::string digits;
    AppendInteger(digits, static_cast<std::int64_t>(offset));
    out.append(10 - digits.size(), '0');  // every entry is exactly 20 bytes
    out += digits;
    out += " 00000 n \n";
  }
  out += "trailer\n<< /Size 5 /Root 1 0 R >>\nstartxref\n";
  AppendInteger(out, static_cast<std::int64_t>(xref));
  out += "\n%%EOF\n";
  return out;
}

}  // namespace qrsmith
