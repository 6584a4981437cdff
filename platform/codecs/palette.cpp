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

int IndexBitDepth(std::size_t colour_count) {
  if (colour_count <= 2) return 1;
  if (colour_count <= 4) return 2;
  if (colour_count <= 16) return 4;
  return 8;
}

namespace {

// PackIndexRow at a depth known when compiled, so that each byte's indices
// are shifted together without a division or a branch per pixel.
template <int kDepth>
void PackAtDepth(const std::uint8_t* indices, int width, std::uint8_t* out) {
  constexpr int kPerByte = 8 / kDepth;
  int x = 0;
  for (; x + kPerByte <= width; x += kPerByte) {
    unsigned byte = 0;
    for (int k = 0; k < kPerByte; ++k) byte = (byte << kDepth) | indices[x + k];
    *out++ = static_cast<std::uint8_t>(byte);
  }
  if (x == width) return;
  unsigned byte = 0;
  int filled = 0;
  for (; x < width; ++x, filled += kDepth) byte = (byte << kDepth) | indices[x];
  *out = static_cast<std::uint8_t>(byte << (8 - filled));
}

}  // namespace

void PackIndexRow(const std::uint8_t* indices, int width, int bit_depth, std::uint8_t* out) {
  switch (bit_depth) {
    case 1:
      return PackAtDepth<1>(indices, width, out);
    case 2:
      return PackAtDepth<2>(indices, width, out);
    case 4:
      return PackAtDepth<4>(indices, width, out);
    default:
      std::copy(indices, indices + width, out);
  }
}

}  // namespace qrsmith::platform::codecs
