#include "platform/codecs/tiff.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/cmyk.h"
#include "platform/codecs/limits.h"
#include "platform/codecs/palette.h"
#include "platform/codecs/pixels.h"

namespace qrsmith::platform::codecs {
namespace {

// Largest single allocation libtiff may make for a file: one decoded picture
// at the largest size, with room for its strip buffers.
constexpr tmsize_t kMaxSingleAllocation = kMaxImagePixels * 4 + (tmsize_t{16} << 20);

// libtiff's messages would go to stderr; a failure is reported by results.
int IgnoreMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffOptionsDeleter {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

std::unique_ptr<TIFFOpenOptions, TiffOptionsDeleter> MakeOpenOptions() {
  std::unique_ptr<TIFFOpenOptions, TiffOptionsDeleter> options(TIFFOpenOptionsAlloc());
  if (options) {
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), IgnoreMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), IgnoreMessage, nullptr);
  }
  return options;
}

// A file in memory that libtiff reads from or writes into through its client
// procedures. Reading uses `source`; writing grows `sink`.
struct MemoryStream {
  std::span<const std::uint8_t> source;
  Bytes* sink = nullptr;
  std::uint64_t position = 0;

  std::uint64_t Size() const { return sink ? sink->size() : source.size(); }
  const std::uint8_t* Data() const { return sink ? sink->data() : source.data(); }
};

MemoryStream& StreamOf(thandle_t handle) { return *static_cast<MemoryStream*>(handle); }

tmsize_t ReadProc(thandle_t handle, void* out, tmsize_t length) {
  MemoryStream& stream = StreamOf(handle);
  if (length <= 0 || stream.position >= stream.Size()) return 0;
  const auto count =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(length), stream.Size() - stream.position);
  std::memcpy(out, stream.Data() + stream.position, count);
  stream.position += count;
  return static_cast<tmsize_t>(count);
}

tmsize_t WriteProc(thandle_t handle, void* data, tmsize_t length) {
  MemoryStream& stream = StreamOf(handle);
  if (!stream.sink || length < 0) return -1;
  const std::uint64_t end = stream.position + static_cast<std::uint64_t>(length);
  try {
    if (end > stream.sink->size()) stream.sink->resize(end);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  std::memcpy(stream.sink->data() + stream.position, data, static_cast<std::size_t>(length));
  stream.position = end;
  return length;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  MemoryStream& stream = StreamOf(handle);
  std::uint64_t base = 0;
  if (whence == SEEK_CUR) base = stream.position;
  if (whence == SEEK_END) base = stream.Size();
  // Offsets are unsigned; a "negative" one wraps around and is refused here
  // unless it lands inside the addressable range.
  const std::uint64_t target = base + offset;
  if (target > (std::uint64_t{1} << 40)) return static_cast<toff_t>(-1);
  stream.position = target;
  return target;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return StreamOf(handle).Size(); }
int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

TiffHandle OpenStream(MemoryStream& stream, const char* mode) {
  auto options = MakeOpenOptions();
  if (!options) return nullptr;
  return TiffHandle(TIFFClientOpenExt("memory", mode, &stream, ReadProc, WriteProc, SeekProc,
                                      CloseProc, SizeProc, MapProc, UnmapProc, options.get()));
}

// ---- Writing ----

// The resolution tags, in inches.
bool WriteResolutionTags(TIFF* tiff, std::int32_t dpi) {
  return TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<double>(dpi)) &&
         TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<double>(dpi)) &&
         TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
}

// The tags of a CMYK page: four 8-bit ink samples per pixel.
bool WriteCmykTags(TIFF* tiff, const Bitmap& bitmap) {
  return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(bitmap.Width())) &&
         TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(bitmap.Height())) &&
         TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
         TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
         TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW) &&
         TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) &&
         TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4) &&
         TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED) &&
         TIFFSetField(tiff, TIFFTAG_INKSET, INKSET_CMYK) &&
         TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) &&
         TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
}

bool WriteCmykScanlines(TIFF* tiff, const Bitmap& bitmap) {
  std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.Width()) * 4);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.Row(y)[x];
      const CmykInks inks = CmykOfRgb(RedOf(pixel), GreenOf(pixel), BlueOf(pixel));
      std::copy(inks.begin(), inks.end(), &row[4 * static_cast<std::size_t>(x)]);
    }
    if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) != 1) return false;
  }
  return true;
}

// Tags of one page: size, layout and LZW compression. Without a palette the
// samples are R, G, B and, for a picture that is not opaque, straight alpha.
bool WriteImageTags(TIFF* tiff, const Bitmap& bitmap, const std::vector<std::uint32_t>* palette,
                    int bits_per_sample, bool alpha) {
  const bool ok =
      TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(bitmap.Width())) &&
      TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(bitmap.Height())) &&
      TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
      TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
      TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW) &&
      TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits_per_sample) &&
      TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL,
                   palette ? 1
                   : alpha ? 4
                           : 3) &&
      TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, palette ? PHOTOMETRIC_PALETTE : PHOTOMETRIC_RGB) &&
      TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
  if (!ok) return false;
  if (alpha) {
    const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
    if (!TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra)) return false;
  }
  if (!palette) return TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) != 0;
  // The colour map has 2^bits entries per channel, 16 bits each.
  const std::size_t entries = std::size_t{1} << bits_per_sample;
  std::vector<std::uint16_t> red(entries), green(entries), blue(entries);
  for (std::size_t i = 0; i < palette->size(); ++i) {
    red[i] = static_cast<std::uint16_t>(RedOf((*palette)[i]) * 257);
    green[i] = static_cast<std::uint16_t>(GreenOf((*palette)[i]) * 257);
    blue[i] = static_cast<std::uint16_t>(BlueOf((*palette)[i]) * 257);
  }
  return TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data()) != 0;
}

bool WriteScanlines(TIFF* tiff, const Bitmap& bitmap, const IndexedImage* indexed,
                    int bits_per_sample, bool alpha) {
  const auto width = static_cast<std::size_t>(bitmap.Width());
  const std::size_t samples = alpha ? 4 : 3;
  const std::size_t row_bytes = indexed ? (width * bits_per_sample + 7) / 8 : width * samples;
  std::vector<std::uint8_t> row(row_bytes);
  for (int y = 0; y < bitmap.Height(); ++y) {
    if (indexed) {
      PackIndexRow(&indexed->indices[static_cast<std::size_t>(y) * width], bitmap.Width(),
                   bits_per_sample, row.data());
    } else {
      for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t pixel = bitmap.Row(y)[x];
        std::uint8_t* sample = &row[samples * x];
        sample[0] = RedOf(pixel);
        sample[1] = GreenOf(pixel);
        sample[2] = BlueOf(pixel);
        if (alpha) sample[3] = AlphaOfPixel(pixel);
      }
    }
    if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) != 1) return false;
  }
  return true;
}

}  // namespace

Bytes EncodeTiff(const Bitmap& bitmap, const TiffPrint& print) {
  if (bitmap.Empty()) return {};
  if (print.cmyk) {
    // CMYK pages carry no alpha here: a picture that is not opaque is refused
    // rather than written opaque.
    if (!bitmap.IsOpaque()) return {};
    Bytes out;
    MemoryStream stream;
    stream.sink = &out;
    TiffHandle tiff = OpenStream(stream, "w");
    if (!tiff || !WriteCmykTags(tiff.get(), bitmap) ||
        (print.dpi && !WriteResolutionTags(tiff.get(), *print.dpi)) ||
        !WriteCmykScanlines(tiff.get(), bitmap) || TIFFWriteDirectory(tiff.get()) != 1) {
      return {};
    }
    tiff.reset();
    return out;
  }
  // A TIFF palette has no alpha: a picture that is not opaque is written as RGBA.
  const bool alpha = !bitmap.IsOpaque();
  const auto indexed = alpha ? std::nullopt : IndexColours(bitmap);
  const int bits_per_sample = indexed ? IndexBitDepth(indexed->colours.size()) : 8;
  Bytes out;
  MemoryStream stream;
  stream.sink = &out;
  TiffHandle tiff = OpenStream(stream, "w");
  if (!tiff) return {};
  if (!WriteImageTags(tiff.get(), bitmap, indexed ? &indexed->colours : nullptr, bits_per_sample,
                      alpha) ||
      (print.dpi && !WriteResolutionTags(tiff.get(), *print.dpi)) ||
      !WriteScanlines(tiff.get(), bitmap, indexed ? &*indexed : nullptr, bits_per_sample, alpha) ||
      TIFFWriteDirectory(tiff.get()) != 1) {
    return {};
  }
  tiff.reset();
  return out;
}

std::optional<std::pair<double, double>> TiffResolution(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8) return std::nullopt;
  MemoryStream stream;
  stream.source = bytes;
  TiffHandle tiff = OpenStream(stream, "rm");
  if (!tiff) return std::nullopt;
  float x = 0, y = 0;
  std::uint16_t unit = RESUNIT_INCH;  // the tag's default
  if (!TIFFGetField(tiff.get(), TIFFTAG_XRESOLUTION, &x) ||
      !TIFFGetField(tiff.get(), TIFFTAG_YRESOLUTION, &y)) {
    return std::nullopt;
  }
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
  if (unit == RESUNIT_CENTIMETER) return std::pair{x * 2.54, y * 2.54};
  if (unit != RESUNIT_INCH) return std::nullopt;
  return std::pair<double, double>{x, y};
}

std::optional<Bitmap> DecodeTiff(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8) return std::nullopt;
  MemoryStream stream;
  stream.source = bytes;
  // "m": no memory mapping, every read goes through ReadProc.
  TiffHandle tiff = OpenStream(stream, "rm");
  if (!tiff) return std::nullopt;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height) || !ImageSizeAllowed(width, height)) {
    return std::nullopt;
  }
  char message[1024] = {};
  if (!TIFFRGBAImageOK(tiff.get(), message)) return std::nullopt;
  auto bitmap = Bitmap::Create(static_cast<int>(width), static_cast<int>(height));
  if (!bitmap) return std::nullopt;
  // libtiff fills the Bitmap's own memory with A, B, G, R pixels
  // (0xAABBGGRR), alpha premultiplied; they are turned around in place.
  if (!TIFFReadRGBAImageOriented(tiff.get(), width, height, bitmap->Row(0), ORIENTATION_TOPLEFT,
                                 1)) {
    return std::nullopt;
  }
  for (int y = 0; y < bitmap->Height(); ++y) {
    std::uint32_t* row = bitmap->Row(y);
    for (int x = 0; x < bitmap->Width(); ++x) {
      const std::uint32_t abgr = row[x];
      // Premultiplied colour c over white: c + (255 - a).
      const std::uint32_t clear = 255 - TIFFGetA(abgr);
      row[x] =
          PackRgb(std::min(255u, TIFFGetR(abgr) + clear), std::min(255u, TIFFGetG(abgr) + clear),
                  std::min(255u, TIFFGetB(abgr) + clear));
    }
  }
  return bitmap;
}

}  // namespace qrsmith::platform::codecs
