#pragma once
// The short way to a QR Code symbol: Encode a text with the defaults readers
// expect (a quiet zone of four modules, the mask with the lowest penalty, the
// smallest version that holds the text), read its modules, and Write it to a
// file whose extension names the form. Installed as <qrsmith/qrsmith.h>.
// Everything else (Micro QR, ECI, centre icons, print sizes, payload texts)
// lies below, in the generator, export and payload headers.

#include <memory>
#include <optional>
#include <string>

#include <qrsmith/encoder/qr_encoder.h>
#include <qrsmith/platform/types.h>

namespace qrsmith {

class QrGenerator;

// The error correction level: how much of a damaged symbol a reader can
// restore (about 7, 15, 25 and 30 per cent of its codewords). The encoder's
// own levels, under the name this entry gives them.
using ErrorCorrection = qrsmith::Level;

struct SymbolOptions {
  ErrorCorrection level = ErrorCorrection::kM;
  // 0: the smallest version (1 to 40) that holds the text; 1 to 40: that one.
  int version = 0;
  // Left out: the mask with the lowest penalty; 0 to 7: that mask.
  std::optional<int> mask;
  // Light modules on each side of the symbol; readers expect at least 4.
  int quietZone = 4;
  Colour foreground = kBlack;  // 0x00BBGGRR
  Colour background = kWhite;
};

struct EncodeResult;
// The symbol of `text` (UTF-8, encoded as its UTF-8 bytes); EncodeResult below.
EncodeResult Encode(const std::string& text, const SymbolOptions& options = {});

// A QR Code symbol as made. Copies share the same unchangeable symbol.
class Symbol {
 public:
  // Modules a side, quiet zone left out.
  int Width() const;
  int Height() const;
  // Dark (true) or light at 0-based column x and row y of the module matrix;
  // outside it (in the quiet zone and beyond) light.
  bool IsDark(int x, int y) const;
  int Version() const;  // 1 to 40, also when it was chosen automatically
  ErrorCorrection Level() const;
  int Mask() const;  // 0 to 7, also when it was chosen automatically
  int QuietZone() const;
  // The generator that made the symbol, for the exports of export/ and
  // everything else the lower layers offer.
  const QrGenerator& Generator() const { return *generator_; }

 private:
  friend EncodeResult Encode(const std::string& text, const SymbolOptions& options);
  explicit Symbol(std::shared_ptr<const QrGenerator> generator);
  std::shared_ptr<const QrGenerator> generator_;
};

struct EncodeResult {
  std::optional<Symbol> symbol;  // left out when the text could not be encoded
  std::string failure;           // why not, one line; empty on success
  explicit operator bool() const { return symbol.has_value(); }
};

struct WriteOptions {
  // Pixels a module side in pictures, HTML and SVG documents.
  int modulePixels = 8;
  // The printed side of one module in millimetres, for the forms that carry a
  // printed size (PNG, JPEG, TIFF, BMP at 300 dpi; SVG, EPS, PS, PDF, EMF,
  // WMF); a form without one refuses it.
  std::optional<double> moduleMm;
  // The form by its name ("png", "svg-path", "pdf", "utf8", ...); empty: the
  // one the path's extension names, in any case.
  std::string form;
};

struct WriteResult {
  std::string failure;  // why the file was not written, one line; empty when it was
  explicit operator bool() const { return failure.empty(); }
};

// Writes the symbol to `path` in the form its extension names (.png, .jpg,
// .gif, .tif, .bmp, .svg, .eps, .ps, .pdf, .emf, .wmf, .html, .txt). A
// regular file is replaced as a whole or left as it was.
WriteResult Write(const Symbol& symbol, const std::string& path, const WriteOptions& options = {});

}  // namespace qrsmith
