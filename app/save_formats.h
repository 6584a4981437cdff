#pragma once
// The Save command's side of the table of output forms: the save dialog's
// filters (the forms that have a save label, in table order), the rule that
// settles the form and file name, and the write itself. Raster pictures are
// enlarged to ten pixels per module with the centre icon, metafiles keep
// their natural size (one unit per module), HTML gets ten CSS pixels per
// module, and text art is drawn in circles.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include <qrsmith/export/output_forms.h>

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::app {

// Pixels (or CSS pixels) per module of the enlarged forms.
inline constexpr std::int32_t kSavePixelsPerModule = 10;
// Every form that can carry a printed size prints at 0.5 mm a module: the
// vector forms (SVG in millimetres, EPS, PostScript, PDF) by their own units,
// the raster pictures by declaring their 10 pixels a module at 508 dpi (GIF
// holds no resolution). The metafiles, HTML and text art carry no printed size.
inline constexpr double kSaveModuleMm = 0.5;
inline constexpr std::int32_t kSaveRasterDpi = 508;  // 10 px / 0.5 mm x 25.4 mm/in

// The forms the save dialog offers, in the order of its filters.
std::vector<const OutputForm*> SaveForms();
// "label (patterns)" for each of them, in order.
QStringList SaveFilters();

struct SaveTarget {
  QString path;
  const OutputForm* form;
};

// What a save of `path` with filter `filter` chosen writes: an extension
// that names a form decides the form; otherwise the filter's form, whose
// usual extension is added when the name has no extension at all.
SaveTarget ResolveSaveTarget(const QString& path, int filter);

// Writes the generator's current symbol to `path` (UTF-8) in `form`,
// atomically; false when there is no symbol or the file cannot be written.
bool SaveSymbol(const QrGenerator& generator, const std::string& path, const OutputForm& form);

}  // namespace qrsmith::app
