#pragma once
// The Save command's side of the table of output forms: the save dialog's
// filters (the forms that have a save label, in table order), the rule that
// settles the form and file name, and the write itself. Every form that can
// carry a printed size prints at the Basic page's module size: raster
// pictures are drawn with the centre icon at the pixels a module that size
// takes at the page's resolution, which they declare (GIF has no field for
// it, but is drawn alike); the vector forms and the metafiles by their own
// units. HTML gets ten CSS pixels per module, and text art is drawn in circles.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include <qrsmith/export/output_forms.h>
#include <qrsmith/generator/print_settings.h>

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::app {

// Pixels (or CSS pixels) per module of HTML and of the clipboard's picture.
inline constexpr std::int32_t kSavePixelsPerModule = 10;
// The Basic page's choices on a first start: 0.5 mm a module, and pictures
// of 10 pixels a module declaring 508 dpi (10 px / 0.5 mm x 25.4 mm/in).
inline constexpr double kSaveModuleMm = 0.5;
inline constexpr std::int32_t kSaveRasterDpi = 508;
// The quiet zone of the window's symbol on a first start, in modules.
inline constexpr std::int32_t kWindowQuietZone = 1;

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

enum class SaveOutcome {
  kSaved,
  kNotWritten,     // no symbol, or the file cannot be written
  kUnderOnePixel,  // a picture's module would be less than one pixel
  kTooLarge,       // a picture would be wider than a picture can be
};

// Writes the generator's current symbol to `path` (UTF-8) in `form` at the
// printed size `print` (module size and resolution both given), atomically.
SaveOutcome SaveSymbol(const QrGenerator& generator, const std::string& path,
                       const OutputForm& form, const PrintSettings& print);

}  // namespace qrsmith::app
