// The ICO reader on arbitrary bytes: the directory, and each entry in BMP
// form (colour image and mask) or PNG form.

#include "fuzz/decoded_checks.h"
#include "platform/codecs/ico.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qrsmith::fuzz::CheckDecoded(qrsmith::platform::codecs::DecodeIco({data, size}));
  return 0;
}
