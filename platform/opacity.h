#pragma once
// How opaque the two colours of an export are. The colours themselves stay
// 0x00BBGGRR values, as the generator and the window hold them, and are
// always opaque there; an export that can show transparency takes this beside
// them. Alpha runs from 0 (clear: nothing drawn) to 255 (opaque).

#include <cstdint>

#include <qrsmith/platform/types.h>

namespace qrsmith {

struct Opacity {
  std::uint8_t foreground = 255;  // the dark modules
  std::uint8_t background = 255;  // the light modules and the margins

  bool IsOpaque() const { return foreground == 255 && background == 255; }
  // Light modules and margins are left undrawn, so whatever lies beneath shows.
  bool BackgroundClear() const { return background == 0; }
  // Every alpha is 0 or 255: all that a colour key or a transparent index holds.
  bool OnlyClearOrOpaque() const {
    return (foreground == 0 || foreground == 255) && (background == 0 || background == 255);
  }
  friend bool operator==(const Opacity&, const Opacity&) = default;
};

// One channel of straight (not premultiplied) value c with alpha a laid over
// white, rounded to nearest.
constexpr std::uint32_t BlendOnWhite(std::uint32_t c, std::uint32_t a) {
  return (c * a + 255 * (255 - a) + 127) / 255;
}

// What a colour with `alpha` looks like on a white page.
constexpr Colour ColourOnWhite(Colour colour, std::uint8_t alpha) {
  Colour out = 0;
  for (const int shift : {0, 8, 16}) out |= BlendOnWhite((colour >> shift) & 0xFF, alpha) << shift;
  return out;
}

}  // namespace qrsmith
