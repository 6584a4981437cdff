#include "cli/print_read_back.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/codecs/resolution.h"
#include "verify/pdf_read_back.h"

namespace qrsmith::cli {

namespace {

// The two numbers after `marker`.
std::optional<std::pair<double, double>> PairAfter(std::string_view text, std::string_view marker,
                                                   std::size_t from = 0) {
  std::size_t at = text.find(marker, from);
  if (at == std::string_view::npos) return std::nullopt;
  at += marker.size();
  const auto first = verify::NumberAt(text, at);
  if (first && at < text.size() && text.substr(at, 2) == "mm") at += 2;  // SVG's unit
  if (first && at < text.size() && text[at] == '"') {
    at = text.find('"', at + 1);  // SVG: the next attribute's value
    if (at == std::string_view::npos) return std::nullopt;
    ++at;
  }
  const auto second = first ? verify::NumberAt(text, at) : std::nullopt;
  if (!second) return std::nullopt;
  return std::pair{*first, *second};
}

bool Near(double value, double expected, double tolerance) {
  return std::fabs(value - expected) <= tolerance;
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

Failure SizeMismatch(std::string_view what, double readW, double readH, double wantW, double wantH,
                     std::string_view unit) {
  return Failure{kExitVerify, "verification failed: the file's " + std::string(what) + " is " +
                                  Number(readW) + " x " + Number(readH) + " " + std::string(unit) +
                                  ", not " + Number(wantW) + " x " + Number(wantH)};
}

}  // namespace

Outcome VerifyPrintedSize(const PrintSettings& print, const OutputForm& form, const Bytes& file,
                          std::int32_t gridWidth, std::int32_t gridHeight) {
  const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  if (form.IsRaster()) {
    const auto dpi = print.RasterDpi();
    if (!dpi) return std::nullopt;
    const auto read = platform::codecs::ResolutionOf(file);
    if (!read) {
      return Failure{kExitVerify, "verification failed: the file declares no resolution"};
    }
    // PNG and BMP hold whole pixels per metre: within half a dot per inch.
    if (!Near(read->x, *dpi, 0.5) || !Near(read->y, *dpi, 0.5)) {
      return SizeMismatch("resolution", read->x, read->y, *dpi, *dpi, "dpi");
    }
    return std::nullopt;
  }
  if (form.id == FormId::kPdf) {
    const double points = *print.PointsPerModule(kDefaultPrintModuleMm);
    const auto page = PairAfter(text, "/MediaBox [0 0 ");
    if (!page) return Failure{kExitVerify, "verification failed: the file has no page size"};
    if (!Near(page->first, gridWidth * points, 0.01) ||
        !Near(page->second, gridHeight * points, 0.01)) {
      return SizeMismatch("page", page->first, page->second, gridWidth * points,
                          gridHeight * points, "points");
    }
    return std::nullopt;
  }
  if (form.id == FormId::kSvg && print.moduleMm) {
    const auto size = PairAfter(text, " width=\"", text.find("<svg "));
    const double w = gridWidth * *print.moduleMm, h = gridHeight * *print.moduleMm;
    if (!size || !Near(size->first, w, 1e-6 * w) || !Near(size->second, h, 1e-6 * h)) {
      return SizeMismatch("document", size ? size->first : 0, size ? size->second : 0, w, h, "mm");
    }
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
