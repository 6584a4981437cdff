#include "verify/scan_check.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <system_error>

#include "export/module_grid.h"
#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "platform/codecs/image.h"
#include "verify/codeword_map.h"
#include "verify/qr_reader.h"
#include "verify/read_back.h"
#include "verify/symbol_measure.h"

namespace qrsmith::verify {

namespace {

using platform::PixelFromColour;

std::string Printable(const Bytes& bytes) {
  std::string out;
  for (std::uint8_t b : bytes) {
    if (out.size() > 60) return out + "...";
    out += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '?';
  }
  return out;
}

FileGradeResult Failed(std::string message) { return {FileCheck::kFailed, std::move(message), {}}; }

// The grade's decoding: the bytes each reader finds.
struct Readings {
  std::optional<Bytes> zxing, zbar;
};

// Both readers on `grey`: zbar on a thread of its own, zxing-cpp and then
// `meanwhile` on this one (the two readers take about as long). Without a
// thread to spare, zbar reads afterwards.
template <typename Meanwhile>
Readings ReadBoth(const GreyPicture& grey, Meanwhile&& meanwhile) {
  const auto readZbar = [&grey] { return ReadGrey(grey, Reader::kZbar); };
  std::future<std::optional<Bytes>> zbar;
  try {
    zbar = std::async(std::launch::async, readZbar);
  } catch (const std::system_error&) {
  }
  Readings out;
  out.zxing = ReadGrey(grey, Reader::kZxing);
  meanwhile();
  out.zbar = zbar.valid() ? zbar.get() : readZbar();
  return out;
}

// A when both readers read the carried bytes, C when one does, F when neither.
Parameter DecodeParameter(const Readings& readings, std::span<const std::uint8_t> carried) {
  int read = 0;
  std::string failed, otherwise;
  for (Reader reader : {Reader::kZxing, Reader::kZbar}) {
    const auto& bytes = reader == Reader::kZxing ? readings.zxing : readings.zbar;
    if (bytes && std::ranges::equal(*bytes, carried)) {
      ++read;
      continue;
    }
    failed = std::string(ReaderName(reader)) +
             (ReaderAvailable(reader) ? " cannot read it" : " is not available");
    if (bytes) otherwise = Printable(*bytes);
  }
  Parameter p{"decode",
              read == 2   ? Letter::kA
              : read == 1 ? Letter::kC
                          : Letter::kF,
              static_cast<double>(read),
              {}};
  if (read == 1) p.detail = failed;
  if (read == 0) {
    p.detail = otherwise.empty() ? "neither zxing-cpp nor zbar finds the symbol"
                                 : "it reads back as '" + otherwise + "'";
  }
  return p;
}

// Both readers on the picture as it is.
Parameter GradeDecode(const platform::Bitmap& picture, std::span<const std::uint8_t> carried) {
  return DecodeParameter(ReadBoth(GreyOf(picture), [] {}), carried);
}

// The grid the generator's symbol is meant to show, margins included.
std::vector<std::uint8_t> IntendedGrid(const QrGenerator& g) {
  std::vector<std::uint8_t> dark;
  dark.reserve(static_cast<std::size_t>(g.SymbolWidth()) * g.SymbolHeight());
  for (int r = 1; r <= g.SymbolHeight(); ++r) {
    for (int c = 1; c <= g.SymbolWidth(); ++c) dark.push_back(g.IsDark(r, c) ? 1 : 0);
  }
  return dark;
}

// A grid drawn `width` x `height` pixels by nearest neighbour, dark
// positions in `foreground` and light ones in `background` (both pixels).
std::optional<platform::Bitmap> DrawGrid(const QrGenerator& g,
                                         const std::vector<std::uint8_t>& dark,
                                         std::uint32_t foreground, std::uint32_t background,
                                         std::int64_t width, std::int64_t height) {
  auto modules = platform::Bitmap::Create(g.SymbolWidth(), g.SymbolHeight());
  if (!modules) return std::nullopt;
  for (int r = 0; r < g.SymbolHeight(); ++r) {
    std::uint32_t* row = modules->Row(r);
    for (int c = 0; c < g.SymbolWidth(); ++c) {
      row[c] = dark[static_cast<std::size_t>(r) * g.SymbolWidth() + c] ? foreground : background;
    }
  }
  if (width < 1 || height < 1 || width > platform::kMaxBitmapSide ||
      height > platform::kMaxBitmapSide || width * height > kMaxVerifyPixels) {
    return std::nullopt;
  }
  return modules->Stretch(static_cast<int>(width), static_cast<int>(height));
}

// What readers that ignore alpha see of a picture composed onto white: the
// two colours at full strength where their blends onto white were drawn.
platform::Bitmap AlphaDropped(platform::Bitmap picture, const QrGenerator& g,
                              const Opacity& opacity) {
  const std::uint32_t blendedDark =
      PixelFromColour(ColourOnWhite(g.ForegroundColour(), opacity.foreground));
  const std::uint32_t blendedLight =
      PixelFromColour(ColourOnWhite(g.BackgroundColour(), opacity.background));
  const std::uint32_t dark = PixelFromColour(g.ForegroundColour()),
                      light = PixelFromColour(g.BackgroundColour());
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t p = row[x] & 0xFFFFFF;
      if (p == blendedLight && opacity.background != 255)
        row[x] = light;
      else if (p == blendedDark && opacity.foreground != 255)
        row[x] = dark;
    }
  }
  return picture;
}

// Grades `picture`, and when a colour is not opaque also its view with alpha
// dropped, each parameter at the lower of the two.
ScanGrade GradeViews(const QrGenerator& g, std::span<const std::uint8_t> carried,
                     const platform::Bitmap& picture, const Opacity& opacity,
                     const std::string& cause) {
  ScanGrade grade = GradePicture(g, carried, picture, cause);
  if (opacity.IsOpaque()) return grade;
  const ScanGrade dropped = GradePicture(g, carried, AlphaDropped(picture, g, opacity), "colours");
  for (Parameter p : dropped.parameters) {
    if (!p.detail.empty())
      p.detail += ", with alpha dropped as readers that ignore it see the file";
    grade.Lower(p);
  }
  return grade;
}

std::string DamageCause(const QrGenerator& g) { return g.IconBitmap() ? "icon" : "damage"; }

// Inches a module of a non-raster form: the module size asked for, else the
// size the file declares, else one point (PostScript's unit) or one CSS pixel.
double InchesPerModule(const QrGenerator& g, const OutputForm& form, const Bytes& bytes,
                       const GradeRequest& request) {
  if (request.moduleMm) return *request.moduleMm / kMillimetresPerInch;
  if (form.id == FormId::kPdf) return kDefaultPrintModuleMm / kMillimetresPerInch;
  if (const auto size = ReadDrawnSize(form.id, bytes); size && size->width > 0) {
    return static_cast<double>(size->width) / g.SymbolWidth() / 96;
  }
  if (form.id == FormId::kEps || form.id == FormId::kPs) return 1.0 / 72;
  return 1.0 / 96;
}

}  // namespace

Bytes CarriedBytes(const QrGenerator& generator) {
  return ContentBytes(generator.Content(), generator.IsAnsi()).value_or(Bytes{});
}

std::vector<Parameter> MeasurePicture(const QrGenerator& g, const platform::Bitmap& picture,
                                      const std::string& damageCause) {
  const std::int32_t side = g.SymbolWidth() - g.MarginLeft() - g.MarginRight();
  const std::int32_t level = g.Level() == 0 ? 2 : g.Level();
  const CodewordMap map = MapCodewords((side - 17) / 4, level);
  if (map.side != side || picture.Empty()) return {};
  GridGeometry geometry;
  geometry.columns = g.SymbolWidth();
  geometry.rows = g.SymbolHeight();
  geometry.moduleWidth = static_cast<double>(picture.Width()) / geometry.columns;
  geometry.moduleHeight = static_cast<double>(picture.Height()) / geometry.rows;
  geometry.matrixLeft = g.MarginLeft();
  geometry.matrixTop = g.MarginTop();
  geometry.quietZone = std::min({g.MarginLeft(), g.MarginTop(), g.MarginRight(), g.MarginBottom()});
  return MeasureSymbol(picture, geometry, IntendedGrid(g), map, damageCause);
}

ScanGrade GradePicture(const QrGenerator& g, std::span<const std::uint8_t> carried,
                       const platform::Bitmap& picture, const std::string& damageCause) {
  std::vector<Parameter> measured;
  const Readings readings =
      ReadBoth(GreyOf(picture), [&] { measured = MeasurePicture(g, picture, damageCause); });
  ScanGrade grade;
  grade.parameters.push_back(DecodeParameter(readings, carried));
  for (Parameter& p : measured) grade.parameters.push_back(std::move(p));
  return grade;
}

FileGradeResult GradeWrittenFile(const QrGenerator& g, std::span<const std::uint8_t> carried,
                                 const OutputForm& form, const Bytes& bytes,
                                 const GradeRequest& request) {
  if (!ReaderAvailable(Reader::kZxing) || !ReaderAvailable(Reader::kZbar)) {
    return {FileCheck::kCannotCheck,
            "cannot verify: the reader module " QRSMITH_READER_MODULE " is not installed",
            {}};
  }
  const std::string grid =
      std::to_string(g.SymbolWidth()) + " x " + std::to_string(g.SymbolHeight());
  FileGradeResult out;
  if (form.IsRaster()) {
    const auto picture = platform::codecs::DecodeImage(bytes);
    if (!picture) return Failed("verification failed: the written file is not a readable picture");
    if (request.onPicture) {
      out.grade.parameters.push_back(GradeDecode(*picture, carried));
      return out;
    }
    out.grade = GradeViews(g, carried, *picture, request.opacity,
                           request.swissCross ? "cross" : DamageCause(g));
    if (request.dpi) {
      out.grade.moduleMm = static_cast<double>(picture->Width()) / g.SymbolWidth() / *request.dpi *
                           kMillimetresPerInch;
    }
    return out;
  }
  std::optional<std::vector<std::uint8_t>> dark;
  double pixelsPerModule = 4;
  if (form.writer == FormWriter::kTerminal) {
    dark = IntendedGrid(g);  // the symbol itself, four pixels a module where they fit
    const std::int64_t side = std::max(g.SymbolWidth(), g.SymbolHeight());
    const std::int64_t all = std::int64_t{g.SymbolWidth()} * g.SymbolHeight();
    while (pixelsPerModule > 1 && (side * pixelsPerModule > platform::kMaxBitmapSide ||
                                   all * pixelsPerModule * pixelsPerModule > kMaxVerifyPixels)) {
      --pixelsPerModule;
    }
  } else {
    // The grid the written file describes, read back out of it.
    dark = ReadBackGrid(form.id, bytes, g.SymbolWidth(), g.SymbolHeight(), g.ForegroundColour(),
                        request.opacity);
    if (!dark) {
      return Failed("verification failed: the written file does not describe the symbol's " + grid +
                    " modules");
    }
    const double inches = InchesPerModule(g, form, bytes, request);
    pixelsPerModule = inches * request.renderDpi;
    if (request.moduleMm || form.id == FormId::kPdf)
      out.grade.moduleMm = inches * kMillimetresPerInch;
  }
  double drawnHeight = g.SymbolHeight() * pixelsPerModule;
  if (const auto size = ReadDrawnSize(form.id, bytes);
      size && size->width > 0 && size->height > 0) {
    drawnHeight = pixelsPerModule * g.SymbolWidth() * size->height / size->width;  // as drawn
  }
  const auto width = std::llround(g.SymbolWidth() * pixelsPerModule);
  const auto height = std::llround(drawnHeight);
  const std::uint32_t darkPixel =
      PixelFromColour(ColourOnWhite(g.ForegroundColour(), request.opacity.foreground));
  const std::uint32_t lightPixel =
      PixelFromColour(ColourOnWhite(g.BackgroundColour(), request.opacity.background));
  auto picture = DrawGrid(g, *dark, darkPixel, lightPixel, width, height);
  if (picture && request.swissCross && form.writer != FormWriter::kTerminal) {
    PaintMark(*picture, SwissCrossOf(g), pixelsPerModule, pixelsPerModule, darkPixel, lightPixel);
  }
  if (!picture) {
    return {FileCheck::kCannotCheck,
            "cannot verify a grid of " + grid + " modules drawn " + std::to_string(width) + " x " +
                std::to_string(height) + " pixels: at most " +
                std::to_string(platform::kMaxBitmapSide) + " a side and " +
                std::to_string(kMaxVerifyPixels) + " in all are read back; leave out --verify",
            {}};
  }
  const std::optional<double> moduleMm = out.grade.moduleMm;
  out.grade = GradePicture(g, carried, *picture, request.swissCross ? "cross" : DamageCause(g));
  out.grade.moduleMm = moduleMm;
  return out;
}

std::optional<ScanGrade> CheckSavedPicture(const QrGenerator& g, std::int32_t pixelsPerModule) {
  if (!ReaderAvailable(Reader::kZxing)) return std::nullopt;
  ScanGrade none;
  if (!g.HasSymbol()) {
    none.parameters.push_back({"decode", Letter::kF, 0, "there is no symbol"});
    return none;
  }
  RasterLayout layout;
  layout.width = g.SymbolWidth() * pixelsPerModule;
  layout.height = g.SymbolHeight() * pixelsPerModule;
  const auto picture = ComposeRaster(g, layout);
  if (!picture) {
    none.parameters.push_back({"decode", Letter::kF, 0, "the picture cannot be drawn"});
    return none;
  }
  return GradePicture(g, CarriedBytes(g), *picture, DamageCause(g));
}

}  // namespace qrsmith::verify
