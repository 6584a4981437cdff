#include "generator/qr_generator.h"

#include "encoder/mask.h"
#include "encoder/micro_qr_tables.h"
#include "encoder/qr_tables.h"
#include "encoder/rmqr_tables.h"
#include "generator/imaging.h"
#include "generator/raster_rendering.h"
#include "platform/codecs/byte_order.h"
#include "platform/codepage.h"
#include "platform/random.h"

namespace qrsmith {

namespace {

// The symbol picture may not exceed the largest side of any picture qrsmith
// makes; a version 40 symbol is 177 modules wide.
constexpr std::int32_t kLargestSymbolSide = 177;
constexpr std::int32_t kMaxMarginSum = platform::kMaxBitmapSide;
// The largest symbol picture, margins included: 2^24 pixels (4096 x 4096,
// margins of some 2000 modules a side). Generate keeps the picture twice
// (bitmap and symbol image form, 4 bytes a pixel each) with a noise pool of
// 1.25 bytes a pixel: 155 MiB at most, which leaves the largest raster export
// (a 16384 x 16384 picture of 1 GiB and its 768 MiB BMP file) within 2 GiB.
// The side bound alone would let margins ask for 2.4 GiB in Generate.
constexpr std::int64_t kMaxSymbolPixels = std::int64_t{1} << 24;

// Whether a symbol of `side` modules with these margins stays within both
// bounds of the symbol picture: its side and its pixel count.
bool SymbolPictureFits(std::int64_t side, std::int32_t left, std::int32_t bottom, std::int32_t top,
                       std::int32_t right) {
  const std::int64_t width = side + left + right;
  const std::int64_t height = side + top + bottom;
  return width <= platform::kMaxBitmapSide && height <= platform::kMaxBitmapSide &&
         width * height <= kMaxSymbolPixels;
}

bool MarginsInRange(std::int32_t left, std::int32_t bottom, std::int32_t top, std::int32_t right) {
  if (left < 0 || bottom < 0 || top < 0 || right < 0) return false;
  return std::int64_t{left} + right <= kMaxMarginSum && std::int64_t{top} + bottom <= kMaxMarginSum;
}

}  // namespace

std::int32_t QrGenerator::SymbolWidth() const {
  return symbolImage_.size() < 27 ? 0 : platform::codecs::LoadLeI32(&symbolImage_[18]);
}

std::int32_t QrGenerator::SymbolHeight() const {
  return symbolImage_.size() < 27 ? 0 : platform::codecs::LoadLeI32(&symbolImage_[22]);
}

std::int16_t QrGenerator::SymbolVersion() const {
  return HasSymbol() ? static_cast<std::int16_t>(encoder_.Version()) : std::int16_t{0};
}

void QrGenerator::ClearIcon() { iconBitmap_.reset(); }

bool QrGenerator::Fail(GenerateFailure why) {
  lastFailure_ = why;
  return false;
}

void QrGenerator::TakeIcon(const Bytes& icon) {
  Bytes image;
  if (!ConvertImage(icon, 1, image)) return;  // unreadable: keep the earlier icon
  auto bitmap = LoadImageBitmap(image);
  if (!bitmap) return;
  iconBitmap_ = std::make_shared<const platform::Bitmap>(std::move(*bitmap));
}

std::optional<Bytes> ContentBytes(const std::string& content, bool ansi) {
  if (ansi) return platform::Utf8ToCodePage(content);
  return Bytes(content.begin(), content.end());
}

bool QrGenerator::Generate(const std::string& content, const GenerateOptions& options) {
  return Generate(content, options.ansi, options.version, static_cast<std::int16_t>(options.level),
                  options.mask.value_or(-1), options.foreground, options.background, options.icon,
                  options.marginLeft, options.marginBottom, options.marginTop, options.marginRight,
                  !options.mask.has_value());
}

bool QrGenerator::Generate(const std::string& content, bool ansi, std::int16_t version,
                           std::optional<std::int16_t> level, std::optional<std::int16_t> mask,
                           Colour foreground, std::optional<Colour> background,
                           std::optional<Bytes> icon, std::optional<std::int32_t> marginLeft,
                           std::optional<std::int32_t> marginBottom,
                           std::optional<std::int32_t> marginTop,
                           std::optional<std::int32_t> marginRight, bool chooseMask) {
  // Every call starts by dropping the current symbol: a failure leaves none.
  symbolBitmap_.reset();
  symbolImage_.clear();
  lastFailure_ = GenerateFailure::kNone;

  const std::int16_t levelValue = level.value_or(static_cast<std::int16_t>(qrsmith::Level::kM));
  const std::int16_t maskValue = mask.value_or(-1);
  const std::int32_t left = marginLeft.value_or(1);
  const std::int32_t bottom = marginBottom.value_or(1);
  const std::int32_t top = marginTop.value_or(1);
  const std::int32_t right = marginRight.value_or(1);
  const bool micro = kind_ == SymbolKind::kMicroQr;
  const bool rmqr = kind_ == SymbolKind::kRmqr;
  // Versions, levels and masks by kind: QR 1..40, L..H, 0..7; Micro QR 1..4,
  // L..Q, 0..3; rMQR sizes 1..32, M or H, and its one mask.
  const std::int32_t lastVersion = micro  ? encoder::kMicroVersionCount
                                   : rmqr ? encoder::kRmqrSizeCount
                                          : encoder::kMaxVersion;
  const std::int32_t masks = micro ? encoder::kMicroMaskCount : rmqr ? 1 : encoder::kMaskCount;
  const qrsmith::Level maxLevel = micro ? qrsmith::Level::kQ : qrsmith::Level::kH;
  const bool levelKnown =
      rmqr ? levelValue == 0 || levelValue == encoder::kRmqrLevelM ||
                 levelValue == encoder::kRmqrLevelH
           : levelValue >= 0 && levelValue <= static_cast<std::int16_t>(maxLevel);
  if (version < 0 || version > lastVersion || !levelKnown || maskValue < -1 ||
      maskValue >= masks || !MarginsInRange(left, bottom, top, right)) {
    return Fail(GenerateFailure::kOptionOutOfRange);
  }

  content_ = content;
  ansi_ = ansi;
  version_ = version;
  level_ = levelValue;
  mask_ = maskValue;
  foreground_ = foreground;
  background_ = background.value_or(kWhite);
  iconSource_ = icon.value_or(Bytes{});
  marginLeft_ = left;
  marginBottom_ = bottom;
  marginTop_ = top;
  marginRight_ = right;

  if (icon) TakeIcon(*icon);

  std::optional<Bytes> carried = ContentBytes(content, ansi);
  if (!carried) return Fail(GenerateFailure::kContentNotRepresentable);
  const Bytes& bytes = *carried;
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
    return Fail(GenerateFailure::kContentTooLong);
  }

  EncodeOptions options;
  options.kind = kind_;
  options.version = version_;
  // Level 0 is M for QR and rMQR; for Micro QR the lowest, L, so that M1 is
  // reachable.
  options.level = micro && level_ == 0 ? std::int16_t{1} : level_ == 0 ? std::int16_t{2} : level_;
  options.rmqrHeight = extras_.rmqrHeight;
  options.mask = mask_;
  options.chooseMask = chooseMask;
  options.foreground = foreground_;
  options.background = background_;
  options.left = left;
  options.top = top;
  options.right = right;
  options.bottom = bottom;
  // Readers take Kanji mode as Shift-JIS, so only Shift-JIS bytes may use it.
  options.allowKanji =
      extras_.allowKanji.value_or(ansi && platform::IsShiftJis(platform::SystemCodePage()));
  options.header = extras_.header;
  options.boostLevel = extras_.boostLevel;
  const auto length = static_cast<std::int32_t>(bytes.size());
  if (!SymbolPictureFits(kLargestSymbolSide, left, bottom, top, right)) {
    // Margins this wide may make too large a picture, depending on the
    // version: settle the version on a picture without margins first, so
    // that content no version holds is reported as that, whatever the margins.
    EncodeOptions bare = options;
    bare.left = bare.top = bare.right = bare.bottom = 0;
    bare.chooseMask = false;  // the mask does not change the version
    const auto symbol = encoder_.Encode(bytes, length, bare);
    if (!symbol) return Fail(GenerateFailure::kContentTooLong);
    if (!SymbolPictureFits(symbol->Width(), left, bottom, top, right)) {
      return Fail(GenerateFailure::kSymbolTooLarge);
    }
  }
  // The picture fits at the version the content takes, so only the content can fail here.
  symbolBitmap_ = encoder_.Encode(bytes, length, options);
  if (!symbolBitmap_) return Fail(GenerateFailure::kContentTooLong);
  if (chooseMask) mask_ = static_cast<std::int16_t>(encoder_.Mask());
  if (extras_.boostLevel) level_ = static_cast<std::int16_t>(encoder_.Level());

  // Into the storage of the last symbol's image: no new pages for each symbol.
  BitmapToImageInto(*symbolBitmap_, symbolImage_);
  if (symbolImage_.empty()) {
    symbolBitmap_.reset();
    return Fail(GenerateFailure::kRenderingFailed);
  }

  // Noise pool: ten bits per pixel of the symbol picture, a byte per 8 bits.
  const auto poolSize =
      static_cast<std::size_t>(static_cast<double>(SymbolWidth()) * SymbolHeight() * 10 / 8);
  noise_.Reset(poolSize);
  return true;
}

std::span<const std::uint8_t> QrGenerator::NoiseBits() const { return noise_.Bits(); }

std::span<const std::uint8_t> NoisePool::Bits() const {
  const std::lock_guard lock(mutex_);
  if (!drawn_) {
    platform::FillRandom(bits_);
    drawn_ = true;
  }
  return bits_;
}

}  // namespace qrsmith
