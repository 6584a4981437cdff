#include "verify/scan_check.h"

#include <algorithm>

#include "generator/qr_generator.h"
#include "generator/raster_files.h"
#include "generator/raster_rendering.h"
#include "platform/codecs/image.h"
#include "verify/qr_reader.h"
#include "verify/read_back.h"

namespace qrsmith::verify {

namespace {

// The fewest pixels per module the reader is given.
constexpr int kMinVerifyScale = 2;

// A picture of a width x height module grid (dark[i] for position i in scan
// order), `scale` pixels per module.
std::optional<platform::Bitmap> RenderGrid(std::int32_t width, std::int32_t height,
                                           const std::vector<std::uint8_t>& dark, int scale) {
  auto picture = platform::Bitmap::Create(width * scale, height * scale, 0xFFFFFF);
  if (!picture) return std::nullopt;
  for (std::int32_t r = 0; r < height; ++r) {
    for (std::int32_t c = 0; c < width; ++c) {
      if (dark[static_cast<std::size_t>(r) * width + c] != 0) {
        picture->FillRect(c * scale, r * scale, (c + 1) * scale, (r + 1) * scale, 0);
      }
    }
  }
  return picture;
}

// Four pixels per module where the picture allows, fewer for a very wide,
// tall or large grid.
int GridScale(std::int64_t width, std::int64_t height) {
  int scale = 4;
  while (scale > 0 && (std::max(width, height) * scale > platform::kMaxBitmapSide ||
                       width * height * scale * scale > kMaxVerifyPixels)) {
    --scale;
  }
  return scale;
}

// The generator's own grid: what the terminal renderings show.
std::vector<std::uint8_t> SymbolGrid(const QrGenerator& g) {
  std::vector<std::uint8_t> dark;
  for (int r = 1; r <= g.SymbolHeight(); ++r) {
    for (int c = 1; c <= g.SymbolWidth(); ++c) dark.push_back(g.IsDark(r, c) ? 1 : 0);
  }
  return dark;
}

std::string Printable(const Bytes& bytes) {
  std::string out;
  for (std::uint8_t b : bytes) {
    if (out.size() > 60) return out + "...";
    out += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '?';
  }
  return out;
}

FileCheckResult Failed(std::string message) { return {FileCheck::kFailed, std::move(message)}; }

// `picture` made `factor` times smaller (factor 1 to 16), each pixel the
// average of the factor x factor pixels it stands for: what a camera sees of
// the picture from further away, partly covered modules turning grey. Red
// and blue are summed side by side in one word's two 16-bit halves.
platform::Bitmap Reduced(const platform::Bitmap& picture, int factor) {
  const int width = picture.Width() / factor, height = picture.Height() / factor;
  platform::Bitmap out = *platform::Bitmap::Create(width, height);
  // Division by the block's area as a multiplication: sum * reciprocal >> 32.
  const std::uint64_t reciprocal =
      (std::uint64_t{1} << 32) / static_cast<unsigned>(factor * factor) + 1;
  const auto average = [reciprocal](std::uint32_t sum) {
    return static_cast<std::uint32_t>((sum * reciprocal) >> 32);
  };
  std::vector<std::uint32_t> redBlue(static_cast<std::size_t>(width));
  std::vector<std::uint32_t> green(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::fill(redBlue.begin(), redBlue.end(), 0u);
    std::fill(green.begin(), green.end(), 0u);
    for (int dy = 0; dy < factor; ++dy) {
      const std::uint32_t* in = picture.Row(y * factor + dy);
      for (int x = 0; x < width; ++x) {
        std::uint32_t rb = 0, g = 0;
        for (int dx = 0; dx < factor; ++dx, ++in) {
          rb += *in & 0x00FF00FF;
          g += (*in >> 8) & 0xFF;
        }
        redBlue[x] += rb;
        green[x] += g;
      }
    }
    std::uint32_t* row = out.Row(y);
    for (int x = 0; x < width; ++x) {
      row[x] =
          average(redBlue[x] >> 16) << 16 | average(green[x]) << 8 | average(redBlue[x] & 0xFFFF);
    }
  }
  return out;
}

ScanVerdict ReadBack(const platform::Bitmap& picture, std::span<const std::uint8_t> carried) {
  const auto read = ReadQrCode(picture);
  if (!read) return ScanVerdict::kUnreadable;
  return std::ranges::equal(*read, carried) ? ScanVerdict::kScannable
                                            : ScanVerdict::kReadsOtherwise;
}

// The saved picture is decoded at no fewer than kSavedReadScale pixels per
// module, reduced by a whole factor where its scale allows: as reliable for a
// drawn symbol as ten (at two, zxing-cpp misses version-40 symbols), and four
// times fewer pixels at ten per module.
constexpr int kSavedReadScale = 5;

// The saved picture (the symbol enlarged to `scale` pixels per module, the
// centre icon over it) reduced `factor` times, without drawing all of it:
// away from the icon a reduced module is the module itself, so only a
// middle band around the icon is drawn at full size, with the icon placed
// by the same rule as in the saved picture, and reduced.
// nullopt when the picture would be too large to hold.
std::optional<platform::Bitmap> ReducedSavedPicture(const QrGenerator& g, int scale, int factor) {
  const platform::Bitmap& symbol = *g.SymbolBitmap();
  const int width = symbol.Width() * scale, height = symbol.Height() * scale;
  auto out = symbol.Stretch(width / factor, height / factor);
  const auto icon = g.IconBitmap();
  if (!out || !icon) return out;
  // A margin that is a whole number of blocks and keeps the icon inside the
  // band: the band is centred like the picture, so the icon's place in it
  // is its place in the picture less the margin.
  const auto margin = [factor](int side, int iconSide) {
    return side > iconSide ? (side - iconSide) / 2 / factor * factor : 0;
  };
  const int left = margin(width, icon->Width()), top = margin(height, icon->Height());
  auto made = platform::Bitmap::Create(width - 2 * left, height - 2 * top);
  if (!made) return std::nullopt;
  platform::Bitmap& band = *made;
  for (int y = 0; y < band.Height(); ++y) {
    const std::uint32_t* modules = symbol.Row((top + y) / scale);
    std::uint32_t* row = band.Row(y);
    for (int x = 0; x < band.Width(); ++x) row[x] = modules[(left + x) / scale];
  }
  OverlayIconOnto(band, *icon, 0, 0);
  out->CopyFrom(Reduced(band, factor), left / factor, top / factor);
  return out;
}

ScanVerdict ReadSavedPicture(const QrGenerator& g, std::int32_t pixelsPerModule,
                             std::span<const std::uint8_t> carried) {
  int factor = pixelsPerModule / kSavedReadScale;
  while (factor > 1 && pixelsPerModule % factor != 0) --factor;
  if (factor > 1) {
    const auto reduced = ReducedSavedPicture(g, pixelsPerModule, factor);
    return reduced ? ReadBack(*reduced, carried) : ScanVerdict::kUnreadable;
  }
  RasterLayout layout;
  layout.width = g.SymbolWidth() * pixelsPerModule;
  layout.height = g.SymbolHeight() * pixelsPerModule;
  const auto picture = ComposeRaster(g, layout);
  return picture ? ReadBack(*picture, carried) : ScanVerdict::kUnreadable;
}

// Dark on light, as readers expect: the foreground's luminance at least a
// third of the scale below the background's.
bool ClearlyDarker(Colour foreground, Colour background) {
  const auto luminance = [](Colour c) {  // 0x00BBGGRR
    return (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * ((c >> 16) & 0xFF)) / 1000;
  };
  return luminance(background) - luminance(foreground) >= 85;
}

}  // namespace

Bytes CarriedBytes(const QrGenerator& generator) {
  return ContentBytes(generator.Content(), generator.IsAnsi()).value_or(Bytes{});
}

FileCheckResult CheckWrittenFile(const QrGenerator& g, std::span<const std::uint8_t> carried,
                                 const OutputForm& form, const Bytes& bytes, bool onPicture,
                                 const Opacity& opacity) {
  if (!ReaderAvailable()) {
    return {FileCheck::kCannotCheck,
            "cannot verify: the reader module " QRSMITH_READER_MODULE " is not installed"};
  }
  const std::string grid =
      std::to_string(g.SymbolWidth()) + " x " + std::to_string(g.SymbolHeight());
  const std::string stretched =
      "verification failed: the file stretches the modules of the " + grid + " grid";
  std::optional<platform::Bitmap> picture;
  if (form.IsRaster()) {
    picture = platform::codecs::DecodeImage(bytes);
    if (!picture) return Failed("verification failed: the written file is not a readable picture");
    if (!onPicture &&
        !ModulesSquare(picture->Width(), picture->Height(), g.SymbolWidth(), g.SymbolHeight())) {
      return Failed(stretched);
    }
    // A one-pixel-per-module picture is enlarged so that the reader sees modules.
    if (picture->Width() < 200) {
      const int scale = 200 / picture->Width() + 1;
      picture = picture->Stretch(picture->Width() * scale, picture->Height() * scale);
    }
  } else {
    std::optional<std::vector<std::uint8_t>> dark;
    if (form.writer == FormWriter::kTerminal) {
      dark = SymbolGrid(g);  // the symbol itself
    } else {
      // The grid the written file describes, read back out of it.
      dark = ReadBackGrid(form.id, bytes, g.SymbolWidth(), g.SymbolHeight(), g.ForegroundColour(),
                          opacity);
      if (!dark) {
        return Failed("verification failed: the written file does not describe the symbol's " +
                      grid + " modules");
      }
      if (const auto size = ReadDrawnSize(form.id, bytes);
          size && !ModulesSquare(size->width, size->height, g.SymbolWidth(), g.SymbolHeight())) {
        return Failed(stretched);
      }
    }
    const int scale = GridScale(g.SymbolWidth(), g.SymbolHeight());
    if (scale < kMinVerifyScale) {
      constexpr std::int64_t kMostInAll = kMaxVerifyPixels / (kMinVerifyScale * kMinVerifyScale);
      return {FileCheck::kCannotCheck,
              "cannot verify a grid of " + grid + " modules: at most " +
                  std::to_string(platform::kMaxBitmapSide / kMinVerifyScale) +
                  " modules a side and " + std::to_string(kMostInAll) +
                  " in all are read back; leave out --verify or use smaller margins"};
    }
    picture = RenderGrid(g.SymbolWidth(), g.SymbolHeight(), *dark, scale);
  }
  const auto read = picture ? ReadQrCode(*picture) : std::nullopt;
  if (!read) return Failed("verification failed: no QR Code could be read back");
  if (!std::ranges::equal(*read, carried)) {
    return Failed("verification failed: the symbol reads back as '" + Printable(*read) + "'");
  }
  return {};
}

ScanVerdict CheckSavedPicture(const QrGenerator& generator, std::int32_t pixelsPerModule) {
  if (!ReaderAvailable()) return ScanVerdict::kNoReader;
  if (!generator.HasSymbol()) return ScanVerdict::kUnreadable;
  const Bytes carried = CarriedBytes(generator);
  const ScanVerdict verdict = ReadSavedPicture(generator, pixelsPerModule, carried);
  if (verdict != ScanVerdict::kUnreadable) return verdict;
  if (generator.IconBitmap()) {
    QrGenerator bare = generator;
    bare.ClearIcon();
    if (ReadSavedPicture(bare, pixelsPerModule, carried) == ScanVerdict::kScannable) {
      return ScanVerdict::kIconTooLarge;
    }
  }
  if (!ClearlyDarker(generator.ForegroundColour(), generator.BackgroundColour())) {
    return ScanVerdict::kLowContrast;
  }
  return ScanVerdict::kUnreadable;
}

}  // namespace qrsmith::verify
