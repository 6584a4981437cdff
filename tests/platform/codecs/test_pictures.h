#pragma once
// Pictures, files and an ImageMagick bridge for the codec tests.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/bitmap.h"
#include "platform/types.h"
#include "tests/support/file_contents.h"
#include "tests/support/scratch_folder.h"

namespace qrsmith::platform::codecs::testing {

// Smooth red/green/blue ramps: more than 256 colours, friendly to JPEG.
Bitmap GradientPicture(int width, int height);
// Two colours in an irregular module pattern, like a symbol.
Bitmap TwoColourPicture(int width, int height, std::uint32_t dark = 0x000000,
                        std::uint32_t light = 0xFFFFFF);
// `colours` distinct colours (at most 256) in diagonal bands.
Bitmap BandedPicture(int width, int height, int colours);
// A grey ramp (red = green = blue).
Bitmap GreyPicture(int width, int height);

// The largest difference of any channel of any pixel; -1 when the sizes differ.
int MaxChannelDifference(const Bitmap& a, const Bitmap& b);
// The average difference over all channels of all pixels; -1 when the sizes differ.
double MeanChannelDifference(const Bitmap& a, const Bitmap& b);

// Alpha 0 in the picture's middle third of columns, 255 elsewhere: the
// expected decoding is white there and the picture elsewhere.
std::uint8_t BinaryAlpha(int x, int y, int width, int height);
Bitmap FlattenedBinaryAlpha(const Bitmap& picture);

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);

// A picture as a binary PPM (P6), or as a PAM with an alpha plane given by
// `alpha(x, y)`: formats ImageMagick reads without any codec of ours.
void WritePpm(const std::filesystem::path& path, const Bitmap& bitmap);
void WritePamWithAlpha(const std::filesystem::path& path, const Bitmap& bitmap,
                       const std::function<std::uint8_t(int, int)>& alpha);
// Reads a binary PPM as ImageMagick writes it (8 bits per channel).
std::optional<Bitmap> ReadPpm(const std::filesystem::path& path);

using qrsmith::testing::FileBytes;
using qrsmith::testing::ScratchFolder;

bool HaveImageMagick();
// Runs `convert <arguments>` with its messages silenced; true on success.
bool RunConvert(const std::string& arguments);
// Runs `identify -format <format> <file>` and returns what it prints.
std::string Identify(const std::string& format, const std::filesystem::path& file);

}  // namespace qrsmith::platform::codecs::testing
