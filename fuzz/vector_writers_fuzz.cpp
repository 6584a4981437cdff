// The vector, metafile and text writers fed random symbol grids: any size up
// to 255 x 255 positions, any two colours, any dark/light pattern, any SVG
// document size. Each form is read back by a small reader of its own layout:
// the SVG rectangles and EPS/PostScript samples must carry every position's
// colour in scan order, the metafiles' records must chain exactly to the end
// with the sizes their headers declare, the text art must have one line per row,
// and the PDF's dark path must cover exactly the dark positions.
//
// Input: width, height, foreground (3 bytes), background (3 bytes), SVG
// width and height (int32 each), then the dark bits row after row.

#include <algorithm>
#include <string>
#include <string_view>

#include "verify/pdf_read_back.h"
#include "export/emf.h"
#include "export/html.h"
#include "export/module_grid.h"
#include "export/pdf.h"
#include "export/postscript.h"
#include "export/svg.h"
#include "export/text_art.h"
#include "export/vector_export.h"
#include "export/wmf.h"
#include "fuzz/fuzz_input.h"

namespace {

using qrsmith::Bytes;
using qrsmith::ModuleGrid;
using qrsmith::fuzz::Expect;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// The RRGGBB of every position in scan order, as the samples must hold them.
std::string ExpectedSamples(const ModuleGrid& grid) {
  std::string hex;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    for (std::int32_t c = 1; c <= grid.width; ++c) hex += qrsmith::ColourHex(grid.ColourAt(r, c));
  }
  return hex;
}

// The hexadecimal digits between `open` and `close`, line breaks dropped.
std::string HexBetween(std::string_view text, std::string_view open, std::string_view close) {
  const auto start = text.find(open);
  Expect(start != std::string_view::npos, "sample data not opened");
  const auto end = text.find(close, start + open.size());
  Expect(end != std::string_view::npos, "sample data not closed");
  std::string hex;
  for (const char ch : text.substr(start + open.size(), end - start - open.size())) {
    if (ch != '\n') hex += ch;
  }
  return hex;
}

void CheckSvg(const ModuleGrid& grid, std::int32_t width, std::int32_t height) {
  const std::string svg = qrsmith::WriteSvgDocument(grid, width, height);
  Expect(svg.starts_with("<?xml") && svg.ends_with("</svg>"), "SVG document not closed");
  std::string fills;
  std::size_t rects = 0;
  for (auto at = svg.find("<rect "); at != std::string::npos; at = svg.find("<rect ", at + 1)) {
    ++rects;
    const auto fill = svg.find("fill=\"#", at);
    Expect(fill != std::string::npos, "SVG rectangle without a fill");
    fills += svg.substr(fill + 7, 6);
  }
  Expect(rects == static_cast<std::size_t>(grid.width) * grid.height,
         "SVG rectangle count != positions");
  Expect(fills == ExpectedSamples(grid), "SVG fills differ from the grid");
}

// EMF: the header's Bytes and Records fields match the records, which chain
// from the start to the end-of-file record at the very end.
void CheckEmf(const ModuleGrid& grid) {
  const Bytes emf = qrsmith::WriteEnhancedMetafile(grid, u"QRSMITH\nFUZZ");
  Expect(emf.size() >= 108 && Le32(emf, 0) == 1, "EMF without its header record");
  Expect(Le32(emf, 48) == emf.size(), "EMF Bytes field != file size");
  std::size_t at = 0;
  std::uint32_t records = 0, last = 0;
  while (at < emf.size()) {
    Expect(emf.size() - at >= 8, "EMF record head cut off");
    const std::uint32_t size = Le32(emf, at + 4);
    Expect(size >= 8 && size % 4 == 0 && size <= emf.size() - at, "EMF record size broken");
    last = Le32(emf, at);
    at += size;
    ++records;
  }
  Expect(last == 14, "EMF does not end with its end-of-file record");
  Expect(Le32(emf, 52) == records, "EMF Records field != records");
}

// WMF: the header's size in words matches, the records chain to META_EOF.
void CheckWmf(const ModuleGrid& grid) {
  const Bytes wmf = qrsmith::WriteWindowsMetafile(grid);
  Expect(wmf.size() >= 18 && wmf.size() % 2 == 0, "WMF header cut off");
  Expect(std::size_t{Le32(wmf, 6)} * 2 == wmf.size(), "WMF size field != file size");
  std::size_t at = 18;
  std::uint32_t function = 0xFFFF;
  while (at < wmf.size()) {
    Expect(wmf.size() - at >= 6, "WMF record head cut off");
    const std::size_t size = std::size_t{Le32(wmf, at)} * 2;
    Expect(size >= 6 && size <= wmf.size() - at, "WMF record size broken");
    function = wmf[at + 4] | (wmf[at + 5] << 8);
    at += size;
  }
  Expect(function == 0, "WMF does not end with META_EOF");
}

void CheckTextArt(const ModuleGrid& grid) {
  const std::string art = qrsmith::WriteTextArt(grid, grid.width % 2 == 0);
  std::size_t lines = 1;
  for (auto at = art.find("\r\n"); at != std::string::npos; at = art.find("\r\n", at + 2)) ++lines;
  Expect(lines == static_cast<std::size_t>(grid.height), "text art line count != rows");
  // Every glyph (dark or light) is three UTF-8 bytes.
  Expect(art.size() == static_cast<std::size_t>(grid.height) * grid.width * 3 +
                           2 * (static_cast<std::size_t>(grid.height) - 1),
         "text art length != rows x columns glyphs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrsmith::fuzz::FuzzInput in(data, size);
  ModuleGrid grid;
  grid.width = 1 + in.U8() % 255;
  grid.height = 1 + in.U8() % 255;
  grid.foreground = in.U8() | (in.U8() << 8) | (in.U8() << 16);
  grid.background = in.U8() | (in.U8() << 8) | (in.U8() << 16);
  const std::int32_t svgWidth = in.I32();
  const std::int32_t svgHeight = in.I32();
  grid.dark.resize(static_cast<std::size_t>(grid.width) * grid.height);
  std::uint8_t bits = 0;
  for (std::size_t i = 0; i < grid.dark.size(); ++i) {
    if (i % 8 == 0) bits = in.U8();
    grid.dark[i] = (bits >> (i % 8)) & 1;
  }

  // The document size as ExportVector resolves it: 0 and below take the grid's.
  CheckSvg(grid, svgWidth > 0 ? svgWidth : grid.width, svgHeight > 0 ? svgHeight : grid.height);
  const std::string samples = ExpectedSamples(grid);
  Expect(HexBetween(qrsmith::WriteEpsImage(grid), ">> image\n", ">") == samples,
         "EPS samples differ from the grid");
  Expect(HexBetween(qrsmith::WritePostScriptPage(grid, "PSQRCD00000000000000"), "{<\n", ">}") ==
             samples,
         "PostScript samples differ from the grid");
  Expect(HexBetween(qrsmith::WriteEpsImage(grid, {std::nullopt, true}), ">> image\n", ">").size() ==
             grid.dark.size() * 8,
         "CMYK EPS samples are not four bytes a position");
  // The last fill of a page without dark modules is its background.
  if (std::find(grid.dark.begin(), grid.dark.end(), 1) != grid.dark.end()) {
    const std::string pdf =
        qrsmith::WritePdfDocument(grid, qrsmith::PaintOf(grid, (svgWidth & 1) != 0), 1.5);
    Expect(qrsmith::verify::PdfDarkGrid(pdf, grid.width, grid.height) == grid.dark,
           "PDF dark path differs from the grid");
  }
  CheckEmf(grid);
  CheckWmf(grid);
  CheckTextArt(grid);
  Expect(!qrsmith::WriteHtmlFragment(grid, svgWidth, svgHeight).empty(), "empty HTML fragment");
  return 0;
}
