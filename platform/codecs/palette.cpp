#include "platform/codecs/palette.h"

#include <algorithm>
#include <unordered_map>

namespace qrsmith::platform::codecs {

std::optional<IndexedImage> IndexColours(const Bitmap& bitmap) {
  if (bitmap.Empty()) return std::nullopt;
  IndexedImage image;
  image.indices.resize(bitmap.Pixels().size());
  std::unordered_map<std::uint32_t, std::uint8_t> index_of;
  // Neighbouring pixels are mostly equal, so the last hit is remembered.
  std::uint32_t last_colour = bitmap.Pixels().front();
  std::uint8_t last_index = 0;
  image.colours.push_back(last_colour);
  index_of.emplace(last_colour, 0);
  for (std::size_t i = 0; i < bitmap.Pixels().size(); ++i) {
    const std::uint32_t colour = bitmap.Pixels()[i];
    if (colour != last_colour) {
      auto found = index_of.find(colour);
      if (found == index_of.end()) {
        if (image.colours.size() == kMaxPaletteColours) return std::nullopt;
        const auto index = static_cast<std::uint8_t>(image.colours.size());
        image.colours.push_back(colour);
        found = index_of.emplace(colour, index).first;
      }
      last_colour = colour;
      last_index = found->second;
    }
    image.indices[i] = last_index;
  }
  return image;
}

bool HasTransparentColour(const std::vector<std::uint32_t>& colours) {
  return std::any_of(colours.begin(), colours.end(), [](std::uint32_t c) { return c >> 24 != 0; });
}

int IndexBitDepth(std::size_t colour_count) {
  if (colour_count <= 2) return 1;
  if (colour_count <= 4) return 2;
  if (colour_count <= 16) return 4;
  return 8;
}

void PackIndexRow(const std::uint8_t* indices, int width, int bit_depth, std::uint8_t* out) {
  const int per_byte = 8 / bit_depth;
  const int row_bytes = (width * bit_depth + 7) / 8;
  std::fill(out, out + row_bytes, std::uint8_t{0});
  for (int x = 0; x < width; ++x) {
    const int shift = 8 - bit_depth * (x % per_byte + 1);
    out[x / per_byte] |= static_cast<std::uint8_t>(indices[x] << shift);
  }
}

}  // namespace qrsmith::platform::codecs
