#include "verify/qr_reader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/codepage.h"
#include "platform/colour.h"

namespace qrsmith::verify {

namespace {

std::atomic<QrsmithReadQrCode> linkedReader{nullptr};
std::atomic<QrsmithReadQrCode> linkedZbar{nullptr};

struct ModuleReaders {
  QrsmithReadQrCode zxing = nullptr;
  QrsmithReadQrCode zbar = nullptr;
};

// The reader module beside the executable (the build tree), or where
// `make install` puts it: the library folder's qrsmith/, reached from the
// tool's folder by QRSMITH_READER_FROM_BINDIR.
ModuleReaders LoadModule() {
  static const ModuleReaders readers = []() -> ModuleReaders {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return {};
    std::string folder(self, static_cast<std::size_t>(n));
    folder.erase(folder.find_last_of('/') + 1);
    for (const std::string& path : {folder + QRSMITH_READER_MODULE,
                                    folder + QRSMITH_READER_FROM_BINDIR + QRSMITH_READER_MODULE}) {
      if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        return {reinterpret_cast<QrsmithReadQrCode>(::dlsym(module, QRSMITH_READER_FUNCTION)),
                reinterpret_cast<QrsmithReadQrCode>(::dlsym(module, QRSMITH_ZBAR_FUNCTION))};
      }
    }
    return {};
  }();
  return readers;
}

QrsmithReadQrCode Find(Reader reader) {
  if (reader == Reader::kZbar) {
    if (const QrsmithReadQrCode linked = linkedZbar.load()) return linked;
    // A program that links zxing-cpp in but not zbar has no zbar.
    if (linkedReader.load() != nullptr) return nullptr;
    return LoadModule().zbar;
  }
  if (const QrsmithReadQrCode linked = linkedReader.load()) return linked;
  return LoadModule().zxing;
}

// White around the picture: an eighth of its larger side, at least 8 pixels,
// so that the four-module quiet zone a reader needs is there at any scale.
int FrameWidth(const platform::Bitmap& picture) {
  return std::max(8, std::max(picture.Width(), picture.Height()) / 8);
}

}  // namespace

void UseReader(QrsmithReadQrCode read) { linkedReader.store(read); }

void UseReaders(QrsmithReadQrCode zxing, QrsmithReadQrCode zbar) {
  linkedZbar.store(zbar);
  linkedReader.store(zxing);
}

bool ReaderAvailable() { return Find(Reader::kZxing) != nullptr; }

bool ReaderAvailable(Reader reader) { return Find(reader) != nullptr; }

const char* ReaderName(Reader reader) { return reader == Reader::kZbar ? "zbar" : "zxing-cpp"; }

GreyPicture GreyOf(const platform::Bitmap& picture, QuietZone quietZone) {
  GreyPicture out;
  if (picture.Empty()) return out;
  const int frame = quietZone == QuietZone::kAdded ? FrameWidth(picture) : 0;
  out.width = picture.Width() + 2 * frame;
  out.height = picture.Height() + 2 * frame;
  out.grey.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0xFF);
  // A symbol's picture is runs of a few colours: each pixel that repeats the
  // one before takes its grey level without working it out again.
  std::uint32_t last = 0;
  std::uint8_t lastGrey = platform::LumaOfPixel(last);
  // A module is as many rows high as it is pixels wide: a row that repeats the
  // one above takes its grey levels whole.
  const std::size_t rowBytes = static_cast<std::size_t>(picture.Width()) * sizeof(std::uint32_t);
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint32_t* row = picture.Row(y);
    std::uint8_t* grey = out.grey.data() + static_cast<std::size_t>(y + frame) * out.width + frame;
    if (y > 0 && std::memcmp(row, picture.Row(y - 1), rowBytes) == 0) {
      std::memcpy(grey, grey - out.width, static_cast<std::size_t>(picture.Width()));
      continue;
    }
    for (int x = 0; x < picture.Width(); ++x) {
      if (row[x] != last) {
        last = row[x];
        lastGrey = platform::LumaOfPixel(last);
      }
      grey[x] = lastGrey;
    }
  }
  return out;
}

std::optional<Bytes> ReadGrey(const GreyPicture& picture, Reader reader) {
  const QrsmithReadQrCode read = Find(reader);
  if (read == nullptr || picture.grey.empty()) return std::nullopt;
  Bytes out(8192);  // more than any symbol holds (7089 digits)
  std::size_t length = 0;
  if (read(picture.grey.data(), picture.width, picture.height, out.data(), out.size(), &length) !=
      QRSMITH_READ_FOUND) {
    return std::nullopt;
  }
  out.resize(length);
  return out;
}

std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture, QuietZone quietZone,
                                Reader reader) {
  if (Find(reader) == nullptr) return std::nullopt;
  return ReadGrey(GreyOf(picture, quietZone), reader);
}

std::optional<std::string> ContentOfSymbolBytes(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (platform::IsValidUtf8(text)) return std::string(text);
  return platform::CodePageToUtf8(bytes);
}

}  // namespace qrsmith::verify
