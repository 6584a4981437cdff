#include "cli/print_read_back.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/codecs/resolution.h"

namespace qrsmith::cli {

namespace {

// The real number at the start of `text` (after any spaces); nullopt for none.
std::optional<double> RealAt(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  at = static_cast<std::size_t>(end - text.data());
  return value;
}

// The two numbers after `marker`.
std::optional<std::pair<double, double>> PairAfter(std::string_view text, std::string_view marker,
                                                   std::size_t from = 0) {
  std::size_t at = text.find(marker, from);
  if (at == std::string_view::npos) return std::nullopt;
  at += marker.size();
  const auto first = RealAt(text, at);
  if (first && at < text.size() && text.substr(at, 2) == "mm") at += 2;  // SVG's unit
  if (first && at < text.size() && text[at] == '"') {
    at = text.find('"', at + 1);  // SVG: the next attribute's value
    if (at == std::string_view::npos) return std::nullopt;
    ++at;
  }
  const auto second = first ? RealAt(text, at) : std::nullopt;
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

std::optional<std::vector<std::uint8_t>> PdfDarkGrid(std::string_view pdf, std::int32_t width,
                                                     std::int32_t height) {
  const auto start = pdf.find("stream\n");
  const auto end = pdf.find("endstream", start);
  if (start == std::string_view::npos || end == std::string_view::npos) return std::nullopt;
  struct Rectangle {
    double x, y, w, h;
  };
  std::vector<Rectangle> current, filled;
  for (std::size_t at = start + 7; at < end;) {
    const std::size_t lineEnd = std::min(pdf.find('\n', at), end);
    const std::string_view line = pdf.substr(at, lineEnd - at);
    at = lineEnd + 1;
    if (line.ends_with(" re")) {
      std::size_t p = 0;
      const auto x = RealAt(line, p), y = RealAt(line, p), w = RealAt(line, p), h = RealAt(line, p);
      if (!x || !y || !w || !h) return std::nullopt;
      current.push_back({*x, *y, *w, *h});
    } else if (line == "f") {
      filled = std::move(current);
      current.clear();
    } else if (line.ends_with(" rg") || line.ends_with(" k")) {
      current.clear();
    }
  }
  if (filled.empty()) return std::nullopt;
  std::vector<std::uint8_t> dark(static_cast<std::size_t>(width) * height);
  for (const Rectangle& r : filled) {
    if (r.x < 0 || r.y < 0 || r.w < 1 || r.h < 1 || r.x + r.w > width || r.y + r.h > height ||
        r.x != std::floor(r.x) || r.y != std::floor(r.y) || r.w != std::floor(r.w) ||
        r.h != std::floor(r.h)) {
      return std::nullopt;
    }
    for (auto y = static_cast<std::size_t>(r.y); y < r.y + r.h; ++y) {
      for (auto x = static_cast<std::size_t>(r.x); x < r.x + r.w; ++x) dark[y * width + x] = 1;
    }
  }
  return dark;
}

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
