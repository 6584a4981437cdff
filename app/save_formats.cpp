#include "app/save_formats.h"

#include <QFileInfo>
#include <array>

#include "export/html.h"
#include "export/text_art.h"
#include "export/vector_export.h"
#include "generator/qr_generator.h"
#include "platform/file.h"

namespace qrsmith::app {

namespace {

constexpr std::int16_t kRasterBmp = 0, kRasterJpeg = 1, kRasterGif = 2, kRasterTiff = 3,
                       kRasterPng = 4;

constexpr std::int16_t Vector(VectorKind kind) { return static_cast<std::int16_t>(kind); }

constexpr std::array<SaveFormat, 12> kFormats{{
    {"PNG图像", "*.png", "png", SaveWriter::kRaster, kRasterPng},
    {"JPEG图像", "*.jpg *.jpeg", "jpg", SaveWriter::kRaster, kRasterJpeg},
    {"GIF图像", "*.gif", "gif", SaveWriter::kRaster, kRasterGif},
    {"TIFF图像", "*.tif *.tiff", "tif", SaveWriter::kRaster, kRasterTiff},
    {"BMP图像", "*.bmp", "bmp", SaveWriter::kRaster, kRasterBmp},
    {"SVG矢量图", "*.svg", "svg", SaveWriter::kVector, Vector(VectorKind::kSvg)},
    {"EPS矢量图", "*.eps", "eps", SaveWriter::kVector, Vector(VectorKind::kEps)},
    {"PostScript文档", "*.ps", "ps", SaveWriter::kVector, Vector(VectorKind::kPostScript)},
    {"EMF增强型图元文件", "*.emf", "emf", SaveWriter::kVector, Vector(VectorKind::kEmf)},
    {"WMF图元文件", "*.wmf", "wmf", SaveWriter::kVector, Vector(VectorKind::kWmf)},
    {"HTML网页片段", "*.html *.htm", "html", SaveWriter::kHtml, 0},
    {"文本字符画", "*.txt", "txt", SaveWriter::kTextArt, 0},
}};

}  // namespace

std::span<const SaveFormat> SaveFormats() { return kFormats; }

QStringList SaveFilters() {
  QStringList filters;
  for (const SaveFormat& f : kFormats) {
    filters << QStringLiteral("%1 (%2)").arg(QString::fromUtf8(f.label),
                                             QString::fromUtf8(f.patterns));
  }
  return filters;
}

QString WithDefaultExtension(const QString& path, const SaveFormat& format) {
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + QString::fromUtf8(format.extension);
}

bool SaveSymbol(const QrGenerator& generator, const std::string& path, const SaveFormat& format) {
  if (!generator.HasSymbol()) return false;
  const std::int32_t width = generator.SymbolWidth() * kSavePixelsPerModule;
  const std::int32_t height = generator.SymbolHeight() * kSavePixelsPerModule;
  switch (format.writer) {
    case SaveWriter::kRaster:
      return generator.SaveImage(path, width, format.kind);
    case SaveWriter::kVector:
      return SaveVector(generator, path, static_cast<VectorKind>(format.kind));
    case SaveWriter::kHtml: {
      const std::string html = ExportHtml(generator, width, height);
      return !html.empty() && platform::WriteFileAtomically(path, html);
    }
    case SaveWriter::kTextArt: {
      const std::string art = ExportTextArt(generator, true);
      return !art.empty() && platform::WriteFileAtomically(path, art);
    }
  }
  return false;
}

}  // namespace qrsmith::app
