#include "tests/support/qr_decode.h"

#include "platform/colour.h"

namespace qrsmith::testing {

std::vector<std::uint8_t> GreyLevels(const platform::Bitmap& picture) {
  std::vector<std::uint8_t> grey(picture.Pixels().size());
  for (std::size_t i = 0; i < grey.size(); ++i)
    grey[i] = platform::LumaOfPixel(picture.Pixels()[i]);
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
