#include "export/icc_profile.h"

#include <array>
#include <cmath>
#include <string_view>

extern "C" {
extern const unsigned char qrsmith_fogra39_profile[];
extern const unsigned long qrsmith_fogra39_profile_size;
}

namespace qrsmith {

namespace {

// ICC numbers are big-endian.
void Put32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}
void Put16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}
void PutSignature(Bytes& out, std::string_view four) {
  for (char ch : four) out.push_back(static_cast<std::uint8_t>(ch));
}
// s15Fixed16Number.
void PutFixed(Bytes& out, double v) {
  Put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 65536.0))));
}
void PutXyz(Bytes& out, double x, double y, double z) {
  PutSignature(out, "XYZ ");
  Put32(out, 0);
  PutFixed(out, x);
  PutFixed(out, y);
  PutFixed(out, z);
}
void PadToFour(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

// The profile connection space's white, D50, as ICC.1 gives it.
constexpr double kD50[] = {0.9642, 1.0, 0.8249};

// The sRGB primaries' colorants, Bradford-adapted from D65 to D50 (the
// values of the sRGB profiles the ICC publishes); they add up to D50.
constexpr double kColorants[3][3] = {
    {0.4361, 0.2225, 0.0139},  // red
    {0.3851, 0.7169, 0.0971},  // green
    {0.1431, 0.0606, 0.7141},  // blue
};

}  // namespace

Bytes SrgbProfile() {
  // The tag data, each element four-byte aligned, offsets from the file start.
  struct Tag {
    std::string_view signature;
    std::size_t element;  // index into `elements`
  };
  std::array<Bytes, 7> elements;
  {
    Bytes& d = elements[0];  // textDescriptionType
    const std::string_view name = "sRGB IEC61966-2.1";
    PutSignature(d, "desc");
    Put32(d, 0);
    Put32(d, static_cast<std::uint32_t>(name.size() + 1));
    PutSignature(d, name);
    d.push_back(0);
    Put32(d, 0);  // no Unicode description
    Put32(d, 0);
    Put16(d, 0);  // no ScriptCode description
    d.push_back(0);
    d.insert(d.end(), 67, 0);
  }
  {
    Bytes& d = elements[1];  // textType
    PutSignature(d, "text");
    Put32(d, 0);
    PutSignature(d, "No copyright, use freely");
    d.push_back(0);
  }
  PutXyz(elements[2], kD50[0], kD50[1], kD50[2]);
  for (std::size_t i = 0; i < 3; ++i) {
    PutXyz(elements[3 + i], kColorants[i][0], kColorants[i][1], kColorants[i][2]);
  }
  {
    Bytes& d = elements[6];  // curveType: the sRGB transfer function
    PutSignature(d, "curv");
    Put32(d, 0);
    Put32(d, 256);
    for (int i = 0; i < 256; ++i) {
      const double v = i / 255.0;
      const double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
      Put16(d, static_cast<std::uint16_t>(std::lround(linear * 65535.0)));
    }
  }
  const Tag tags[] = {{"desc", 0}, {"cprt", 1}, {"wtpt", 2}, {"rXYZ", 3}, {"gXYZ", 4},
                      {"bXYZ", 5}, {"rTRC", 6}, {"gTRC", 6}, {"bTRC", 6}};
  constexpr std::size_t kTags = std::size(tags);

  std::array<std::uint32_t, 7> offsets{}, sizes{};
  std::size_t at = 128 + 4 + 12 * kTags;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    sizes[i] = static_cast<std::uint32_t>(elements[i].size());
    PadToFour(elements[i]);
    offsets[i] = static_cast<std::uint32_t>(at);
    at += elements[i].size();
  }

  Bytes out;
  out.reserve(at);
  Put32(out, static_cast<std::uint32_t>(at));  // profile size
  Put32(out, 0);                               // preferred CMM: none
  Put32(out, 0x02100000);                      // version 2.1
  PutSignature(out, "mntr");
  PutSignature(out, "RGB ");
  PutSignature(out, "XYZ ");
  for (std::uint16_t v : {1999, 1, 1, 0, 0, 0}) Put16(out, v);  // a fixed date: reproducible
  PutSignature(out, "acsp");
  out.resize(64, 0);  // platform, flags, device maker, model and attributes: none
  Put32(out, 0);      // perceptual rendering
  for (double v : kD50) PutFixed(out, v);
  out.resize(128, 0);  // creator, profile ID and reserved: zero
  Put32(out, kTags);
  for (const Tag& tag : tags) {
    PutSignature(out, tag.signature);
    Put32(out, offsets[tag.element]);
    Put32(out, sizes[tag.element]);
  }
  for (const Bytes& e : elements) out.insert(out.end(), e.begin(), e.end());
  return out;
}

std::span<const std::uint8_t> Fogra39Profile() {
  return {qrsmith_fogra39_profile, static_cast<std::size_t>(qrsmith_fogra39_profile_size)};
}

}  // namespace qrsmith
