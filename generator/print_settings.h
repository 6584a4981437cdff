#pragma once
// How an export is to come out of a printer: the printed size of one module,
// the resolution a raster file declares, and whether the colours are written
// as CMYK inks. These belong to the export request, not to the symbol; every
// writer that can carry a printed size takes it from here, so a raster file
// and a PDF asked for the same module size print the same.

#include <cstdint>
#include <optional>

namespace qrsmith {

// --module-mm: 0.05 mm (about the finest a laser printer places) to 100 mm.
inline constexpr double kMinModuleMm = 0.05;
inline constexpr double kMaxModuleMm = 100.0;
// --dpi: 1 to 10000 dots per inch, within every format's resolution field.
inline constexpr std::int32_t kMinDpi = 1;
inline constexpr std::int32_t kMaxDpi = 10000;
// The resolution a raster file is made for when only the module size is given.
inline constexpr std::int32_t kDefaultPrintDpi = 300;
// The module size of the forms that always print at a physical size (PDF).
inline constexpr double kDefaultPrintModuleMm = 0.5;

inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kPointsPerInch = 72.0;

struct PrintSettings {
  std::optional<double> moduleMm;   // the printed side of one module
  std::optional<std::int32_t> dpi;  // the resolution a raster file declares
  bool cmyk = false;                // colours as C, M, Y, K inks

  bool SizeGiven() const { return moduleMm.has_value() || dpi.has_value(); }
  // The resolution a raster file declares: the one asked for, else the
  // default print resolution when a module size is asked for; none without either.
  std::optional<std::int32_t> RasterDpi() const {
    if (dpi) return dpi;
    if (moduleMm) return kDefaultPrintDpi;
    return std::nullopt;
  }
  // Whole pixels per module at RasterDpi, rounded to nearest (may be 0);
  // nullopt without a module size.
  std::optional<std::int64_t> RasterPixelsPerModule() const;
  // Points per module of a vector form: the module size asked for, or
  // `fallbackMm`; nullopt when neither is there (the form's own unit).
  std::optional<double> PointsPerModule(std::optional<double> fallbackMm = std::nullopt) const;
};

}  // namespace qrsmith
