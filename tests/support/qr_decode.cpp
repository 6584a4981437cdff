#include "tests/support/qr_decode.h"

namespace qrsmith::testing {

std::vector<std::uint8_t> GreyLevels(const platform::Bitmap& picture) {
  std::vector<std::uint8_t> grey(picture.Pixels().size());
  for (std::size_t i = 0; i < grey.size(); ++i) {
    const std::uint32_t p = picture.Pixels()[i];
    const unsigned r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    grey[i] = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b) / 1000);
  }
  return grey;
}

platform::Bitmap FramedForReader(const platform::Bitmap& picture, int scale) {
  const int border = 4 * scale;
  auto big = picture.Stretch(picture.Width() * scale, picture.Height() * scale);
  auto framed =
      platform::Bitmap::Create(big->Width() + 2 * border, big->Height() + 2 * border, 0xFFFFFF);
  framed->CopyFrom(*big, border, border);
  return *framed;
}

}  // namespace qrsmith::testing
