#include "platform/codecs/dib.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

#include "platform/codecs/byte_order.h"
#include "platform/codecs/limits.h"
#include "platform/codecs/pixels.h"

namespace qrsmith::platform::codecs {
namespace {

// Compression values of the information header that the reader supports.
constexpr std::uint32_t kBiRgb = 0;             // plain pixels
constexpr std::uint32_t kBiRle8 = 1;            // run-length coded 8-bit indices
constexpr std::uint32_t kBiRle4 = 2;            // run-length coded 4-bit indices
constexpr std::uint32_t kBiBitfields = 3;       // 16/32-bit pixels with R, G, B masks
constexpr std::uint32_t kBiAlphaBitfields = 6;  // the same with an alpha mask

// The oldest (OS/2 1.x, "core") header: 16-bit sides and 3-byte colour entries.
constexpr std::uint32_t kCoreHeaderSize = 12;
// The standard information header; longer ones (52, 56, 108, 124 bytes, and
// the 44 bytes of the symbol image form) start with the same 40 bytes.
constexpr std::uint32_t kInfoHeaderSize = 40;
// OS/2 2.x header: its compression 3 means Huffman coding, not bit fields.
constexpr std::uint32_t kOs2HeaderSize = 64;
// Headers of at least 52 bytes hold the R, G, B masks at offset 40; of at
// least 56 bytes also the alpha mask at offset 52.
constexpr std::uint32_t kHeaderWithMasks = 52;
constexpr std::uint32_t kHeaderWithAlphaMask = 56;

// One channel of a bit-field pixel.
struct ChannelMask {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;  // largest value of the channel, 0 when absent

  std::uint32_t Extract(std::uint32_t pixel) const {
    if (max == 0) return 0;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((value * 255 + max / 2) / max);
  }
};

// A mask must be one run of bits that fits in the pixel; nullopt otherwise.
std::optional<ChannelMask> MakeChannelMask(std::uint32_t mask, int bit_count) {
  ChannelMask channel;
  if (mask == 0) return channel;
  if (bit_count < 32 && (mask >> bit_count) != 0) return std::nullopt;
  channel.mask = mask;
  channel.shift = std::countr_zero(mask);
  const std::uint32_t run = mask >> channel.shift;
  if ((run & (run + 1)) != 0) return std::nullopt;
  channel.max = run;
  return channel;
}

struct InfoHeader {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows of the colour image
  bool top_down = false;
  int bit_count = 0;
  std::uint32_t compression = kBiRgb;
  bool bit_fields = false;
  ChannelMask red, green, blue, alpha;
  std::size_t colour_table_offset = 0;  // from the start of the DIB
  std::size_t colour_count = 0;         // entries in the colour table
  std::size_t colour_entry_size = 4;    // B, G, R (, reserved)
};

bool SetColourCount(InfoHeader& header, std::uint32_t colours_used) {
  if (colours_used > 256) return false;
  if (header.bit_count <= 8) {
    const std::uint32_t most = 1u << header.bit_count;
    if (colours_used > most) return false;
    header.colour_count = colours_used == 0 ? most : colours_used;
  } else {
    header.colour_count = colours_used;  // an optional table, not used for pixels
  }
  return true;
}

std::optional<InfoHeader> ReadCoreHeader(std::span<const std::uint8_t> dib) {
  if (dib.size() < kCoreHeaderSize) return std::nullopt;
  InfoHeader header;
  header.size = kCoreHeaderSize;
  header.width = LoadLe16(&dib[4]);
  header.height = LoadLe16(&dib[6]);
  header.bit_count = LoadLe16(&dib[10]);
  header.colour_entry_size = 3;
  header.colour_table_offset = kCoreHeaderSize;
  if (LoadLe16(&dib[8]) != 1) return std::nullopt;
  const int bits = header.bit_count;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  if (!SetColourCount(header, 0)) return std::nullopt;
  return header;
}

bool ReadBitFields(std::span<const std::uint8_t> dib, std::uint32_t compression,
                   InfoHeader& header) {
  const bool with_alpha = compression == kBiAlphaBitfields;
  std::size_t at = kInfoHeaderSize;
  std::size_t mask_count = with_alpha ? 4 : 3;
  if (header.size >= kHeaderWithMasks) {
    // The masks are part of the header.
    if (header.size >= kHeaderWithAlphaMask) mask_count = 4;
    header.colour_table_offset = header.size;
  } else {
    // The masks follow a short header.
    at = header.size;
    header.colour_table_offset = header.size + 4 * mask_count;
  }
  if (at + 4 * mask_count > dib.size()) return false;
  auto red = MakeChannelMask(LoadLe32(&dib[at]), header.bit_count);
  auto green = MakeChannelMask(LoadLe32(&dib[at + 4]), header.bit_count);
  auto blue = MakeChannelMask(LoadLe32(&dib[at + 8]), header.bit_count);
  auto alpha = MakeChannelMask(mask_count == 4 ? LoadLe32(&dib[at + 12]) : 0, header.bit_count);
  if (!red || !green || !blue || !alpha) return false;
  header.bit_fields = true;
  header.red = *red;
  header.green = *green;
  header.blue = *blue;
  header.alpha = *alpha;
  return true;
}

std::optional<InfoHeader> ReadInfoHeader(std::span<const std::uint8_t> dib) {
  if (dib.size() < 4) return std::nullopt;
  const std::uint32_t size = LoadLe32(&dib[0]);
  if (size == kCoreHeaderSize) return ReadCoreHeader(dib);
  if (size < kInfoHeaderSize || size > dib.size()) return std::nullopt;

  InfoHeader header;
  header.size = size;
  header.width = LoadLeI32(&dib[4]);
  const std::int32_t height = LoadLeI32(&dib[8]);
  // INT32_MIN has no positive counterpart: no picture is that tall.
  if (height == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
  header.top_down = height < 0;
  header.height = height < 0 ? -std::int64_t{height} : height;
  header.bit_count = LoadLe16(&dib[14]);
  header.colour_table_offset = size;
  if (LoadLe16(&dib[12]) != 1) return std::nullopt;

  const std::uint32_t compression = LoadLe32(&dib[16]);
  header.compression = compression;
  const int bits = header.bit_count;
  if (compression == kBiRle8 || compression == kBiRle4) {
    // Run-length coded pictures are bottom-up by definition.
    if (bits != (compression == kBiRle8 ? 8 : 4) || header.top_down) return std::nullopt;
  } else if (compression == kBiRgb) {
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
      return std::nullopt;
    }
  } else if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
    if ((bits != 16 && bits != 32) || size == kOs2HeaderSize) return std::nullopt;
    if (!ReadBitFields(dib, compression, header)) return std::nullopt;
  } else {
    return std::nullopt;  // JPEG or PNG inside a BMP, OS/2 Huffman: not read
  }
  if (!SetColourCount(header, LoadLe32(&dib[32]))) return std::nullopt;
  return header;
}

// 16-bit pixels without masks are 5-5-5.
void SetDefaultMasks(InfoHeader& header) {
  if (header.bit_fields || header.bit_count != 16) return;
  header.red = *MakeChannelMask(0x7C00, 16);
  header.green = *MakeChannelMask(0x03E0, 16);
  header.blue = *MakeChannelMask(0x001F, 16);
}

std::vector<std::uint32_t> ReadColourTable(std::span<const std::uint8_t> dib,
                                           const InfoHeader& header) {
  std::vector<std::uint32_t> colours(header.colour_count);
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const std::uint8_t* entry = &dib[header.colour_table_offset + i * header.colour_entry_size];
    colours[i] = PackRgb(entry[2], entry[1], entry[0]);
  }
  return colours;
}

// Decodes one row of pixels into `out`. Pixels with an alpha source get it in
// their top byte; `any_alpha` records whether any of it was non-zero.
bool ReadPixelRow(const std::uint8_t* in, const InfoHeader& header,
                  const std::vector<std::uint32_t>& colours, bool alpha_in_fourth_byte,
                  std::uint32_t* out, bool& any_alpha) {
  const int bits = header.bit_count;
  const auto width = static_cast<int>(header.width);
  if (bits <= 8) {
    const int per_byte = 8 / bits;
    const std::uint32_t low_bits = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
      const int shift = 8 - bits * (x % per_byte + 1);
      const std::uint32_t index = (in[x / per_byte] >> shift) & low_bits;
      if (index >= colours.size()) return false;  // points past the colour table
      out[x] = colours[index];
    }
  } else if (bits == 24) {
    for (int x = 0; x < width; ++x) out[x] = PackRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
  } else if (bits == 32 && !header.bit_fields) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = in + 4 * x;
      const std::uint32_t alpha = alpha_in_fourth_byte ? p[3] : 0;
      any_alpha |= alpha != 0;
      out[x] = (alpha << 24) | PackRgb(p[2], p[1], p[0]);
    }
  } else {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = bits == 16 ? LoadLe16(in + 2 * x) : LoadLe32(in + 4 * x);
      const std::uint32_t alpha = header.alpha.Extract(pixel);
      any_alpha |= alpha != 0;
      out[x] = (alpha << 24) | PackRgb(header.red.Extract(pixel), header.green.Extract(pixel),
                                       header.blue.Extract(pixel));
    }
  }
  return true;
}

// Decodes run-length coded indices (bottom row first) onto `bitmap`, which
// starts white: pixels that a "delta" skips stay white, as if transparent.
// Runs are pairs (count, index or two 4-bit indices); a zero count escapes to
// end of line (0), end of picture (1), delta (2, dx, dy) or a literal run of
// n indices padded to an even number of bytes. Data that ends before the end
// of picture, or indices past the colour table, are refused.
bool ReadRunLengthPixels(std::span<const std::uint8_t> data, bool four_bit,
                         const std::vector<std::uint32_t>& colours, Bitmap& bitmap) {
  int x = 0;
  int row = 0;  // from the bottom
  // Some writers code each row's padding as pixels too: those past the
  // picture's edge are dropped. x and row stop at the edge (Width(),
  // Height()), so that no run of input can make them overflow.
  const auto put = [&](std::uint32_t index) {
    if (index >= colours.size()) return false;
    if (x < bitmap.Width() && row < bitmap.Height()) {
      bitmap.Row(bitmap.Height() - 1 - row)[x++] = colours[index];
    }
    return true;
  };
  // The k-th index of a run or literal whose bytes start at `bytes`.
  const auto index_at = [four_bit](const std::uint8_t* bytes, int k) -> std::uint32_t {
    if (!four_bit) return bytes[k];
    const std::uint8_t byte = bytes[k / 2];
    return k % 2 == 0 ? byte >> 4 : byte & 0x0F;
  };
  std::size_t i = 0;
  for (;;) {
    if (data.size() - i < 2) return false;
    const int count = data[i];
    const int value = data[i + 1];
    i += 2;
    if (count > 0) {
      const std::uint8_t run_value = static_cast<std::uint8_t>(value);
      for (int k = 0; k < count; ++k) {
        // Four-bit runs alternate the two indices of their value byte.
        if (!put(index_at(&run_value, four_bit ? k % 2 : 0))) return false;
      }
    } else if (value == 0) {  // end of line
      x = 0;
      row = std::min(row + 1, bitmap.Height());
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // delta
      if (data.size() - i < 2) return false;
      x = std::min(x + data[i], bitmap.Width());
      row = std::min(row + data[i + 1], bitmap.Height());
      i += 2;
    } else {  // literal run of `value` indices
      const std::size_t bytes = four_bit ? (value + 1) / 2 : value;
      const std::size_t padded = (bytes + 1) / 2 * 2;
      if (data.size() - i < padded) return false;
      for (int k = 0; k < value; ++k) {
        if (!put(index_at(&data[i], k))) return false;
      }
      i += padded;
    }
  }
}

// Where the icon's 1-bit AND mask has a 1 the pixel is transparent: white.
void ApplyAndMask(const std::uint8_t* mask, std::size_t stride, bool top_down, Bitmap& bitmap) {
  for (int row = 0; row < bitmap.Height(); ++row) {
    const std::uint8_t* in = mask + row * stride;
    std::uint32_t* out = bitmap.Row(top_down ? row : bitmap.Height() - 1 - row);
    for (int x = 0; x < bitmap.Width(); ++x) {
      if ((in[x / 8] >> (7 - x % 8)) & 1) out[x] = 0xFFFFFF;
    }
  }
}

}  // namespace

std::optional<Bitmap> DecodeDib(std::span<const std::uint8_t> dib, DibKind kind,
                                std::size_t pixel_offset) {
  auto header = ReadInfoHeader(dib);
  if (!header) return std::nullopt;
  const bool icon = kind == DibKind::kIconEntry;
  if (icon) header->height /= 2;  // the height counts the colour image and the mask
  if (!ImageSizeAllowed(header->width, header->height)) return std::nullopt;
  SetDefaultMasks(*header);

  const std::size_t table_end =
      header->colour_table_offset + header->colour_count * header->colour_entry_size;
  if (table_end > dib.size()) return std::nullopt;
  if (icon) {
    pixel_offset = table_end;
  } else if (pixel_offset < header->colour_table_offset ||
             (header->bit_count <= 8 && pixel_offset < table_end)) {
    return std::nullopt;  // the pixels would overlap the header or colour table
  }
  if (pixel_offset > dib.size()) return std::nullopt;
  const std::vector<std::uint32_t> colours = ReadColourTable(dib, *header);
  if (header->compression == kBiRle8 || header->compression == kBiRle4) {
    if (icon) return std::nullopt;
    auto bitmap =
        Bitmap::Create(static_cast<int>(header->width), static_cast<int>(header->height), 0xFFFFFF);
    if (!bitmap || !ReadRunLengthPixels(dib.subspan(pixel_offset), header->compression == kBiRle4,
                                        colours, *bitmap)) {
      return std::nullopt;
    }
    return bitmap;
  }

  const auto width = static_cast<std::size_t>(header->width);
  const auto height = static_cast<std::size_t>(header->height);
  const std::size_t stride = (width * header->bit_count + 31) / 32 * 4;
  const std::size_t pixels_end = pixel_offset + stride * height;
  if (pixels_end > dib.size()) return std::nullopt;
  const std::size_t mask_stride = (width + 31) / 32 * 4;
  const bool has_and_mask = icon && pixels_end + mask_stride * height <= dib.size();
  if (icon && header->bit_count < 32 && !has_and_mask) return std::nullopt;

  auto bitmap = Bitmap::Create(static_cast<int>(width), static_cast<int>(height));
  if (!bitmap) return std::nullopt;
  bool any_alpha = false;
  for (std::size_t row = 0; row < height; ++row) {
    const std::size_t y = header->top_down ? row : height - 1 - row;
    if (!ReadPixelRow(&dib[pixel_offset + row * stride], *header, colours, icon,
                      bitmap->Row(static_cast<int>(y)), any_alpha)) {
      return std::nullopt;
    }
  }
  // An alpha channel that is zero everywhere was never meant as one (the
  // symbol image form leaves the fourth byte 0): such pictures are opaque.
  if (any_alpha) {
    FlattenAlphaOnWhite(*bitmap);
  } else {
    ClearTopBytes(*bitmap);
    if (has_and_mask) ApplyAndMask(&dib[pixels_end], mask_stride, header->top_down, *bitmap);
  }
  return bitmap;
}

}  // namespace qrsmith::platform::codecs
