// The raster exports of the generator object: the current symbol, enlarged,
// on a background picture and with the centre icon as asked, encoded as BMP,
// JPEG, GIF, TIFF or PNG and written to a file or handed out as bytes.

#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "generator/raster_rendering.h"
#include "platform/codecs/bmp.h"
#include "platform/codecs/gif.h"
#include "platform/codecs/jpeg.h"
#include "platform/codecs/palette.h"
#include "platform/codecs/png.h"
#include "platform/codecs/tiff.h"
#include "platform/file.h"

namespace qrsmith {

namespace {

bool SideInRange(std::int32_t side) { return side >= 1 && side <= platform::kMaxBitmapSide; }

bool KindInRange(std::int16_t kind) { return kind >= 0 && kind <= 4; }

// The file bytes of export kind 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG.
Bytes EncodeAs(const platform::Bitmap& image, std::int16_t kind) {
  namespace codecs = platform::codecs;
  switch (kind) {
    case 0:
      return codecs::EncodeBmp(image);
    case 1:
      return codecs::EncodeJpeg(image);
    case 2:
      return codecs::EncodeGif(image);
    case 3:
      return codecs::EncodeTiff(image);
    case 4:
      return codecs::EncodePng(image);
    default:
      return {};
  }
}

// The symbol enlarged to size x size as a PNG, written row by row from the
// one-pixel-per-module picture: an 8192-pixel square of a version-40 symbol
// then needs a few kilobytes besides its file, where the enlarged picture
// itself would take 256 MiB.
Bytes EnlargedPng(const platform::Bitmap& symbol, std::int32_t size) {
  namespace codecs = platform::codecs;
  const auto indexed = codecs::IndexColours(symbol);
  if (!indexed) return {};
  const int bitDepth = codecs::IndexBitDepth(indexed->colours.size());
  std::vector<int> sourceColumn(static_cast<std::size_t>(size));
  for (int x = 0; x < size; ++x) {
    sourceColumn[x] = static_cast<int>(std::int64_t{x} * symbol.Width() / size);
  }
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(size));
  std::vector<std::uint8_t> packed((static_cast<std::size_t>(size) * bitDepth + 7) / 8);
  int packedRow = -1;  // the source row `packed` holds; neighbouring rows repeat it
  return codecs::EncodePngRows(
      size, size, indexed->colours, bitDepth, [&](int y, std::uint8_t* row) {
        const int sourceRow = static_cast<int>(std::int64_t{y} * symbol.Height() / size);
        if (sourceRow != packedRow) {
          const std::uint8_t* source =
              &indexed->indices[static_cast<std::size_t>(sourceRow) * symbol.Width()];
          for (int x = 0; x < size; ++x) indices[x] = source[sourceColumn[x]];
          codecs::PackIndexRow(indices.data(), size, bitDepth, packed.data());
          packedRow = sourceRow;
        }
        std::copy(packed.begin(), packed.end(), row);
      });
}

}  // namespace

bool QrGenerator::StreamsAsPng(std::optional<std::int32_t> size, std::int16_t kind,
                               const Bytes& picture) const {
  return kind == 4 && size && SideInRange(*size) && picture.empty() && !iconBitmap_ && HasSymbol();
}

std::optional<platform::Bitmap> QrGenerator::ComposeRaster(
    std::optional<std::int32_t> size, const Bytes& picture, std::int32_t pictureWidth,
    std::int32_t pictureHeight, std::int32_t dx, std::int32_t dy, bool noise) const {
  if (!HasSymbol()) return std::nullopt;
  if (!size) return *symbolBitmap_;  // one pixel per module: no icon, no picture
  if (!SideInRange(*size)) return std::nullopt;
  if (!picture.empty() && !(SideInRange(pictureWidth) && SideInRange(pictureHeight))) {
    return std::nullopt;
  }
  std::optional<platform::Bitmap> image;
  if (picture.empty()) {
    image = symbolBitmap_->Stretch(*size, *size);
  } else {
    // A picture that cannot be read is an error, not a silently missing background.
    auto background = LoadImageBitmap(picture, pictureWidth, pictureHeight);
    if (!background) return std::nullopt;
    // Enlarged as it is drawn into the picture: at 16384 x 16384 the picture
    // and an enlarged symbol beside it would take 2 GiB.
    image = ComposeEnlargedOnPictureBitmap(std::move(*background), *symbolBitmap_, *size, *size,
                                           background_, dx, dy, noise, noiseBits_, SymbolWidth(),
                                           SymbolHeight());
  }
  if (!image) return std::nullopt;
  if (iconBitmap_) {
    // On a picture the icon follows the symbol's offset; alone it sits at the centre.
    if (picture.empty()) {
      OverlayIconOnto(*image, *iconBitmap_, 0, 0);
    } else {
      OverlayIconOnto(*image, *iconBitmap_, dx, dy);
    }
  }
  return image;
}

bool QrGenerator::SaveImage(const std::string& path, std::optional<std::int32_t> size,
                            std::int16_t kind, const Bytes& picture, std::int32_t pictureWidth,
                            std::int32_t pictureHeight, std::int32_t dx, std::int32_t dy,
                            bool noise) const {
  if (!KindInRange(kind)) return false;
  if (StreamsAsPng(size, kind, picture)) {
    const Bytes encoded = EnlargedPng(*symbolBitmap_, *size);
    return !encoded.empty() && platform::WriteFileAtomically(path, encoded);
  }
  const auto image = ComposeRaster(size, picture, pictureWidth, pictureHeight, dx, dy, noise);
  if (!image) return false;
  const Bytes encoded = EncodeAs(*image, kind);
  if (encoded.empty()) return false;  // never write an empty or unconverted file
  return platform::WriteFileAtomically(path, encoded);
}

Bytes QrGenerator::ExportImage(std::optional<std::int32_t> size, std::int16_t kind,
                               const Bytes& picture, std::int32_t pictureWidth,
                               std::int32_t pictureHeight, std::int32_t dx, std::int32_t dy,
                               bool noise) const {
  if (!KindInRange(kind)) return {};
  // A size of 0 or below asks for no enlargement: the one-pixel-per-module
  // picture, as when the size is left out.
  if (size && *size <= 0) size.reset();
  if (StreamsAsPng(size, kind, picture)) return EnlargedPng(*symbolBitmap_, *size);
  const auto image = ComposeRaster(size, picture, pictureWidth, pictureHeight, dx, dy, noise);
  if (!image) return {};
  if (kind == 0) return BitmapToImage(*image);  // the symbol image form
  return EncodeAs(*image, kind);
}

}  // namespace qrsmith
