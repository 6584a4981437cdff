#include "cli/output_writer.h"

#include <cerrno>
#include <cstring>

#include "cli/terminal_art.h"
#include "export/html.h"
#include "export/text_art.h"
#include "export/vector_export.h"
#include "platform/codecs/bmp.h"
#include "platform/codecs/image.h"
#include "platform/codecs/limits.h"
#include "platform/file.h"

namespace qrsmith::cli {

namespace {

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Export kind of the generator's raster operations: 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG.
std::int16_t RasterKind(OutputType type) {
  switch (type) {
    case OutputType::kBmp:
      return 0;
    case OutputType::kJpeg:
      return 1;
    case OutputType::kGif:
      return 2;
    case OutputType::kTiff:
      return 3;
    default:
      return 4;
  }
}

Outcome RenderRaster(const CliOptions& options, const Symbol& symbol, OutputType type,
                     Bytes& bytes) {
  const QrGenerator& g = symbol.generator;
  const std::int64_t gridWidth = g.SymbolWidth();
  const std::int64_t gridHeight = g.SymbolHeight();
  std::int64_t side = options.width.value_or(gridWidth * options.moduleSize);
  if (!options.width && gridWidth != gridHeight) {
    return Failure{kExitUsage, "-s needs a square symbol picture; with unequal margins use -w"};
  }
  if (side > platform::kMaxBitmapSide) {
    return Failure{kExitUsage, "the picture would be " + std::to_string(side) +
                                   " pixels wide, at most 16384 (use a smaller -s)"};
  }
  Bytes picture;
  std::int32_t pictureWidth = 0, pictureHeight = 0;
  if (options.picturePath) {
    if (Outcome failed =
            ReadFileBounded(*options.picturePath, kMaxPictureFileBytes, picture, "picture")) {
      return failed;
    }
    const auto decoded = platform::codecs::DecodeImage(picture);
    if (!decoded) {
      return Failure{kExitInputOutput,
                     "cannot read picture '" + *options.picturePath + "': not a picture"};
    }
    pictureWidth = options.pictureWidth.value_or(decoded->Width());
    pictureHeight = options.pictureHeight.value_or(decoded->Height());
  }
  // --verify reads the file back, and the readers stop at kMaxImagePixels.
  const std::int64_t outWidth = options.picturePath ? pictureWidth : side;
  const std::int64_t outHeight = options.picturePath ? pictureHeight : side;
  if (options.verify && outWidth * outHeight > platform::codecs::kMaxImagePixels) {
    return Failure{kExitInputOutput,
                   "cannot verify a picture of " + std::to_string(outWidth) + " x " +
                       std::to_string(outHeight) + " pixels: at most " +
                       std::to_string(platform::codecs::kMaxImagePixels) +
                       " pixels are read back; leave out --verify or make it smaller"};
  }
  const std::int16_t kind = RasterKind(type);
  if (kind == 0) {
    // Files get the standard 40-byte BMP header that every reader knows,
    // written from the picture itself: no second copy of a large picture.
    const auto bitmap =
        g.ExportBitmap(static_cast<std::int32_t>(side), picture, pictureWidth, pictureHeight,
                       options.offsetX, options.offsetY, options.noise);
    bytes = bitmap ? platform::codecs::EncodeBmp(*bitmap) : Bytes{};
  } else {
    bytes = g.ExportImage(static_cast<std::int32_t>(side), kind, picture, pictureWidth,
                          pictureHeight, options.offsetX, options.offsetY, options.noise);
  }
  if (bytes.empty()) return Failure{kExitInputOutput, "cannot make the picture"};
  return std::nullopt;
}

}  // namespace

bool IsRasterType(OutputType type) {
  return type == OutputType::kPng || type == OutputType::kJpeg || type == OutputType::kGif ||
         type == OutputType::kTiff || type == OutputType::kBmp;
}

std::optional<OutputType> ResolveOutputType(const CliOptions& options, std::string& error) {
  if (options.type != OutputType::kNone) return options.type;
  if (!options.output || *options.output == "-") return OutputType::kUtf8;
  if (const auto type = OutputTypeFromPath(*options.output)) return type;
  error = "cannot tell the format of '" + *options.output + "' from its name; use -t";
  return std::nullopt;
}

Outcome RenderOutput(const CliOptions& options, const Symbol& symbol, OutputType type,
                     Bytes& bytes) {
  const QrGenerator& g = symbol.generator;
  const std::int32_t s = options.moduleSize;
  switch (type) {
    case OutputType::kSvg:
      bytes = ExportVector(g, VectorKind::kSvg, options.width, options.height);
      break;
    case OutputType::kEps:
      bytes = ExportVector(g, VectorKind::kEps);
      break;
    case OutputType::kPs:
      bytes = ExportVector(g, VectorKind::kPostScript);
      break;
    case OutputType::kEmf:
      bytes = ExportVector(g, VectorKind::kEmf);
      break;
    case OutputType::kWmf:
      bytes = ExportVector(g, VectorKind::kWmf);
      break;
    case OutputType::kHtml: {
      const std::int64_t w = options.width.value_or(std::int64_t{g.SymbolWidth()} * s);
      const std::int64_t h = options.height.value_or(std::int64_t{g.SymbolHeight()} * s);
      if (w > INT32_MAX || h > INT32_MAX) return Failure{kExitUsage, "the HTML size is too large"};
      bytes = FromText(ExportHtml(g, static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)));
      break;
    }
    case OutputType::kTxt:
      bytes = FromText(ExportTextArt(g, options.circles));
      break;
    case OutputType::kUtf8:
      bytes = FromText(RenderHalfBlocks(g));
      break;
    case OutputType::kAnsi:
      bytes = FromText(RenderAnsi(g));
      break;
    default:
      return RenderRaster(options, symbol, type, bytes);
  }
  if (bytes.empty()) return Failure{kExitInputOutput, "cannot write the symbol in that form"};
  return std::nullopt;
}

Outcome Deliver(const CliOptions& options, const Bytes& bytes, std::FILE* out) {
  if (options.output && *options.output != "-") {
    if (!platform::WriteFileAtomically(*options.output, bytes)) {
      const int error = errno != 0 ? errno : EIO;
      // Through a link, the file that could not be written is the one it leads to.
      std::string where = "'" + *options.output + "'";
      const std::string target = platform::WriteTargetOf(*options.output);
      if (!target.empty() && target != *options.output) where += " (a link to '" + target + "')";
      return Failure{kExitInputOutput, "cannot write " + where + ": " + std::strerror(error)};
    }
    return std::nullopt;
  }
  if (out == nullptr) return Failure{kExitUsage, "no output file named"};
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0) {
    return Failure{kExitInputOutput, "cannot write to standard output"};
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
