#include "tests/platform/codecs/test_pictures.h"

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace qrsmith::platform::codecs::testing {

namespace {

std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

}  // namespace

Bitmap GradientPicture(int width, int height) {
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bitmap.SetPixel(x, y,
                      Rgb(x * 255 / (width - 1), y * 255 / (height - 1),
                          255 - (x + y) * 255 / (width + height - 2)));
    }
  }
  return bitmap;
}

Bitmap TwoColourPicture(int width, int height, std::uint32_t dark, std::uint32_t light) {
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool on = ((x / 3) * 7 + (y / 3) * 3 + (x / 3) * (y / 3)) % 5 < 2;
      bitmap.SetPixel(x, y, on ? dark : light);
    }
  }
  return bitmap;
}

Bitmap BandedPicture(int width, int height, int colours) {
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int band = (x + 2 * y) % colours;
      bitmap.SetPixel(x, y, Rgb(band * 37 % 256, 255 - band, band * 91 % 256));
    }
  }
  return bitmap;
}

Bitmap GreyPicture(int width, int height) {
  Bitmap bitmap = *Bitmap::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int v = (x * 5 + y * 3) % 256;
      bitmap.SetPixel(x, y, Rgb(v, v, v));
    }
  }
  return bitmap;
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int most = 0;
  for (std::size_t i = 0; i < a.Pixels().size(); ++i) {
    for (int shift : {0, 8, 16, 24}) {
      const int pa = static_cast<int>((a.Pixels()[i] >> shift) & 0xFF);
      const int pb = static_cast<int>((b.Pixels()[i] >> shift) & 0xFF);
      most = std::max(most, std::abs(pa - pb));
    }
  }
  return most;
}

double MeanChannelDifference(const Bitmap& a, const Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  double total = 0;
  for (std::size_t i = 0; i < a.Pixels().size(); ++i) {
    for (int shift : {0, 8, 16}) {
      total += std::abs(static_cast<int>((a.Pixels()[i] >> shift) & 0xFF) -
                        static_cast<int>((b.Pixels()[i] >> shift) & 0xFF));
    }
  }
  return total / (3.0 * static_cast<double>(a.Pixels().size()));
}

std::uint8_t BinaryAlpha(int x, int, int width, int) {
  return (x >= width / 3 && x < 2 * width / 3) ? 0 : 255;
}

Bitmap FlattenedBinaryAlpha(const Bitmap& picture) {
  Bitmap expected = picture;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (BinaryAlpha(x, y, picture.Width(), picture.Height()) == 0) {
        expected.SetPixel(x, y, 0xFFFFFF);
      }
    }
  }
  return expected;
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WritePpm(const std::filesystem::path& path, const Bitmap& bitmap) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << bitmap.Width() << ' ' << bitmap.Height() << "\n255\n";
  for (std::uint32_t pixel : bitmap.Pixels()) {
    out.put(static_cast<char>(pixel >> 16)).put(static_cast<char>(pixel >> 8));
    out.put(static_cast<char>(pixel));
  }
}

void WritePamWithAlpha(const std::filesystem::path& path, const Bitmap& bitmap,
                       const std::function<std::uint8_t(int, int)>& alpha) {
  std::ofstream out(path, std::ios::binary);
  out << "P7\nWIDTH " << bitmap.Width() << "\nHEIGHT " << bitmap.Height()
      << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.Pixel(x, y);
      out.put(static_cast<char>(pixel >> 16)).put(static_cast<char>(pixel >> 8));
      out.put(static_cast<char>(pixel)).put(static_cast<char>(alpha(x, y)));
    }
  }
}

std::optional<Bitmap> ReadPpm(const std::filesystem::path& path) {
  const Bytes bytes = FileBytes(path);
  std::string text(bytes.begin(), bytes.end());
  std::istringstream in(text);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  if (!(in >> magic >> width >> height >> maxval) || magic != "P6" || maxval != 255) {
    return std::nullopt;
  }
  const auto start = static_cast<std::size_t>(in.tellg()) + 1;  // one whitespace byte
  auto bitmap = Bitmap::Create(width, height);
  if (!bitmap || bytes.size() < start + std::size_t(width) * height * 3) return std::nullopt;
  const std::uint8_t* p = &bytes[start];
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, p += 3) bitmap->SetPixel(x, y, Rgb(p[0], p[1], p[2]));
  }
  return bitmap;
}

bool HaveImageMagick() {
  static const bool present = std::system("convert -version >/dev/null 2>&1") == 0;
  return present;
}

bool RunConvert(const std::string& arguments) {
  return std::system(("convert " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Identify(const std::string& format, const std::filesystem::path& file) {
  const std::string command = "identify -format '" + format + "' '" + file.string() + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return {};
  std::string output;
  std::array<char, 256> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
  return output;
}

}  // namespace qrsmith::platform::codecs::testing
