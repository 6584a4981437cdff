#include "cli/verify.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string>

#include "cli/qr_reader_module.h"
#include "cli/read_back.h"
#include "platform/codecs/image.h"

namespace qrsmith::cli {

namespace {

// A picture of a width x height module grid (dark[i] for position i in scan
// order), `scale` pixels per module.
// The fewest pixels per module the reader is given.
constexpr int kMinVerifyScale = 2;

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

}  // namespace

namespace {

// The reader module beside the executable (the build tree), or where
// `make install` puts it.
QrsmithReadQrCode LoadReader() {
  static const QrsmithReadQrCode reader = []() -> QrsmithReadQrCode {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return nullptr;
    std::string folder(self, static_cast<std::size_t>(n));
    folder.erase(folder.find_last_of('/') + 1);
    for (const std::string& path :
         {folder + QRSMITH_READER_MODULE, folder + "../lib/qrsmith/" + QRSMITH_READER_MODULE}) {
      if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        return reinterpret_cast<QrsmithReadQrCode>(::dlsym(module, QRSMITH_READER_FUNCTION));
      }
    }
    return nullptr;
  }();
  return reader;
}

}  // namespace

bool ReaderAvailable() { return LoadReader() != nullptr; }

std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture) {
  const QrsmithReadQrCode read = LoadReader();
  if (read == nullptr) return std::nullopt;
  std::vector<std::uint8_t> grey(picture.Pixels().size());
  for (std::size_t i = 0; i < grey.size(); ++i) {
    const std::uint32_t p = picture.Pixels()[i];
    grey[i] = static_cast<std::uint8_t>(
        (299 * ((p >> 16) & 0xFF) + 587 * ((p >> 8) & 0xFF) + 114 * (p & 0xFF)) / 1000);
  }
  Bytes out(8192);  // more than any symbol holds (7089 digits)
  std::size_t length = 0;
  if (read(grey.data(), picture.Width(), picture.Height(), out.data(), out.size(), &length) !=
      QRSMITH_READ_FOUND) {
    return std::nullopt;
  }
  out.resize(length);
  return out;
}

Outcome VerifyOutput(const Symbol& symbol, const OutputForm& form, const Bytes& bytes,
                     bool onPicture) {
  if (!ReaderAvailable()) {
    return Failure{kExitInputOutput,
                   "cannot verify: the reader module " QRSMITH_READER_MODULE " is not installed"};
  }
  const QrGenerator& g = symbol.generator;
  const std::string grid =
      std::to_string(g.SymbolWidth()) + " x " + std::to_string(g.SymbolHeight());
  const Failure stretched{
      kExitVerify, "verification failed: the file stretches the modules of the " + grid + " grid"};
  std::optional<platform::Bitmap> picture;
  if (form.IsRaster()) {
    picture = platform::codecs::DecodeImage(bytes);
    if (!picture)
      return Failure{kExitVerify,
                     "verification failed: the written file is not a readable picture"};
    if (!onPicture &&
        !ModulesSquare(picture->Width(), picture->Height(), g.SymbolWidth(), g.SymbolHeight())) {
      return stretched;
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
                          symbol.opacity);
      if (!dark) {
        return Failure{kExitVerify,
                       "verification failed: the written file does not describe the "
                       "symbol's " +
                           grid + " modules"};
      }
      if (const auto size = ReadDrawnSize(form.id, bytes);
          size && !ModulesSquare(size->width, size->height, g.SymbolWidth(), g.SymbolHeight())) {
        return stretched;
      }
    }
    const int scale = GridScale(g.SymbolWidth(), g.SymbolHeight());
    if (scale < kMinVerifyScale) {
      constexpr std::int64_t kMostInAll = kMaxVerifyPixels / (kMinVerifyScale * kMinVerifyScale);
      return Failure{kExitInputOutput,
                     "cannot verify a grid of " + grid + " modules: at most " +
                         std::to_string(platform::kMaxBitmapSide / kMinVerifyScale) +
                         " modules a side and " + std::to_string(kMostInAll) +
                         " in all are read back; leave out --verify or use smaller margins"};
    }
    picture = RenderGrid(g.SymbolWidth(), g.SymbolHeight(), *dark, scale);
  }
  const auto read = picture ? ReadQrCode(*picture) : std::nullopt;
  if (!read) return Failure{kExitVerify, "verification failed: no QR Code could be read back"};
  if (*read != symbol.carried) {
    return Failure{kExitVerify,
                   "verification failed: the symbol reads back as '" + Printable(*read) + "'"};
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
