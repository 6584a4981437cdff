#include "app/save_formats.h"

#include <QFileInfo>

#include "generator/qr_generator.h"
#include "platform/file.h"

namespace qrsmith::app {

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
    filters << QStringLiteral("%1 (%2)").arg(
        QString::fromUtf8(form->saveLabel.data(), static_cast<qsizetype>(form->saveLabel.size())),
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
  const Bytes bytes = ExportForm(generator, form, request);
  return !bytes.empty() && platform::WriteFileAtomically(path, bytes);
}

}  // namespace qrsmith::app
