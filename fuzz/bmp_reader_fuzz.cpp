// The BMP reader on arbitrary bytes: every header field, colour table, bit
// field and run-length code comes from the input.

#include "fuzz/decoded_checks.h"
#include "platform/codecs/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrsmith::fuzz::CheckDecoded(qrsmith::platform::codecs::DecodeBmp({data, size}));
  return 0;
}
