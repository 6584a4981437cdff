// The size and offset parameters of the raster exports: ExportImage with any
// size, kind, background picture size, symbol offset and noise flag, over a
// plain symbol, one with a centre icon and one with unequal margins. A call
// with legal arguments must give a picture of exactly the asked size, the
// same pixels in every lossless format (a size below 1 gives the symbol at
// one pixel per module); any other call must give nothing.
//
// Input: a selector byte (bits 0..1 generator, bit 2 size left out, bit 3
// with picture, bit 4 noise), kind, size, picture width and height, dx, dy.

#include <array>
#include <memory>

#include "fuzz/fuzz_input.h"
#include "generator/qr_generator.h"
#include "platform/codecs/bmp.h"
#include "platform/codecs/image.h"
#include "platform/codecs/png.h"

namespace {

using qrsmith::Bytes;
using qrsmith::QrGenerator;
using qrsmith::fuzz::Expect;
namespace codecs = qrsmith::platform::codecs;

// Sides above these are legal but slow to draw thousands of times a second;
// their bounds are checked without the fuzzer.
constexpr std::int32_t kLargestFuzzedSide = 1024;
constexpr std::int64_t kLargestFuzzedPicture = std::int64_t{1} << 20;

Bytes Pattern(int width, int height, int colours) {
  auto bitmap = qrsmith::platform::Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap->SetPixel(x, y, static_cast<std::uint32_t>((x * 7 + y * 13) % colours) * 0x1F3D5B);
    }
  }
  return codecs::EncodePng(*bitmap);
}

struct Subjects {
  std::array<std::unique_ptr<QrGenerator>, 3> generators;
  Bytes picture = Pattern(48, 36, 5);
};

const Subjects& TheSubjects() {
  static const Subjects* subjects = [] {
    auto* s = new Subjects;
    for (auto& g : s->generators) g = std::make_unique<QrGenerator>();
    s->generators[0]->Generate("https://qrsmith.example/fuzz", false, 0, 2, -1, qrsmith::kBlack);
    s->generators[1]->Generate("ICON", false, 2, 4, 3, 0x402010, 0xE0F0FF, Pattern(9, 7, 3));
    s->generators[2]->Generate("margins", false, 1, 1, 0, qrsmith::kBlack, qrsmith::kWhite,
                               std::nullopt, 0, 5, 2, 9);
    return s;
  }();
  return *subjects;
}

bool SideInRange(std::int64_t side) { return side >= 1 && side <= 16384; }

std::optional<qrsmith::platform::Bitmap> Decode(const Bytes& bytes, std::int16_t kind) {
  return kind == 0 ? codecs::DecodeBmp(bytes) : codecs::DecodeImage(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Subjects& subjects = TheSubjects();
  qrsmith::fuzz::FuzzInput in(data, size);
  const std::uint8_t selector = in.U8();
  const QrGenerator& generator = *subjects.generators[(selector & 3) % 3];
  const bool leftOut = (selector & 4) != 0;
  const bool withPicture = (selector & 8) != 0;
  const bool noise = (selector & 16) != 0;
  const auto kind = static_cast<std::int16_t>(in.U16());
  const std::int32_t side = in.I32();
  const std::int32_t pictureWidth = in.I32();
  const std::int32_t pictureHeight = in.I32();
  const std::int32_t dx = in.I32();
  const std::int32_t dy = in.I32();
  Expect(generator.HasSymbol(), "the fixture symbols were not made");

  const std::optional<std::int32_t> asked = leftOut ? std::nullopt : std::optional(side);
  const Bytes& picture = withPicture ? subjects.picture : Bytes{};
  // A size below 1 asks for no enlargement, as a size left out does.
  const bool enlarged = asked && side > 0;
  const bool legal =
      kind >= 0 && kind <= 4 && (!enlarged || SideInRange(side)) &&
      (!withPicture || !enlarged || (SideInRange(pictureWidth) && SideInRange(pictureHeight)));
  if (legal && enlarged && side > kLargestFuzzedSide) return 0;
  if (legal && enlarged && withPicture &&
      std::int64_t{pictureWidth} * pictureHeight > kLargestFuzzedPicture) {
    return 0;
  }

  const Bytes bytes =
      generator.ExportImage(asked, kind, picture, pictureWidth, pictureHeight, dx, dy, noise);
  if (!legal) {
    Expect(bytes.empty(), "an export with illegal arguments gave a picture");
    return 0;
  }
  Expect(!bytes.empty(), "an export with legal arguments failed");
  const auto image = Decode(bytes, kind);
  Expect(image.has_value(), "the export does not decode");
  std::int32_t width = generator.SymbolWidth(), height = generator.SymbolHeight();
  if (enlarged) {
    width = withPicture ? pictureWidth : side;
    height = withPicture ? pictureHeight : side;
  }
  Expect(image->Width() == width && image->Height() == height, "export of another size");

  // PNG and TIFF are lossless: the same pixels as the symbol image form.
  if (kind == 3 || kind == 4) {
    const Bytes form =
        generator.ExportImage(asked, 0, picture, pictureWidth, pictureHeight, dx, dy, noise);
    const auto reference = codecs::DecodeBmp(form);
    Expect(reference && *reference == *image, "a lossless export differs from the image form");
  }
  return 0;
}
