#include "export/output_forms.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "export/compact_svg.h"
#include "export/html.h"
#include "export/module_grid.h"
#include "export/pdf.h"
#include "export/print_postscript.h"
#include "export/solid_metafile.h"
#include "export/svg.h"
#include "export/terminal_art.h"
#include "export/text_art.h"
#include "export/text_format.h"
#include "export/vector_export.h"
#include "generator/qr_generator.h"
#include "platform/bitmap.h"

#ifndef QRSMITH_VERSION
#define QRSMITH_VERSION "0"
#endif

namespace qrsmith {

namespace {

constexpr FormCapabilities kRasterCan{
    .pixelSize = true, .centreIcon = true, .backgroundPicture = true};
// The raster files with a resolution field (GIF has none).
constexpr FormCapabilities kPrintRasterCan{
    .pixelSize = true, .centreIcon = true, .backgroundPicture = true, .physicalSize = true};
// PNG: any alpha and a resolution.
constexpr FormCapabilities kPngCan{.pixelSize = true,
                                   .centreIcon = true,
                                   .backgroundPicture = true,
                                   .transparency = true,
                                   .partialAlpha = true,
                                   .physicalSize = true};
constexpr FormCapabilities kTiffCan{.pixelSize = true,
                                    .centreIcon = true,
                                    .backgroundPicture = true,
                                    .transparency = true,
                                    .partialAlpha = true,
                                    .physicalSize = true,
                                    .cmyk = true};
constexpr FormCapabilities kClearRasterCan{
    .pixelSize = true, .centreIcon = true, .backgroundPicture = true, .transparency = true};
constexpr FormCapabilities kSvgCan{
    .pixelSize = true, .transparency = true, .partialAlpha = true, .physicalSize = true};
constexpr FormCapabilities kSizedCan{.pixelSize = true};
constexpr FormCapabilities kPrintCan{.transparency = true, .physicalSize = true, .cmyk = true};
constexpr FormCapabilities kFixedCan{};
constexpr FormCapabilities kMetafileCan{.physicalSize = true};
constexpr FormCapabilities kGlyphCan{.glyphChoice = true};

constexpr std::int16_t Vector(VectorKind kind) { return static_cast<std::int16_t>(kind); }

constexpr std::array<OutputForm, 16> kForms{{
    {FormId::kPng,
     "png",
     {"png"},
     "image/png",
     "PNG图像",
     FormWriter::kRaster,
     kRasterPng,
     kPngCan},
    {FormId::kJpeg,
     "jpeg",
     {"jpg", "jpeg"},
     "image/jpeg",
     "JPEG图像",
     FormWriter::kRaster,
     kRasterJpeg,
     kPrintRasterCan},
    {FormId::kGif,
     "gif",
     {"gif"},
     "image/gif",
     "GIF图像",
     FormWriter::kRaster,
     kRasterGif,
     kClearRasterCan},
    {FormId::kTiff,
     "tiff",
     {"tif", "tiff"},
     "image/tiff",
     "TIFF图像",
     FormWriter::kRaster,
     kRasterTiff,
     kTiffCan},
    {FormId::kBmp,
     "bmp",
     {"bmp"},
     "image/bmp",
     "BMP图像",
     FormWriter::kRaster,
     kRasterBmp,
     kPrintRasterCan},
    {FormId::kSvg,
     "svg-rects",
     {"svg"},
     "image/svg+xml",
     "SVG矢量图",
     FormWriter::kVector,
     Vector(VectorKind::kSvg),
     kSvgCan},
    // Not offered by the window's Save: the SVG form above is its SVG. The
    // tool writes this one for -t svg and .svg files.
    {FormId::kSvgPath,
     "svg-path",
     {"svg"},
     "image/svg+xml",
     "",
     FormWriter::kCompactSvg,
     0,
     kSvgCan},
    {FormId::kEps,
     "eps",
     {"eps"},
     "application/postscript",
     "EPS矢量图",
     FormWriter::kPostScript,
     1,
     kPrintCan},
    {FormId::kPs,
     "ps",
     {"ps"},
     "application/postscript",
     "PostScript文档",
     FormWriter::kPostScript,
     0,
     kPrintCan},
    {FormId::kPdf, "pdf", {"pdf"}, "application/pdf", "PDF文档", FormWriter::kPdf, 0, kPrintCan},
    {FormId::kEmf,
     "emf",
     {"emf"},
     "image/emf",
     "EMF增强型图元文件",
     FormWriter::kMetafile,
     1,
     kMetafileCan},
    {FormId::kWmf,
     "wmf",
     {"wmf"},
     "image/wmf",
     "WMF图元文件",
     FormWriter::kMetafile,
     0,
     kMetafileCan},
    {FormId::kHtml,
     "html",
     {"html", "htm"},
     "text/html",
     "HTML网页片段",
     FormWriter::kHtml,
     0,
     kSizedCan},
    {FormId::kTxt,
     "txt",
     {"txt"},
     "text/plain; charset=utf-8",
     "文本字符画",
     FormWriter::kTextArt,
     0,
     kGlyphCan},
    {FormId::kUtf8,
     "utf8",
     {},
     "text/plain; charset=utf-8",
     "",
     FormWriter::kTerminal,
     0,
     kFixedCan},
    {FormId::kAnsi,
     "ansi",
     {},
     "text/plain; charset=utf-8",
     "",
     FormWriter::kTerminal,
     1,
     kFixedCan},
}};

// FormOf indexes the table by id.
constexpr bool IdsInOrder() {
  for (std::size_t i = 0; i < kForms.size(); ++i) {
    if (static_cast<std::size_t>(kForms[i].id) != i) return false;
  }
  return true;
}
static_assert(IdsInOrder());

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool HasExtension(const OutputForm& form, std::string_view extension) {
  return std::any_of(form.extensions.begin(), form.extensions.end(),
                     [&](std::string_view e) { return !e.empty() && SameLetters(e, extension); });
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace

std::string OutputForm::Patterns() const {
  std::string out;
  for (std::string_view e : extensions) {
    if (e.empty()) continue;
    if (!out.empty()) out += ' ';
    out += "*.";
    out += e;
  }
  return out;
}

std::span<const OutputForm> OutputForms() { return kForms; }

const OutputForm& FormOf(FormId id) { return kForms[static_cast<std::size_t>(id)]; }

const OutputForm* FormNamedExactly(std::string_view name) {
  for (const OutputForm& form : kForms) {
    if (SameLetters(form.name, name)) return &form;
  }
  return nullptr;
}

const OutputForm* FormNamed(std::string_view name) {
  if (const OutputForm* named = FormNamedExactly(name)) return named;
  for (const OutputForm& form : kForms) {
    if (HasExtension(form, name)) return &form;
  }
  return nullptr;
}

const OutputForm* FormOfPath(std::string_view path) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return nullptr;
  }
  const std::string_view extension = path.substr(dot + 1);
  for (const OutputForm& form : kForms) {
    if (HasExtension(form, extension)) return &form;
  }
  return nullptr;
}

std::string FormNames() {
  std::string out;
  for (std::size_t i = 0; i < kForms.size(); ++i) {
    if (i > 0) out += i + 1 == kForms.size() ? " or " : ", ";
    out += kForms[i].name;
  }
  return out;
}

std::int64_t HeightKeepingModulesSquare(std::int64_t width, std::int64_t gridWidth,
                                        std::int64_t gridHeight) {
  return std::max<std::int64_t>(1, (width * gridHeight + gridWidth / 2) / gridWidth);
}

std::int64_t WidthKeepingModulesSquare(std::int64_t height, std::int64_t gridWidth,
                                       std::int64_t gridHeight) {
  return HeightKeepingModulesSquare(height, gridHeight, gridWidth);
}

bool ModulesSquare(std::int64_t width, std::int64_t height, std::int64_t gridWidth,
                   std::int64_t gridHeight) {
  if (gridWidth < 1 || gridHeight < 1) return false;
  return height == HeightKeepingModulesSquare(width, gridWidth, gridHeight) ||
         width == WidthKeepingModulesSquare(height, gridWidth, gridHeight);
}

bool FormHolds(const OutputForm& form, const Opacity& opacity) {
  if (opacity.IsOpaque()) return true;
  return opacity.OnlyClearOrOpaque() ? form.can.transparency : form.can.partialAlpha;
}

std::string RequestRefusal(const OutputForm& form, const FormRequest& request) {
  const std::string the = "the " + std::string(form.name) + " form ";
  if (request.print.SizeGiven() && !form.can.physicalSize) return the + "has no printed size";
  if (request.print.cmyk && !form.can.cmyk) return the + "has no CMYK colours";
  if (!FormHolds(form, request.opacity)) {
    return the + (form.can.transparency ? "holds only clear (00) or opaque (FF) colours"
                                        : "cannot hold a colour that is not opaque");
  }
  // The page paints the background, then the dark modules: a clear
  // background is left unpainted; clear modules cannot be left out of it.
  if (form.id == FormId::kPdf && request.opacity.foreground != 255) {
    return the + "draws the dark modules opaque";
  }
  if (request.swissCross && !form.DrawsMark()) return the + "cannot draw the Swiss cross";
  if (request.swissCross && request.layout.HasPicture()) {
    return "the Swiss cross is not drawn on a background picture";
  }
  if (request.pdfx && form.id != FormId::kPdf) return the + "cannot be PDF/X; only pdf can";
  return {};
}

Bytes ExportForm(const QrGenerator& generator, const OutputForm& form, const FormRequest& request) {
  const RasterLayout& layout = request.layout;
  const PrintSettings& print = request.print;
  if (!RequestRefusal(form, request).empty()) return {};
  std::string title = request.title.value_or(text_format::FirstCharacters(generator.Content(), 64));
  if (title.empty()) title = "QR Code";
  // The grid of the symbol, with the mark asked for.
  const auto gridOf = [&]() {
    auto grid = GridOf(generator);
    if (grid && request.swissCross) grid->mark = SwissCrossOf(generator);
    return grid;
  };
  switch (form.writer) {
    case FormWriter::kRaster: {
      if (!request.swissCross) {
        return EncodeRasterFile(generator, form.kind, layout, request.print, request.opacity);
      }
      // The cross is sized from the modules, 7/46 of the symbol's side,
      // whatever the pixels.
      auto picture = ComposeRaster(generator, layout, request.opacity);
      if (!picture) return {};
      const auto pixel = [](Colour c, std::uint8_t alpha) {
        return platform::PixelWithAlpha(platform::PixelFromColour(c), alpha);
      };
      PaintMark(*picture, SwissCrossOf(generator),
                static_cast<double>(picture->Width()) / generator.SymbolWidth(),
                static_cast<double>(picture->Height()) / generator.SymbolHeight(),
                pixel(generator.ForegroundColour(), request.opacity.foreground),
                pixel(generator.BackgroundColour(), request.opacity.background));
      return EncodeRasterPicture(*picture, form.kind, request.print);
    }
    case FormWriter::kVector: {
      if (request.swissCross) {  // the SVG form, at its printed size or in pixels
        auto grid = gridOf();
        if (!grid || print.cmyk) return {};
        grid->opacity = request.opacity;
        if (print.moduleMm) return BytesOf(WriteSvgDocumentInMillimetres(*grid, *print.moduleMm));
        return BytesOf(WriteSvgDocument(*grid, layout.width > 0 ? layout.width : grid->width,
                                        layout.height > 0 ? layout.height : grid->height));
      }
      const auto size = [](std::int32_t s) { return s > 0 ? std::optional(s) : std::nullopt; };
      return ExportVector(generator, static_cast<VectorKind>(form.kind), size(layout.width),
                          size(layout.height), request.print, request.opacity);
    }
    case FormWriter::kPdf: {
      const auto grid = gridOf();
      if (!grid) return {};
      PdfPaint paint = PaintOf(*grid, request.print.cmyk);
      if (request.opacity.BackgroundClear()) paint.background.reset();
      const double points = *request.print.PointsPerModule(kDefaultPrintModuleMm);
      PdfInfo info;
      info.title = title;
      info.creator = "qrsmith " QRSMITH_VERSION;
      info.created = SourceDateEpoch().value_or(static_cast<std::int64_t>(std::time(nullptr)));
      if (request.pdfx) info.pdfx = OutputIntentFor(request.print.cmyk);
      return BytesOf(WritePdfDocument(*grid, paint, points, info));
    }
    case FormWriter::kPostScript: {
      auto grid = gridOf();
      if (!grid) return {};
      grid->opacity = request.opacity;
      return BytesOf(WritePrintPostScript(*grid, MakeExportId("PS", "QRCD"),
                                          {print.PointsPerModule(), print.cmyk}, form.kind == 1,
                                          title));
    }
    case FormWriter::kMetafile: {
      const auto grid = gridOf();
      if (!grid) return {};
      const double mm = request.print.moduleMm.value_or(kDefaultPrintModuleMm);
      if (form.kind == 0) return WriteSolidWindowsMetafile(*grid, mm);
      const std::string id = MakeExportId("QR", "EMFC");
      return WriteSolidEnhancedMetafile(*grid, mm, u"KORVANE",
                                        std::u16string(id.begin(), id.end()));
    }
    case FormWriter::kCompactSvg: {
      auto grid = gridOf();
      if (!grid) return {};
      const std::int32_t w = layout.width > 0 ? layout.width : grid->width;
      const std::int32_t h = layout.height > 0 ? layout.height : grid->height;
      grid->opacity = request.opacity;
      return BytesOf(WriteCompactSvg(*grid, w, h, request.print.moduleMm));
    }
    case FormWriter::kHtml: {
      if (!generator.HasSymbol()) return {};
      const std::int32_t w = layout.width > 0 ? layout.width : generator.SymbolWidth();
      const std::int32_t h = layout.height > 0 ? layout.height : generator.SymbolHeight();
      return BytesOf(ExportHtml(generator, w, h));
    }
    case FormWriter::kTextArt:
      return BytesOf(ExportTextArt(generator, request.circles));
    case FormWriter::kTerminal:
      return BytesOf(form.kind == 0 ? RenderHalfBlocks(generator) : RenderAnsi(generator));
  }
  return {};
}

}  // namespace qrsmith
