// DecodeImage on arbitrary bytes: the signature dispatch over every decoder
// (BMP, JPEG, GIF, TIFF, PNG, ICO). A header that declares a huge picture
// must be refused before the pixels are allocated, which libFuzzer's
// -malloc_limit_mb=2048 turns into a finding when it is not.

#include "fuzz/decoded_checks.h"
#include "platform/codecs/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace codecs = qrsmith::platform::codecs;
  const std::span<const std::uint8_t> bytes(data, size);
  const auto picture = codecs::DecodeImage(bytes);
  qrsmith::fuzz::Expect(!picture || codecs::DetectImageFormat(bytes).has_value(),
                        "a picture decoded from bytes of no known format");
  qrsmith::fuzz::CheckDecoded(picture);
  return 0;
}
