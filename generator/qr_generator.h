#pragma once
// QrGenerator: the one object through which the program makes and hands out
// QR Code symbols. It owns the encoder, keeps the options of the last
// Generate call, the current symbol (as a bitmap and as its symbol image
// form), the centre icon and the pool of random bytes that the decorative
// noise draws from. The exports and the preview read the current symbol.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include <qrsmith/encoder/qr_encoder.h>
#include <qrsmith/generator/noise_bits.h>
#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/preview_window.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

// The bytes a symbol of `content` (UTF-8) carries: for the ANSI choice its
// bytes in the system code page, never with a substitute for a character the
// code page cannot hold (nothing then); otherwise the UTF-8 bytes as they are.
std::optional<Bytes> ContentBytes(const std::string& content, bool ansi);

// What the next Generate calls write besides the content: header segments
// (ECI, structured append, FNC1; encoder/stream_header.h), the level boost,
// and whether Kanji mode may be used, when the caller knows better than the
// ANSI flag (bytes in Shift_JIS given as they are).
struct EncodeExtras {
  std::optional<encoder::StreamHeader> header;
  bool boostLevel = false;
  std::optional<bool> allowKanji;
  // rMQR at version 0: the smallest size of this height (7, 9, .. 17).
  std::optional<std::int16_t> rmqrHeight;
};

// Why the last Generate returned false.
enum class GenerateFailure {
  kNone,                     // the last Generate succeeded, or none ran yet
  kOptionOutOfRange,         // version, level, mask or a margin outside its range
  kContentNotRepresentable,  // a character the system code page cannot hold
  kContentTooLong,           // the content does not fit the version (or any version)
  kSymbolTooLarge,           // the margins would make the symbol picture too large
  kRenderingFailed,          // the symbol image could not be formed
};

// The options of Generate(content, options), each named; the defaults are
// those of the positional Generate, but for the mask, which is chosen by the
// penalty rules unless given.
struct GenerateOptions {
  // Encode the content's bytes in the system code page; otherwise its UTF-8
  // bytes as they are.
  bool ansi = false;
  std::int16_t version = 0;  // 0: the smallest that holds the content; 1..40 (M1..M4: 1..4)
  Level level = Level::kM;   // Micro QR: L, M or Q
  // 0..7 (Micro QR 0..3); left out: the mask with the lowest penalty.
  std::optional<std::int16_t> mask;
  Colour foreground = kBlack;
  Colour background = kWhite;
  // Picture bytes of a new centre icon; left out keeps the current one.
  std::optional<Bytes> icon;
  // The quiet zone in modules on each side.
  std::int32_t marginLeft = 1, marginTop = 1, marginRight = 1, marginBottom = 1;
};

class QrGenerator {
 public:
  using BitmapRef = std::shared_ptr<const platform::Bitmap>;

  QrGenerator() = default;
  // Deep copy of the encoder, arrays and texts; the bitmaps are shared, which
  // is safe because no one changes a bitmap once it is made.
  QrGenerator(const QrGenerator&) = default;
  QrGenerator& operator=(const QrGenerator&) = default;
  std::unique_ptr<QrGenerator> Copy() const { return std::make_unique<QrGenerator>(*this); }

  // Makes a new current symbol from `content` (UTF-8). ansi: encode the
  // content's bytes in the system code page; otherwise its UTF-8 bytes as they
  // are. version 0 (automatic) or 1..40; level 0..4 (0 encodes as M); mask -1
  // (mask 0) or 0..7. Left-out arguments take their defaults: level 2, mask
  // -1, background white, no new icon, margins 1. The icon, when given and
  // readable, replaces the current one; leaving it out keeps it. The symbol
  // picture, margins included, may be at most 16384 pixels a side and 2^24
  // pixels in all (kSymbolTooLarge beyond). chooseMask: ignore `mask` and
  // let the encoder choose the mask by its penalty rules (Mask() then tells
  // which); the window keeps mask 0, the command-line tool asks for this.
  bool Generate(const std::string& content, bool ansi, std::int16_t version,
                std::optional<std::int16_t> level, std::optional<std::int16_t> mask,
                Colour foreground, std::optional<Colour> background = std::nullopt,
                std::optional<Bytes> icon = std::nullopt,
                std::optional<std::int32_t> marginLeft = std::nullopt,
                std::optional<std::int32_t> marginBottom = std::nullopt,
                std::optional<std::int32_t> marginTop = std::nullopt,
                std::optional<std::int32_t> marginRight = std::nullopt, bool chooseMask = false);

  // The same with named options (GenerateOptions).
  bool Generate(const std::string& content, const GenerateOptions& options);

  GenerateFailure LastFailure() const { return lastFailure_; }
  // The version of the current symbol as made: the one chosen when Generate
  // was given 0 (automatic); 0 without symbol.
  std::int16_t SymbolVersion() const;
  // The kind of symbol the next Generate makes; QR unless set. For Micro QR,
  // Generate takes version 0 (the smallest that holds the content) or 1..4
  // (M1..M4), level 0 or 1 (L), 2 (M) or 3 (Q) and mask -1..3. For rMQR,
  // version 0 or 1..32 (R7x43 .. R17x139), level 0 or 2 (M) or 4 (H), and
  // mask -1 or 0 (rMQR has one mask).
  void SetKind(SymbolKind kind) { kind_ = kind; }
  SymbolKind Kind() const { return kind_; }
  // Extras of the following Generate calls; none at first. With boostLevel,
  // Level() afterwards tells the level the symbol got.
  void SetEncodeExtras(const EncodeExtras& extras) { extras_ = extras; }
  // Drops the centre icon, so that later previews and exports show none.
  void ClearIcon();

  // The current symbol.
  bool HasSymbol() const { return symbolBitmap_ != nullptr && !symbolImage_.empty(); }
  std::int32_t SymbolWidth() const;  // pixels = modules, margins included; 0 without symbol
  std::int32_t SymbolHeight() const;
  Bytes SymbolImage() const { return symbolImage_; }
  BitmapRef SymbolBitmap() const { return symbolBitmap_; }
  // Dark (true) or light at 1-based row r and column c of the symbol picture,
  // margins included; positions in the margins are light.
  bool IsDark(std::int32_t r, std::int32_t c) const { return encoder_.ModuleAt(r, c, false) != 0; }

  // The options of the last Generate that passed the range checks.
  std::string Content() const { return content_; }
  bool IsAnsi() const { return ansi_; }
  std::int16_t Level() const { return level_; }
  std::int16_t Version() const { return version_; }
  std::int16_t Mask() const { return mask_; }
  Colour ForegroundColour() const { return foreground_; }
  Colour BackgroundColour() const { return background_; }
  Bytes IconSource() const { return iconSource_; }
  std::int32_t MarginLeft() const { return marginLeft_; }
  std::int32_t MarginBottom() const { return marginBottom_; }
  std::int32_t MarginTop() const { return marginTop_; }
  std::int32_t MarginRight() const { return marginRight_; }

  // --- Raster files and bytes -------------------------------------------------
  // (generator/raster_files.h draws them, at any width and height.)
  // kind: a RasterKind, 0 BMP, 1 JPEG, 2 GIF, 3 TIFF, 4 PNG. With `size`, the symbol is
  // enlarged to a size x size square, laid on `picture` (any readable picture,
  // stretched to pictureWidth x pictureHeight, the symbol moved by dx, dy from
  // its centre, with optional noise) when one is given, and the centre icon is
  // drawn over it. Without `size`, the one-pixel-per-module picture is used as
  // it is, with neither icon nor picture. Sizes run from 1 to 16384.

  // Writes the picture to `path` atomically; false (and the file untouched)
  // when there is no symbol, an argument is out of range, the picture is
  // unreadable, the encoding fails or the file cannot be written.
  bool SaveImage(const std::string& path, std::optional<std::int32_t> size, std::int16_t kind,
                 const Bytes& picture = {}, std::int32_t pictureWidth = 0,
                 std::int32_t pictureHeight = 0, std::int32_t dx = 0, std::int32_t dy = 0,
                 bool noise = false) const;
  // The picture's bytes; kind 0 gives the symbol image form (44-byte header).
  // A size of 0 or below is taken as left out (SaveImage refuses it). Empty
  // on any failure.
  Bytes ExportImage(std::optional<std::int32_t> size, std::int16_t kind, const Bytes& picture = {},
                    std::int32_t pictureWidth = 0, std::int32_t pictureHeight = 0,
                    std::int32_t dx = 0, std::int32_t dy = 0, bool noise = false) const;

  // Puts the same picture as ExportImage makes on the clipboard installed with
  // platform::InstallClipboard; false without symbol, clipboard or picture.
  bool CopyToClipboard(std::optional<std::int32_t> size = std::nullopt, const Bytes& picture = {},
                       std::int32_t pictureWidth = 0, std::int32_t pictureHeight = 0,
                       std::int32_t dx = 0, std::int32_t dy = 0, bool noise = false) const;

  // --- Preview ------------------------------------------------------------------
  // Shows the current symbol in `window` until DetachPreview: takes over its
  // painting and keeps the 19 preview values on it (generator/preview_painter.h),
  // so the painter needs nothing of this object. mode: a PreviewMode, 0..10;
  // fill: the client area's colour, white when left out, kNoFill for none;
  // squareSize: the drawn symbol's side (0 takes the symbol's width); picture:
  // picture bytes (empty: none), resized to pictureWidth x pictureHeight when
  // given, with the symbol moved by (offsetX, offsetY) from its centre and
  // optional noise around it. The window
  // keeps its own references to the pictures it shows. False, with the window
  // untouched, when it is gone or mode is outside 0..10. Attaching again first
  // detaches, so a window is never attached twice.
  bool AttachPreview(platform::PreviewWindow& window, std::int32_t mode,
                     std::optional<Colour> fill = std::nullopt, std::int32_t squareSize = 0,
                     const Bytes& picture = {},
                     std::optional<std::int32_t> pictureWidth = std::nullopt,
                     std::optional<std::int32_t> pictureHeight = std::nullopt,
                     std::int32_t offsetX = 0, std::int32_t offsetY = 0, bool noise = false);
  // Gives the window its own painting back and, when this object attached it,
  // removes the 19 values. False only when the window is gone.
  bool DetachPreview(platform::PreviewWindow& window);
  bool IsPreviewAttached(const platform::PreviewWindow& window) const;

  // The centre icon (null when none) and the noise pool, for the renderers.
  BitmapRef IconBitmap() const { return iconBitmap_; }
  // The pool is drawn on the first call after Generate: most symbols are
  // never drawn with noise, and drawing 10 bits a pixel costs more than the
  // symbol itself.
  std::span<const std::uint8_t> NoiseBits() const;

 private:
  bool Fail(GenerateFailure why);
  void TakeIcon(const Bytes& icon);

  QrEncoder encoder_;
  SymbolKind kind_ = SymbolKind::kQr;
  BitmapRef symbolBitmap_;  // one pixel per module, margins included; null: no symbol
  Bytes symbolImage_;       // the same picture in its symbol image form
  BitmapRef iconBitmap_;    // the centre icon at its own size; null: none
  std::string content_;     // UTF-8, as given
  bool ansi_ = false;
  std::int16_t version_ = 0;
  std::int16_t level_ = 2;
  std::int16_t mask_ = -1;
  Colour foreground_ = kBlack;
  Colour background_ = kWhite;
  Bytes iconSource_;  // the icon bytes of the last Generate, as given
  std::int32_t marginLeft_ = 0;
  std::int32_t marginBottom_ = 0;
  std::int32_t marginTop_ = 0;
  std::int32_t marginRight_ = 0;
  NoisePool noise_;  // W x H x 10 / 8 random bytes for the current symbol
  GenerateFailure lastFailure_ = GenerateFailure::kNone;
  EncodeExtras extras_;
  std::vector<std::uintptr_t> previewWindows_;  // handles of the attached windows
  BitmapRef pictureBitmap_;  // the preview's background picture of the last attach
};

}  // namespace qrsmith
