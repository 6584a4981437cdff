#include "platform/codecs/png.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

#include "platform/codecs/limits.h"
#include "platform/codecs/palette.h"
#include "platform/codecs/pixels.h"

// libpng reports errors by longjmp to the setjmp of the calling function. The
// functions that call setjmp below therefore hold no C++ objects with
// destructors; buffers are owned by their callers and passed as pointers.

namespace qrsmith::platform::codecs {
namespace {

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// ---- Reading ----

struct PngSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->position) png_error(png, "truncated");
  std::memcpy(out, source->data + source->position, length);
  source->position += length;
}

// The libpng read or write structures with their info structure, released together.
template <bool kWrite>
class PngHandles {
 public:
  PngHandles() {
    png_ = kWrite
               ? png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning)
               : png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    info_ = png_ ? png_create_info_struct(png_) : nullptr;
  }
  ~PngHandles() {
    if (!png_) return;
    if constexpr (kWrite) {
      png_destroy_write_struct(&png_, info_ ? &info_ : nullptr);
    } else {
      png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    }
  }
  PngHandles(const PngHandles&) = delete;
  PngHandles& operator=(const PngHandles&) = delete;

  bool Valid() const { return png_ && info_; }
  png_structp Png() const { return png_; }
  png_infop Info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};
using PngReader = PngHandles<false>;
using PngWriter = PngHandles<true>;

// Asks libpng for 8-bit B, G, R, A pixels whatever the stored form: the
// Bitmap's memory layout with alpha in the top byte.
void SetBgraTransforms(png_structp png, png_infop info) {
  const int colour_type = png_get_color_type(png, info);
  const int bit_depth = png_get_bit_depth(png, info);
  const bool has_trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour_type == PNG_COLOR_TYPE_GRAY && bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (has_trns) png_set_tRNS_to_alpha(png);
  if (bit_depth == 16) png_set_scale_16(png);
  if ((colour_type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  if ((colour_type & PNG_COLOR_MASK_ALPHA) == 0 && !has_trns) {
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
}

// Whether the picture is stored as palette indices, not interlaced: then the
// rows are read as they are stored and each index looked up in a table of
// finished pixels, which is several times faster than libpng's expansion to
// B, G, R, A (a symbol's picture is mostly such a file).
bool IsPlainPalette(png_structp png, png_infop info) {
  return png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE &&
         png_get_interlace_type(png, info) == PNG_INTERLACE_NONE;
}

// The finished pixel of each palette index, flattened onto white as every
// decoded pixel is. Indices beyond the palette are black, as libpng reads them.
void PalettePixels(png_structp png, png_infop info, std::uint32_t* pixels) {
  png_colorp palette = nullptr;
  int count = 0;
  png_bytep alphas = nullptr;
  int alphaCount = 0;
  png_get_PLTE(png, info, &palette, &count);
  if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
    png_get_tRNS(png, info, &alphas, &alphaCount, nullptr);
  }
  for (int i = 0; i < 256; ++i) {
    std::uint32_t argb = 0xFF000000;
    if (palette != nullptr && i < count)
      argb |= PackRgb(palette[i].red, palette[i].green, palette[i].blue);
    if (alphas != nullptr && i < alphaCount)
      argb = (argb & 0xFFFFFF) | std::uint32_t{alphas[i]} << 24;
    pixels[i] = FlattenOnWhite(argb);
  }
}

// Reads the chunks up to the first IDAT and checks the declared size.
bool ReadHeaderChunks(png_structp png, png_infop info, PngSource* source, png_uint_32* width,
                      png_uint_32* height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, source, ReadFromSource);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  if (!ImageSizeAllowed(w, h)) return false;
  if (IsPlainPalette(png, info)) {
    png_read_update_info(png, info);
  } else {
    SetBgraTransforms(png, info);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{w} * 4) return false;
  }
  *width = w;
  *height = h;
  return true;
}

// Reads the palette indices row by row into `bitmap`'s rows through
// `pixels`, and the rest of the file up to IEND. `packed` holds two rows of
// `rowBytes`: the row read and the one before it.
bool ReadPaletteRows(png_structp png, int bitDepth, const std::uint32_t* pixels, png_bytep packed,
                     std::size_t rowBytes, Bitmap* bitmap) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int width = bitmap->Width();
  const unsigned mask = (1u << bitDepth) - 1;
  for (int y = 0; y < bitmap->Height(); ++y) {
    png_bytep in = packed + (y % 2) * rowBytes;
    png_read_row(png, in, nullptr);
    std::uint32_t* row = bitmap->Row(y);
    // A symbol's module is many rows high: a row whose indices repeat the
    // row above takes that row's pixels whole.
    if (y > 0 && std::memcmp(in, packed + ((y + 1) % 2) * rowBytes, rowBytes) == 0) {
      std::memcpy(row, bitmap->Row(y - 1), static_cast<std::size_t>(width) * sizeof *row);
      continue;
    }
    if (bitDepth == 8) {
      for (int x = 0; x < width; ++x) row[x] = pixels[in[x]];
      continue;
    }
    // The first pixel of each byte in its high bits.
    int x = 0;
    for (const png_byte* byte = in; x < width; ++byte) {
      for (int shift = 8 - bitDepth; shift >= 0 && x < width; shift -= bitDepth) {
        row[x++] = pixels[(*byte >> shift) & mask];
      }
    }
  }
  png_read_end(png, nullptr);
  return true;
}

// Reads all IDAT data into `rows` and the rest of the file up to IEND, so
// that a file cut anywhere is refused.
bool ReadImageChunks(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

// ---- Writing ----

void WriteToSink(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  bool stored = true;
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    stored = false;
  }
  if (!stored) png_error(png, "out of memory");
}

void FlushSink(png_structp) {}

struct PngLayout {
  png_uint_32 width;
  png_uint_32 height;
  int bit_depth;
  int colour_type;
  const png_color* palette;  // PNG_COLOR_TYPE_PALETTE only
  int palette_size;
  const png_byte* alphas = nullptr;  // tRNS: the alpha of the first palette entries
  int alpha_count = 0;
};

// The palette of `colours` (Bitmap pixels) and, when some are transparent, the
// alphas of the entries up to the last transparent one (tRNS may stop there).
void MakePalette(std::span<const std::uint32_t> colours, std::vector<png_color>& palette,
                 std::vector<png_byte>& alphas) {
  for (std::uint32_t colour : colours) {
    palette.push_back({RedOf(colour), GreenOf(colour), BlueOf(colour)});
    alphas.push_back(AlphaOfPixel(colour));
  }
  while (!alphas.empty() && alphas.back() == 255) alphas.pop_back();
}

void SetPalette(png_structp png, png_infop info, const PngLayout* layout) {
  png_set_PLTE(png, info, layout->palette, layout->palette_size);
  if (layout->alpha_count > 0) {
    png_set_tRNS(png, info, layout->alphas, layout->alpha_count, nullptr);
  }
}

bool WritePngStream(png_structp png, png_infop info, const PngLayout* layout, png_bytepp rows,
                    Bytes* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, WriteToSink, FlushSink);
  png_set_IHDR(png, info, layout->width, layout->height, layout->bit_depth, layout->colour_type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (layout->palette) SetPalette(png, info, layout);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

using RowFiller = std::function<void(int, std::uint8_t*)>;

bool WritePngRows(png_structp png, png_infop info, const PngLayout* layout, const RowFiller* fill,
                  png_bytep row, Bytes* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, WriteToSink, FlushSink);
  png_set_IHDR(png, info, layout->width, layout->height, layout->bit_depth, layout->colour_type,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  SetPalette(png, info, layout);
  png_write_info(png, info);
  for (png_uint_32 y = 0; y < layout->height; ++y) {
    (*fill)(static_cast<int>(y), row);
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

// A palette picture written row by row: `fillRow(y, row)` puts row y's
// palette indices, packed at `bitDepth` bits each, into `row`.
Bytes EncodePngRows(int width, int height, std::span<const std::uint32_t> colours, int bitDepth,
                    const RowFiller& fillRow) {
  const bool depthOk = bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
  if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide || !depthOk ||
      colours.empty() || colours.size() > (std::size_t{1} << bitDepth)) {
    return {};
  }
  std::vector<png_color> palette;
  std::vector<png_byte> alphas;
  MakePalette(colours, palette, alphas);
  const PngLayout layout{static_cast<png_uint_32>(width),
                         static_cast<png_uint_32>(height),
                         bitDepth,
                         PNG_COLOR_TYPE_PALETTE,
                         palette.data(),
                         static_cast<int>(palette.size()),
                         alphas.data(),
                         static_cast<int>(alphas.size())};
  std::vector<png_byte> row((static_cast<std::size_t>(width) * bitDepth + 7) / 8);
  PngWriter writer;
  Bytes out;
  if (!writer.Valid() ||
      !WritePngRows(writer.Png(), writer.Info(), &layout, &fillRow, row.data(), &out)) {
    return {};
  }
  return out;
}

}  // namespace

Bytes EncodePng(const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  const auto width = static_cast<std::size_t>(bitmap.Width());
  const auto height = static_cast<std::size_t>(bitmap.Height());
  PngLayout layout{static_cast<png_uint_32>(width),
                   static_cast<png_uint_32>(height),
                   8,
                   PNG_COLOR_TYPE_RGB,
                   nullptr,
                   0,
                   nullptr,
                   0};
  std::vector<png_color> palette;
  std::vector<png_byte> alphas;
  std::vector<png_byte> data;
  const bool opaque = bitmap.IsOpaque();
  std::size_t row_bytes = width * (opaque ? 3 : 4);
  if (auto indexed = IndexColours(bitmap)) {
    MakePalette(indexed->colours, palette, alphas);
    layout.alphas = alphas.data();
    layout.alpha_count = static_cast<int>(alphas.size());
    layout.bit_depth = IndexBitDepth(palette.size());
    layout.colour_type = PNG_COLOR_TYPE_PALETTE;
    layout.palette = palette.data();
    layout.palette_size = static_cast<int>(palette.size());
    row_bytes = (width * layout.bit_depth + 7) / 8;
    data.resize(row_bytes * height);
    for (std::size_t y = 0; y < height; ++y) {
      PackIndexRow(&indexed->indices[y * width], bitmap.Width(), layout.bit_depth,
                   &data[y * row_bytes]);
    }
  } else {
    if (!opaque) layout.colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
    data.resize(row_bytes * height);
    png_bytep out = data.data();
    for (const std::uint32_t pixel : bitmap.Pixels()) {
      *out++ = RedOf(pixel);
      *out++ = GreenOf(pixel);
      *out++ = BlueOf(pixel);
      if (!opaque) *out++ = AlphaOfPixel(pixel);
    }
  }
  std::vector<png_bytep> rows(height);
  for (std::size_t y = 0; y < height; ++y) rows[y] = &data[y * row_bytes];

  PngWriter writer;
  Bytes out;
  if (!writer.Valid() || !WritePngStream(writer.Png(), writer.Info(), &layout, rows.data(), &out)) {
    return {};
  }
  return out;
}

Bytes EncodePngEnlarged(const Bitmap& source, int width, int height) {
  const auto indexed = IndexColours(source);
  if (!indexed) {
    const auto enlarged = source.Stretch(width, height);
    return enlarged ? EncodePng(*enlarged) : Bytes{};
  }
  const int bitDepth = IndexBitDepth(indexed->colours.size());
  const std::vector<int> sourceColumn = NearestSources(width, source.Width());
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(std::max(width, 0)));
  std::vector<std::uint8_t> packed((indices.size() * bitDepth + 7) / 8);
  int packedRow = -1;  // the source row `packed` holds; neighbouring rows repeat it
  return EncodePngRows(width, height, indexed->colours, bitDepth, [&](int y, std::uint8_t* row) {
    const int sourceRow = NearestSource(y, height, source.Height());
    if (sourceRow != packedRow) {
      const std::uint8_t* from =
          &indexed->indices[static_cast<std::size_t>(sourceRow) * source.Width()];
      for (int x = 0; x < width; ++x) indices[x] = from[sourceColumn[x]];
      PackIndexRow(indices.data(), width, bitDepth, packed.data());
      packedRow = sourceRow;
    }
    std::copy(packed.begin(), packed.end(), row);
  });
}

std::optional<Bitmap> DecodePng(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return std::nullopt;
  PngReader reader;
  if (!reader.Valid()) return std::nullopt;
  PngSource source{bytes.data(), bytes.size(), 0};
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  if (!ReadHeaderChunks(reader.Png(), reader.Info(), &source, &width, &height)) {
    return std::nullopt;
  }
  auto bitmap = Bitmap::Create(static_cast<int>(width), static_cast<int>(height));
  if (!bitmap) return std::nullopt;
  if (IsPlainPalette(reader.Png(), reader.Info())) {
    std::uint32_t pixels[256];
    PalettePixels(reader.Png(), reader.Info(), pixels);
    const std::size_t rowBytes = png_get_rowbytes(reader.Png(), reader.Info());
    std::vector<png_byte> packed(2 * rowBytes);
    if (!ReadPaletteRows(reader.Png(), png_get_bit_depth(reader.Png(), reader.Info()), pixels,
                         packed.data(), rowBytes, &*bitmap)) {
      return std::nullopt;
    }
    return bitmap;
  }
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(bitmap->Row(static_cast<int>(y)));
  }
  if (!ReadImageChunks(reader.Png(), rows.data())) return std::nullopt;
  FlattenAlphaOnWhite(*bitmap);
  return bitmap;
}

}  // namespace qrsmith::platform::codecs
