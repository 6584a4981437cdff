#include "verify/pdf_read_back.h"

#include <zlib.h>

#include <charconv>
#include <cmath>
#include <string>

namespace qrsmith::verify {

std::optional<double> NumberAt(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  at = static_cast<std::size_t>(end - text.data());
  return value;
}

namespace {

// The zlib data of a FlateDecode stream, inflated; nullopt when it is not
// sound or would pass kMostContentBytes.
constexpr std::size_t kMostContentBytes = std::size_t{64} << 20;
std::optional<std::string> Inflated(std::string_view data) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return std::nullopt;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  std::string out;
  int status = Z_OK;
  while (status == Z_OK && out.size() < kMostContentBytes) {
    char buffer[16384];
    z.next_out = reinterpret_cast<Bytef*>(buffer);
    z.avail_out = sizeof buffer;
    status = inflate(&z, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - z.avail_out);
    if (status == Z_BUF_ERROR && z.avail_in == 0) break;
  }
  inflateEnd(&z);
  if (status != Z_STREAM_END) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PdfDarkGrid(std::string_view pdf, std::int32_t width,
                                                     std::int32_t height) {
  const auto start = pdf.find("stream\n");
  const auto end = pdf.find("endstream", start);
  if (start == std::string_view::npos || end == std::string_view::npos) return std::nullopt;
  // A compressed page content (the tool's PDF) is read once inflated.
  const auto object = pdf.rfind(" obj", start);
  if (object != std::string_view::npos &&
      pdf.substr(object, start - object).find("/FlateDecode") != std::string_view::npos) {
    const auto content = Inflated(pdf.substr(start + 7, end - start - 7));
    if (!content) return std::nullopt;
    return PdfDarkGrid("stream\n" + *content + "endstream", width, height);
  }
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
      const auto x = NumberAt(line, p), y = NumberAt(line, p), w = NumberAt(line, p),
                 h = NumberAt(line, p);
      if (!x || !y || !w || !h) return std::nullopt;
      current.push_back({*x, *y, *w, *h});
    } else if (line == "f") {
      // A fill of other shapes (a mark over the symbol) leaves the modules'.
      if (!current.empty()) filled = std::move(current);
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

}  // namespace qrsmith::verify
