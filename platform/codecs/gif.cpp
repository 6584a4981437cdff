#include "platform/codecs/gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/codecs/limits.h"
#include "platform/codecs/palette.h"
#include "platform/codecs/pixels.h"

namespace qrsmith::platform::codecs {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// ---- Reading ----

struct GifSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

// giflib treats a short read as the end of the file.
int ReadFromSource(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t count =
      std::min(static_cast<std::size_t>(length), source->size - source->position);
  std::memcpy(out, source->data + source->position, count);
  source->position += count;
  return static_cast<int>(count);
}

struct GifDecoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifDecoder = std::unique_ptr<GifFileType, GifDecoderCloser>;

// Reads one extension with its sub-blocks; a graphic control extension
// updates the transparent colour index.
bool ReadExtensionBlocks(GifFileType* gif, int& transparent_index) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block) {
    GraphicsControlBlock control{};
    if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_ERROR) return false;
    transparent_index = control.TransparentColor;
  }
  while (block) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// Skips extensions up to the first image descriptor and reads it.
bool ReadFirstImageDescriptor(GifFileType* gif, int& transparent_index) {
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) != GIF_ERROR;
    if (type != EXTENSION_RECORD_TYPE) return false;  // the trailer, before any image
    if (!ReadExtensionBlocks(gif, transparent_index)) return false;
  }
}

// Decodes the frame's rows onto the canvas. Interlaced frames store every
// 8th row from 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
bool ReadImageData(GifFileType* gif, const ColorMapObject& map, int transparent_index,
                   Bitmap& canvas) {
  const GifImageDesc& frame = gif->Image;
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
  const auto read_row = [&](int row) {
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return false;
    std::uint32_t* out = canvas.Row(frame.Top + row) + frame.Left;
    for (int x = 0; x < frame.Width; ++x) {
      const int index = line[static_cast<std::size_t>(x)];
      if (index == transparent_index) continue;
      if (index >= map.ColorCount) return false;  // points past the colour table
      const GifColorType& colour = map.Colors[index];
      out[x] = PackRgb(colour.Red, colour.Green, colour.Blue);
    }
    return true;
  };
  if (!frame.Interlace) {
    for (int row = 0; row < frame.Height; ++row) {
      if (!read_row(row)) return false;
    }
    return true;
  }
  constexpr std::array<int, 4> kPassStart{0, 4, 2, 1};
  constexpr std::array<int, 4> kPassStep{8, 8, 4, 2};
  for (std::size_t pass = 0; pass < kPassStart.size(); ++pass) {
    for (int row = kPassStart[pass]; row < frame.Height; row += kPassStep[pass]) {
      if (!read_row(row)) return false;
    }
  }
  return true;
}

// ---- Writing ----

int WriteToSink(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return length;
}

struct GifEncoderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    EGifCloseFile(gif, &error);
  }
};
using GifEncoder = std::unique_ptr<GifFileType, GifEncoderCloser>;

struct ColourMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColourMap = std::unique_ptr<ColorMapObject, ColourMapDeleter>;

// A colour table of a power-of-two size (GIF allows no other), the pixels as
// indices into it, and the one index that stands for clear pixels.
struct GifIndexedImage {
  std::vector<GifColorType> colours;
  std::vector<GifPixelType> indices;
  int transparent = NO_TRANSPARENT_COLOR;
};

GifColorType GifColourOf(std::uint32_t pixel) {
  return {RedOf(pixel), GreenOf(pixel), BlueOf(pixel)};
}

bool IsClear(std::uint32_t pixel) { return AlphaOfPixel(pixel) == 0; }

// The table of at most 256 colours; every clear entry becomes the one
// transparent entry. nullopt for a partly transparent colour, which GIF cannot hold.
std::optional<GifIndexedImage> IndexFewColours(IndexedImage indexed) {
  GifIndexedImage image;
  std::vector<GifPixelType> entry(indexed.colours.size());
  for (std::size_t i = 0; i < indexed.colours.size(); ++i) {
    const std::uint32_t colour = indexed.colours[i];
    const std::uint8_t alpha = AlphaOfPixel(colour);
    if (alpha != 0 && alpha != 255) return std::nullopt;
    if (alpha == 0 && image.transparent != NO_TRANSPARENT_COLOR) {
      entry[i] = static_cast<GifPixelType>(image.transparent);
      continue;
    }
    if (alpha == 0) image.transparent = static_cast<int>(image.colours.size());
    entry[i] = static_cast<GifPixelType>(image.colours.size());
    image.colours.push_back(GifColourOf(colour));
  }
  image.indices = std::move(indexed.indices);
  if (image.colours.size() != indexed.colours.size()) {
    for (GifPixelType& index : image.indices) index = entry[index];
  }
  return image;
}

std::optional<GifIndexedImage> IndexForGif(const Bitmap& bitmap) {
  GifIndexedImage image;
  if (auto indexed = IndexColours(bitmap)) {
    auto few = IndexFewColours(std::move(*indexed));
    if (!few) return std::nullopt;
    image = std::move(*few);
  } else {
    const bool opaque = bitmap.IsOpaque();
    const auto& pixels = bitmap.Pixels();
    if (!opaque && !std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) {
          return IsClear(p) || AlphaOfPixel(p) == 255;
        })) {
      return std::nullopt;
    }
    const std::size_t count = bitmap.Pixels().size();
    std::vector<GifByteType> red(count), green(count), blue(count);
    for (std::size_t i = 0; i < count; ++i) {
      red[i] = RedOf(bitmap.Pixels()[i]);
      green[i] = GreenOf(bitmap.Pixels()[i]);
      blue[i] = BlueOf(bitmap.Pixels()[i]);
    }
    image.indices.resize(count);
    image.colours.resize(kMaxPaletteColours);
    // The last entry is kept for the clear pixels.
    int colour_count = static_cast<int>(kMaxPaletteColours) - (opaque ? 0 : 1);
    if (GifQuantizeBuffer(static_cast<unsigned>(bitmap.Width()),
                          static_cast<unsigned>(bitmap.Height()), &colour_count, red.data(),
                          green.data(), blue.data(), image.indices.data(),
                          image.colours.data()) == GIF_ERROR) {
      return std::nullopt;
    }
    image.colours.resize(static_cast<std::size_t>(std::clamp(colour_count, 1, 256)));
    if (!opaque) {
      image.transparent = static_cast<int>(image.colours.size());
      image.colours.push_back({0, 0, 0});
      for (std::size_t i = 0; i < count; ++i) {
        if (IsClear(pixels[i])) image.indices[i] = static_cast<GifPixelType>(image.transparent);
      }
    }
  }
  image.colours.resize(std::size_t{1} << GifBitSize(static_cast<int>(image.colours.size())),
                       GifColorType{0, 0, 0});
  return image;
}

// A graphic control extension naming the transparent index (a GIF89a block).
bool WriteTransparentIndex(GifFileType* gif, int transparent) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSAL_UNSPECIFIED;
  control.DelayTime = 0;
  control.TransparentColor = transparent;
  GifByteType block[4];
  const auto length = EGifGCBToExtension(&control, block);
  return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block) !=
         GIF_ERROR;
}

bool WriteScreenAndImage(GifFileType* gif, const ColorMapObject* map, int width, int height,
                         std::vector<GifPixelType>& indices, int transparent) {
  if (transparent != NO_TRANSPARENT_COLOR) EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map) == GIF_ERROR) return false;
  if (transparent != NO_TRANSPARENT_COLOR && !WriteTransparentIndex(gif, transparent)) return false;
  if (EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_ERROR) return false;
  for (int y = 0; y < height; ++y) {
    if (EGifPutLine(gif, &indices[static_cast<std::size_t>(y) * width], width) == GIF_ERROR) {
      return false;
    }
  }
  return true;
}

}  // namespace

Bytes EncodeGif(const Bitmap& bitmap) {
  if (bitmap.Empty()) return {};
  auto image = IndexForGif(bitmap);
  if (!image) return {};
  ColourMap map(GifMakeMapObject(static_cast<int>(image->colours.size()), image->colours.data()));
  if (!map) return {};
  Bytes out;
  int error = 0;
  GifEncoder gif(EGifOpen(&out, WriteToSink, &error));
  if (!gif) return {};
  if (!WriteScreenAndImage(gif.get(), map.get(), bitmap.Width(), bitmap.Height(), image->indices,
                           image->transparent)) {
    return {};
  }
  // Closing writes the trailer, so its result counts.
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) return {};
  return out;
}

std::optional<Bitmap> DecodeGif(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 6 || std::memcmp(bytes.data(), "GIF8", 4) != 0) return std::nullopt;
  GifSource source{bytes.data(), bytes.size(), 0};
  int error = 0;
  GifDecoder gif(DGifOpen(&source, ReadFromSource, &error));
  if (!gif) return std::nullopt;
  int transparent_index = NO_TRANSPARENT_COLOR;
  if (!ReadFirstImageDescriptor(gif.get(), transparent_index)) return std::nullopt;

  const GifImageDesc& frame = gif->Image;
  if (frame.Left < 0 || frame.Top < 0 || !ImageSizeAllowed(frame.Width, frame.Height)) {
    return std::nullopt;
  }
  // The canvas is the logical screen, grown if the frame reaches past it.
  const std::int64_t width = std::max<std::int64_t>(gif->SWidth, frame.Left + frame.Width);
  const std::int64_t height = std::max<std::int64_t>(gif->SHeight, frame.Top + frame.Height);
  if (!ImageSizeAllowed(width, height)) return std::nullopt;
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!map) return std::nullopt;

  auto canvas = Bitmap::Create(static_cast<int>(width), static_cast<int>(height), kWhite);
  if (!canvas || !ReadImageData(gif.get(), *map, transparent_index, *canvas)) {
    return std::nullopt;
  }
  // The frame must be followed by another block or the trailer; a file that
  // stops right after the pixels was cut short.
  GifRecordType next = UNDEFINED_RECORD_TYPE;
  if (DGifGetRecordType(gif.get(), &next) == GIF_ERROR) return std::nullopt;
  return canvas;
}

}  // namespace qrsmith::platform::codecs
