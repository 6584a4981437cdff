#pragma once
// The file forms the Save command offers, in the order of the save dialog's
// filters, and how each is written: raster pictures enlarged to ten pixels
// per module with the centre icon, vector and metafile forms at their natural
// size (one unit per module), HTML at ten CSS pixels per module, and text art
// in circles.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <string>

namespace qrsmith {
class QrGenerator;
}

namespace qrsmith::app {

// Pixels (or CSS pixels) per module of the enlarged forms.
inline constexpr std::int32_t kSavePixelsPerModule = 10;

enum class SaveWriter { kRaster, kVector, kHtml, kTextArt };

struct SaveFormat {
  const char* label;      // the filter's label
  const char* patterns;   // "*.png" or "*.jpg *.jpeg"
  const char* extension;  // added to a file name that has none
  SaveWriter writer;
  std::int16_t kind;  // the raster kind (SaveImage) or vector kind (SaveVector)
};

std::span<const SaveFormat> SaveFormats();
// "label (patterns)" for each format, in order.
QStringList SaveFilters();

// `path` with the format's extension appended when it names none at all.
QString WithDefaultExtension(const QString& path, const SaveFormat& format);

// Writes the generator's current symbol to `path` (UTF-8) in `format`,
// atomically; false when there is no symbol or the file cannot be written.
bool SaveSymbol(const QrGenerator& generator, const std::string& path, const SaveFormat& format);

}  // namespace qrsmith::app
