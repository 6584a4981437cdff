#include "app/save_formats.h"

#include <QFileInfo>

#include "app/window_text.h"
#include "generator/qr_generator.h"
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

bool SaveSymbol(const QrGenerator& generator, const std::string& path, const OutputForm& form) {
  if (!generator.HasSymbol()) return false;
  FormRequest request;
  if (form.can.pixelSize && form.id != FormId::kSvg) {
    request.layout.width = generator.SymbolWidth() * kSavePixelsPerModule;
    request.layout.height = generator.SymbolHeight() * kSavePixelsPerModule;
  }
  request.circles = true;
  if (form.can.physicalSize) {
    if (form.can.pixelSize && form.id != FormId::kSvg) {
      if (form.id != FormId::kGif) request.print.dpi = kSaveRasterDpi;
    } else {
      request.print.moduleMm = kSaveModuleMm;
    }
  }
  const Bytes bytes = ExportForm(generator, form, request);
  return !bytes.empty() && platform::WriteFileAtomically(path, bytes);
}

}  // namespace qrsmith::app
