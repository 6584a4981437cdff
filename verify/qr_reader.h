#pragma once
// Reading an existing QR Code: the symbol's bytes out of a picture (zxing-cpp,
// in process) and the content text those bytes stand for. Every place that
// reads a symbol back (--verify, the window's scan check, a pasted or dropped
// picture) shares this one reader and one rule for the text.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>
#include <qrsmith/verify/reader_interface.h>

namespace qrsmith::verify {

// Hands over the reader a program links in (qrsmith::linked_reader); a
// program that hands over none loads the reader module on first use, from
// beside its executable or from ../lib/qrsmith/.
void UseReader(QrsmithReadQrCode read);
// Both readers a program links in: zxing-cpp and zbar.
void UseReaders(QrsmithReadQrCode zxing, QrsmithReadQrCode zbar);
// Whether a reader is linked in or the module can be loaded.
bool ReaderAvailable();

// The two independent readers the grade decodes with.
enum class Reader { kZxing, kZbar };
const char* ReaderName(Reader reader);
bool ReaderAvailable(Reader reader);

// Whether ReadQrCode first lays the picture on a white frame of its own, so
// that a symbol with a narrow quiet zone (or none) is found as well.
enum class QuietZone { kAsDrawn, kAdded };

// The bytes of the first QR Code found in `picture`; nullopt when none is
// found or no reader is available.
std::optional<Bytes> ReadQrCode(const platform::Bitmap& picture,
                                QuietZone quietZone = QuietZone::kAsDrawn,
                                Reader reader = Reader::kZxing);

// A picture in the readers' grey levels, made once for both readers.
struct GreyPicture {
  std::vector<std::uint8_t> grey;  // width x height, rows after each other
  int width = 0, height = 0;
};
GreyPicture GreyOf(const platform::Bitmap& picture, QuietZone quietZone = QuietZone::kAsDrawn);
std::optional<Bytes> ReadGrey(const GreyPicture& picture, Reader reader);

// The content text (UTF-8) that a symbol's bytes stand for: the bytes
// themselves when they are valid UTF-8, else the bytes read in the system
// code page (GBK by default); nullopt when they are neither.
std::optional<std::string> ContentOfSymbolBytes(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::verify
