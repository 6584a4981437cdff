#include "generator/print_settings.h"

#include <cmath>

namespace qrsmith {

std::optional<std::int64_t> PrintSettings::RasterPixelsPerModule() const {
  if (!moduleMm) return std::nullopt;
  return std::llround(*moduleMm * *RasterDpi() / kMillimetresPerInch);
}

std::optional<double> PrintSettings::PointsPerModule(std::optional<double> fallbackMm) const {
  const std::optional<double> mm = moduleMm ? moduleMm : fallbackMm;
  if (!mm) return std::nullopt;
  return *mm * kPointsPerInch / kMillimetresPerInch;
}

}  // namespace qrsmith
