#include "cli/output_writer.h"

#include <cerrno>
#include <cstring>

#include "cli/verify.h"
#include "export/module_grid.h"
#include "platform/codecs/image.h"
#include "platform/colour.h"
#include "platform/file.h"
#include "platform/file_batch.h"

namespace qrsmith::cli {

namespace {

// Pixels per module when no size is given.
constexpr std::int32_t kDefaultModuleSize = 10;

std::string Pair(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// "0.4": a millimetre value as the user typed it.
std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The drawing's size in pixels: -s pixels per module on both axes, or -w
// and/or --height with the modules kept square. 0 x 0 for a form drawn at its
// natural size (SVG without any size option).
Outcome DrawingSize(const CliOptions& o, const OutputForm& form, std::int64_t gridWidth,
                    std::int64_t gridHeight, std::int64_t& width, std::int64_t& height) {
  width = height = 0;
  if (!form.can.pixelSize) return std::nullopt;
  if (o.width && o.height) {
    if (!ModulesSquare(*o.width, *o.height, gridWidth, gridHeight)) {
      return Failure{kExitUsage, "-w " + std::to_string(*o.width) + " with --height " +
                                     std::to_string(*o.height) +
                                     " would stretch the modules of the " +
                                     Pair(gridWidth, gridHeight) + " grid; give one of them"};
    }
    width = *o.width;
    height = *o.height;
  } else if (o.width) {
    width = *o.width;
    height = HeightKeepingModulesSquare(width, gridWidth, gridHeight);
  } else if (o.height) {
    height = *o.height;
    width = WidthKeepingModulesSquare(height, gridWidth, gridHeight);
  } else if (const auto printed = o.print.RasterPixelsPerModule(); printed && form.IsRaster()) {
    if (*printed < 1) {
      return Failure{kExitUsage, "--module-mm " + Decimal(*o.print.moduleMm) + " at " +
                                     std::to_string(*o.print.RasterDpi()) +
                                     " dpi is less than one pixel per module; give a larger "
                                     "--module-mm or --dpi"};
    }
    width = gridWidth * *printed;
    height = gridHeight * *printed;
  } else if (o.print.moduleMm) {
    // A vector form drawn at its printed size.
  } else if (o.moduleSize || (form.id != FormId::kSvg && form.id != FormId::kSvgPath)) {
    const std::int64_t perModule = o.moduleSize.value_or(kDefaultModuleSize);
    width = gridWidth * perModule;
    height = gridHeight * perModule;
  }
  const std::int64_t most = form.IsRaster() ? platform::kMaxBitmapSide : INT32_MAX;
  for (const auto& [side, what] : {std::pair{width, "wide"}, std::pair{height, "tall"}}) {
    if (side > most) {
      return Failure{kExitUsage, "the picture would be " + std::to_string(side) + " pixels " +
                                     what + ", at most " + std::to_string(most) +
                                     (o.print.moduleMm ? " (use a smaller --module-mm or --dpi)"
                                                       : " (use a smaller -s)")};
    }
  }
  return std::nullopt;
}

// Reads the background picture and settles its size; refuses one smaller
// than the symbol, which would cut the symbol off.
Outcome ReadBackgroundPicture(const CliOptions& o, std::int64_t symbolWidth,
                              std::int64_t symbolHeight, Bytes& picture, RasterLayout& layout) {
  if (Outcome failed = ReadFileBounded(*o.picturePath, kMaxPictureFileBytes, picture, "picture")) {
    return failed;
  }
  const auto decoded = platform::codecs::DecodeImage(picture);
  if (!decoded) {
    return Failure{kExitInputOutput, "cannot read picture '" + *o.picturePath + "': not a picture"};
  }
  layout.picture = &picture;
  layout.pictureWidth = o.pictureWidth.value_or(decoded->Width());
  layout.pictureHeight = o.pictureHeight.value_or(decoded->Height());
  layout.dx = o.offsetX;
  layout.dy = o.offsetY;
  layout.noise = o.noise;
  if (layout.pictureWidth < symbolWidth || layout.pictureHeight < symbolHeight) {
    return Failure{kExitInputOutput,
                   "the picture is " + Pair(layout.pictureWidth, layout.pictureHeight) +
                       " pixels, smaller than the symbol's " + Pair(symbolWidth, symbolHeight) +
                       "; give a larger --picture-size or a smaller size"};
  }
  return std::nullopt;
}

// "--background 00000000": the colour options whose alpha is not FF.
std::string TransparentColours(const CliOptions& o) {
  std::string out;
  for (const auto& [alpha, option] : {std::pair{o.opacity.foreground, "--foreground"},
                                      std::pair{o.opacity.background, "--background"}}) {
    if (alpha == 255) continue;
    if (!out.empty()) out += " and ";
    out += option;
    out += " with alpha ";
    platform::AppendHexByte(out, alpha);
  }
  return out;
}

// "png, tiff or svg": the forms that hold `opacity`, from the table of forms.
std::string FormsHolding(const Opacity& opacity) {
  std::vector<std::string_view> names;
  for (const OutputForm& form : OutputForms()) {
    if (FormHolds(form, opacity)) names.push_back(form.name);
  }
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " or " : ", ";
    out += names[i];
  }
  return out;
}

// A colour that is not opaque, on a form that cannot show it or over a
// background picture (which is itself the background, and opaque).
Outcome RefuseOpacity(const CliOptions& o, const OutputForm& form) {
  if (o.opacity.IsOpaque()) return std::nullopt;
  const std::string colours = TransparentColours(o);
  if (!form.can.transparency) {
    return Failure{kExitUsage, "the " + std::string(form.name) +
                                   " form cannot hold a colour that is not opaque (" + colours +
                                   "); use " + FormsHolding(o.opacity)};
  }
  if (!FormHolds(form, o.opacity)) {
    return Failure{kExitUsage, "the " + std::string(form.name) +
                                   " form holds only clear (00) or opaque (FF) colours, not " +
                                   colours + "; use " + FormsHolding(o.opacity)};
  }
  if (o.print.cmyk && form.IsRaster()) {
    return Failure{kExitUsage, "a CMYK " + std::string(form.name) +
                                   " file cannot hold a colour that is not opaque (" + colours +
                                   "); leave out --cmyk or the alpha"};
  }
  if (form.id == FormId::kPdf && o.opacity.foreground != 255) {
    // The page paints the dark modules over its background, never around them.
    return Failure{kExitUsage, "the pdf form draws the dark modules opaque, not " + colours +
                                   "; a clear --background is possible"};
  }
  if (o.picturePath) {
    return Failure{kExitUsage, "--picture cannot be used with a colour that is not opaque (" +
                                   colours + "): the picture is the background"};
  }
  return std::nullopt;
}

}  // namespace

Outcome RefuseWhatTheFormCannotCarry(const CliOptions& o, const OutputForm& form) {
  const FormCapabilities& can = form.can;
  const struct {
    bool given;
    bool honoured;
    const char* option;
  } options[] = {
      {o.moduleSize.has_value(), can.pixelSize, "-s"},
      {o.width.has_value(), can.pixelSize, "-w"},
      {o.height.has_value(), can.pixelSize, "--height"},
      {o.iconPath.has_value(), can.centreIcon, "--icon"},
      {o.picturePath.has_value(), can.backgroundPicture, "--picture"},
      {o.pictureWidth.has_value(), can.backgroundPicture, "--picture-size"},
      {o.offsetGiven, can.backgroundPicture, "--offset"},
      {o.noise, can.backgroundPicture, "--noise"},
      {o.circles, can.glyphChoice, "--circles"},
      {o.print.moduleMm.has_value(), can.physicalSize, "--module-mm"},
      {o.print.dpi.has_value(), can.physicalSize, "--dpi"},
      {o.print.cmyk, can.cmyk, "--cmyk"},
      {o.pdfx, form.id == FormId::kPdf, "--pdfx"},
      {o.title.has_value(), form.id == FormId::kPdf || form.writer == FormWriter::kPostScript,
       "--title"},
  };
  for (const auto& option : options) {
    if (option.given && !option.honoured) {
      return Failure{kExitUsage, std::string("the ") + std::string(form.name) +
                                     " form cannot honour " + option.option};
    }
  }
  if (Outcome refused = RefuseOpacity(o, form)) return refused;
  if (o.swissCross && o.picturePath) {
    return Failure{kExitUsage,
                   "--picture cannot be used for a Swiss QR-bill: its symbol prints plain, with "
                   "the Swiss cross"};
  }
  if (!o.picturePath) {
    for (const auto& [given, option] :
         {std::pair{o.pictureWidth.has_value(), "--picture-size"},
          std::pair{o.offsetGiven, "--offset"}, std::pair{o.noise, "--noise"}}) {
      if (given) return Failure{kExitUsage, std::string(option) + " needs --picture"};
    }
  }
  if (o.moduleSize && (o.width || o.height)) {
    return Failure{kExitUsage, "-s and -w/--height both set the size; give one of them"};
  }
  if (o.print.moduleMm && (o.moduleSize || o.width || o.height)) {
    return Failure{kExitUsage,
                   "--module-mm and -s/-w/--height both set the size; give one of them"};
  }
  // A vector form has no resolution: there --dpi only goes with a module size.
  if (o.print.dpi && !o.print.moduleMm && !form.IsRaster()) {
    return Failure{kExitUsage, "the " + std::string(form.name) +
                                   " form has no resolution of its own: give its size with "
                                   "--module-mm"};
  }
  return std::nullopt;
}

namespace {

const OutputForm* NamedOutputForm(const CliOptions& options, std::string& error) {
  if (options.form != nullptr) return options.form;
  if (!options.output || *options.output == "-") return &FormOf(FormId::kUtf8);
  if (const OutputForm* form = FormOfPath(*options.output)) {
    // A .svg file is written compact; -t svg-rects asks for one rectangle a position.
    return form->id == FormId::kSvg ? &FormOf(FormId::kSvgPath) : form;
  }
  error = "cannot tell the format of '" + *options.output + "' from its name; use -t";
  return nullptr;
}

}  // namespace

const OutputForm* ResolveOutputForm(const CliOptions& options, std::string& error) {
  const OutputForm* form = NamedOutputForm(options, error);
  if (form == nullptr || !options.svgPath) return form;
  // --svg-path chooses how an SVG is written, so it needs an SVG.
  if (form->id == FormId::kSvg || form->id == FormId::kSvgPath) return &FormOf(FormId::kSvgPath);
  error = "--svg-path writes SVG, not " + std::string(form->name) + " (use -t svg or a .svg file)";
  return nullptr;
}

PrintSettings PrintFor(const CliOptions& options, const Symbol& symbol, const OutputForm& form) {
  PrintSettings print = options.print;
  const QrGenerator& g = symbol.generator;
  const std::int32_t side = g.SymbolWidth() - g.MarginLeft() - g.MarginRight();
  // A size given in pixels (-s, -w, --height) is kept, as --module-mm is.
  const bool sizeGiven = print.moduleMm || options.moduleSize || options.width || options.height;
  // A raster's size is in pixels: its cross follows the modules it is given.
  if (options.swissCross && form.DrawsMark() && !form.IsRaster() && !sizeGiven && side > 0) {
    print.moduleMm = kSwissSymbolMm / side;
  }
  return print;
}

Outcome RenderOutput(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     Bytes& bytes) {
  const QrGenerator& g = symbol.generator;
  const std::int64_t gridWidth = g.SymbolWidth(), gridHeight = g.SymbolHeight();
  if (form.DrawsExportGrid() && gridWidth * gridHeight > kMaxExportPositions) {
    return Failure{kExitInputOutput, "cannot write a grid of " + Pair(gridWidth, gridHeight) +
                                         " positions as " + std::string(form.name) + ": at most " +
                                         std::to_string(kMaxExportPositions) +
                                         " positions (2048 x 2048) are written"};
  }
  std::int64_t width = 0, height = 0;
  if (Outcome failed = DrawingSize(options, form, gridWidth, gridHeight, width, height)) {
    return failed;
  }
  FormRequest request;
  request.layout.width = static_cast<std::int32_t>(width);
  request.layout.height = static_cast<std::int32_t>(height);
  request.circles = options.circles;
  request.print = PrintFor(options, symbol, form);
  request.opacity = symbol.opacity;
  request.swissCross = options.swissCross && form.DrawsMark();
  request.pdfx = options.pdfx;
  request.title = options.title;
  Bytes picture;
  if (options.picturePath) {
    if (Outcome failed = ReadBackgroundPicture(options, width, height, picture, request.layout)) {
      return failed;
    }
  }
  if (form.IsRaster() && options.verify) {
    const std::int64_t outWidth = options.picturePath ? request.layout.pictureWidth : width;
    const std::int64_t outHeight = options.picturePath ? request.layout.pictureHeight : height;
    if (outWidth * outHeight > kMaxVerifyPixels) {
      return Failure{kExitInputOutput, "cannot verify a picture of " + Pair(outWidth, outHeight) +
                                           " pixels: at most " + std::to_string(kMaxVerifyPixels) +
                                           " pixels are read back; leave out --verify or make "
                                           "it smaller"};
    }
  }
  bytes = ExportForm(g, form, request);
  if (bytes.empty()) {
    // The options were checked above; what the form still refuses says why.
    const std::string refused = RequestRefusal(form, request);
    return Failure{kExitInputOutput, !refused.empty() ? refused
                                     : form.IsRaster() ? "cannot make the picture"
                                                       : "cannot write the symbol in that form"};
  }
  return std::nullopt;
}

Failure WriteFailure(const std::string& path, int error) {
  // Through a link, the file that could not be written is the one it leads to.
  std::string where = "'" + path + "'";
  const std::string target = platform::WriteTargetOf(path);
  if (!target.empty() && target != path) where += " (a link to '" + target + "')";
  return Failure{kExitInputOutput,
                 "cannot write " + where + ": " + std::strerror(error != 0 ? error : EIO)};
}

Outcome Deliver(const CliOptions& options, const Bytes& bytes, std::FILE* out,
                const BatchSlot* staging) {
  if (options.output && *options.output != "-") {
    const bool written = staging != nullptr
                             ? staging->files->Stage(staging->slot, *options.output, bytes)
                             : platform::WriteFileAtomically(*options.output, bytes);
    if (!written) return WriteFailure(*options.output, errno);
    return std::nullopt;
  }
  if (out == nullptr) return Failure{kExitUsage, "no output file named"};
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
    return Failure{kExitInputOutput, "cannot write to standard output"};
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
