#pragma once
// The output forms of a symbol, one row each: the name -t takes, the file
// name extensions, the MIME type, the operation that writes the form and what
// the form can carry besides the module grid and its two colours. The
// command-line tool (its -t and extension rule, --verify and the batch) and
// the window's Save read this table, so a new form is one row and one writer.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <qrsmith/generator/print_settings.h>
#include <qrsmith/generator/raster_files.h>
#include <qrsmith/platform/opacity.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class QrGenerator;

enum class FormId {
  kPng,
  kJpeg,
  kGif,
  kTiff,
  kBmp,
  kSvg,
  kSvgPath,
  kEps,
  kPs,
  kPdf,
  kEmf,
  kWmf,
  kHtml,
  kTxt,
  kUtf8,
  kAnsi
};

// The operation that writes a form; OutputForm::kind selects within it.
enum class FormWriter {
  kRaster,      // EncodeRasterFile, RasterKind 0..4
  kVector,      // ExportVector, VectorKind 0..4
  kCompactSvg,  // WriteCompactSvg
  kHtml,        // ExportHtml
  kTextArt,     // ExportTextArt
  kTerminal,    // RenderHalfBlocks (kind 0) or RenderAnsi (kind 1)
  kPdf,         // WritePdfDocument
  kMetafile,    // WriteSolidWindowsMetafile (kind 0) or WriteSolidEnhancedMetafile (kind 1)
  kPostScript,  // WritePrintPostScript: a page (kind 0) or EPS (kind 1)
};

// What a form can carry. A request for something a form cannot carry is
// refused by the caller, never dropped silently.
struct FormCapabilities {
  bool pixelSize = false;          // a size in pixels: pixels per module, width, height
  bool centreIcon = false;         // the centre icon over the symbol
  bool backgroundPicture = false;  // the symbol laid on a picture, moved, with noise
  bool glyphChoice = false;        // circles or blocks for the dark modules
  bool transparency = false;       // colours with alpha 00 (clear: not drawn)
  bool partialAlpha = false;       // colours with any alpha between 00 and FF
  bool physicalSize = false;       // a printed size (millimetres, dots per inch)
  bool cmyk = false;               // colours as CMYK
};

struct OutputForm {
  FormId id;
  std::string_view name;                       // -t's name, lower case
  std::array<std::string_view, 2> extensions;  // the usual one first; none: not a file form
  std::string_view mimeType;
  std::string_view saveLabel;  // the window's save filter label; empty: not offered there
  FormWriter writer;
  std::int16_t kind;
  FormCapabilities can;

  bool IsRaster() const { return writer == FormWriter::kRaster; }
  // The forms drawn from the export grid, within kMaxExportPositions.
  bool DrawsExportGrid() const {
    return writer == FormWriter::kVector || writer == FormWriter::kCompactSvg ||
           writer == FormWriter::kHtml || writer == FormWriter::kTextArt ||
           writer == FormWriter::kPdf || writer == FormWriter::kMetafile ||
           writer == FormWriter::kPostScript;
  }
  // The forms that draw a mark over the symbol (ModuleGrid::mark): the
  // pictures and every print form; not the mark-up, text and terminal forms.
  bool DrawsMark() const {
    return IsRaster() || id == FormId::kSvg || id == FormId::kSvgPath || id == FormId::kEps ||
           id == FormId::kPs || id == FormId::kPdf || id == FormId::kEmf || id == FormId::kWmf;
  }
  // "*.jpg *.jpeg"
  std::string Patterns() const;
};

// Every form, file forms in the order of the window's save filters, then the
// terminal forms.
std::span<const OutputForm> OutputForms();
const OutputForm& FormOf(FormId id);
// The form a -t name or an extension names, in any case; nullptr for none.
const OutputForm* FormNamed(std::string_view name);
// The form whose -t name is `name`, in any case, extensions left out.
const OutputForm* FormNamedExactly(std::string_view name);
// The file form a path's extension names; nullptr when there is none.
const OutputForm* FormOfPath(std::string_view path);
// "png, jpeg, ..., utf8 or ansi": the names -t takes.
std::string FormNames();

// The height that keeps the modules of a gridWidth x gridHeight grid square
// at `width` pixels (rounded, at least 1), and the width for a height.
std::int64_t HeightKeepingModulesSquare(std::int64_t width, std::int64_t gridWidth,
                                        std::int64_t gridHeight);
std::int64_t WidthKeepingModulesSquare(std::int64_t height, std::int64_t gridWidth,
                                       std::int64_t gridHeight);
// Whether width x height draws the grid's modules square, to the pixel.
bool ModulesSquare(std::int64_t width, std::int64_t height, std::int64_t gridWidth,
                   std::int64_t gridHeight);

struct FormRequest {
  // The drawing's size in pixels and, for raster forms, the background
  // picture. Raster forms and HTML need a size; both SVG forms take 0 x 0 as
  // the grid's.
  RasterLayout layout;
  bool circles = true;  // text art: circles, else blocks
  // The printed module size, a raster file's resolution and CMYK colours,
  // for the forms that can carry them (FormCapabilities). PDF and the
  // metafiles print at kDefaultPrintModuleMm when no module size is given.
  PrintSettings print;
  // The alpha of the two colours; a form that cannot hold it gives no bytes.
  Opacity opacity;
  // The Swiss QR-bill's cross over the symbol's centre (SwissCross), drawn
  // by the forms that DrawsMark (a raster not on a background picture); the
  // others give no bytes.
  bool swissCross = false;
  // The PDF as PDF/X-4 (OutputIntentFor), for print shops; the other forms
  // give no bytes.
  bool pdfx = false;
  // The title of PDF, PS and EPS files; without one the first 64 characters
  // of the content, or "QR Code" for an empty content.
  std::optional<std::string> title;
};

// Whether `form` can show the colours at `opacity` (its transparency and
// partialAlpha capabilities): the one rule the callers check before exporting.
bool FormHolds(const OutputForm& form, const Opacity& opacity);

// Why `form` cannot carry what `request` asks (a printed size, CMYK, a clear
// colour, the Swiss cross, PDF/X), in one line for the person who asked;
// empty when it can. ExportForm refuses exactly these requests.
std::string RequestRefusal(const OutputForm& form, const FormRequest& request);

// The bytes of `form` for the generator's current symbol; empty when there is
// no symbol, RequestRefusal names a reason, or the grid is too large.
Bytes ExportForm(const QrGenerator& generator, const OutputForm& form, const FormRequest& request);

}  // namespace qrsmith
