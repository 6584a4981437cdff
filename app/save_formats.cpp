#include "app/save_formats.h"

#include <QFileInfo>
#include <algorithm>

#include "app/window_text.h"
#include "generator/qr_generator.h"
#include "platform/bitmap.h"
#include "platform/file.h"

namespace qrsmith::app {

namespace {

// The save labels of the table of output forms, listed here so that Qt's
// lupdate puts them in the window's catalogue; SaveFilters translates them.
[[maybe_unused]] constexpr const char* kSaveLabels[] = {
    QT_TRANSLATE_NOOP("qrsmith", "PNG图像"),     QT_TRANSLATE_NOOP("qrsmith", "JPEG图像"),
    QT_TRANSLATE_NOOP("qrsmith", "GIF图像"),     QT_TRANSLATE_NOOP("qrsmith", "TIFF图像"),
    QT_TRANSLATE_NOOP("qrsmith", "BMP图像"),     QT_TRANSLATE_NOOP("qrsmith", "SVG矢量图"),
    QT_TRANSLATE_NOOP("qrsmith", "EPS矢量图"),   QT_TRANSLATE_NOOP("qrsmith", "PostScript文档"),
    QT_TRANSLATE_NOOP("qrsmith", "PDF文档"),     QT_TRANSLATE_NOOP("qrsmith", "EMF增强型图元文件"),
    QT_TRANSLATE_NOOP("qrsmith", "WMF图元文件"), QT_TRANSLATE_NOOP("qrsmith", "HTML网页片段"),
    QT_TRANSLATE_NOOP("qrsmith", "文本字符画"),
};

}  // namespace

std::vector<const OutputForm*> SaveForms() {
  std::vector<const OutputForm*> forms;
  for (const OutputForm& form : OutputForms()) {
    if (!form.saveLabel.empty()) forms.push_back(&form);
  }
  return forms;
}

QStringList SaveFilters() {
  QStringList filters;
  for (const OutputForm* form : SaveForms()) {
    const std::string label(form->saveLabel);
    filters << QStringLiteral("%1 (%2)").arg(WindowText::tr(label.c_str()),
                                             QString::fromStdString(form->Patterns()));
  }
  return filters;
}

SaveTarget ResolveSaveTarget(const QString& path, int filter) {
  if (const OutputForm* typed = FormOfPath(path.toStdString());
      typed && !typed->saveLabel.empty()) {
    return {path, typed};
  }
  const auto forms = SaveForms();
  const OutputForm* chosen =
      filter >= 0 && filter < static_cast<int>(forms.size()) ? forms[filter] : forms.front();
  if (!QFileInfo(path).suffix().isEmpty()) return {path, chosen};
  const std::string_view extension = chosen->extensions.front();
  return {path + QLatin1Char('.') +
              QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size())),
          chosen};
}

SaveOutcome SaveSymbol(const QrGenerator& generator, const std::string& path,
                       const OutputForm& form, const PrintSettings& print) {
  if (!generator.HasSymbol()) return SaveOutcome::kNotWritten;
  FormRequest request;
  if (form.IsRaster()) {
    // The pixels a module of the printed size, rounded as the command-line
    // tool rounds them for --module-mm and --dpi.
    const std::int64_t perModule = print.RasterPixelsPerModule().value_or(0);
    if (perModule < 1) return SaveOutcome::kUnderOnePixel;
    const std::int64_t side =
        perModule * std::max(generator.SymbolWidth(), generator.SymbolHeight());
    if (side > platform::kMaxBitmapSide) return SaveOutcome::kTooLarge;
    request.layout.width = static_cast<std::int32_t>(perModule * generator.SymbolWidth());
    request.layout.height = static_cast<std::int32_t>(perModule * generator.SymbolHeight());
    if (form.can.physicalSize) request.print.dpi = print.RasterDpi();
  } else if (form.can.physicalSize) {
    request.print.moduleMm = print.moduleMm;
  } else if (form.can.pixelSize) {
    request.layout.width = generator.SymbolWidth() * kSavePixelsPerModule;
    request.layout.height = generator.SymbolHeight() * kSavePixelsPerModule;
  }
  request.circles = true;
  const Bytes bytes = ExportForm(generator, form, request);
  return !bytes.empty() && platform::WriteFileAtomically(path, bytes) ? SaveOutcome::kSaved
                                                                      : SaveOutcome::kNotWritten;
}

}  // namespace qrsmith::app
