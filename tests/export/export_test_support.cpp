#include "tests/export/export_test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/codecs/image.h"

extern char** environ;

namespace qrsmith::testing {

namespace fs = std::filesystem;

QrGenerator MakeSymbol(const std::string& content, std::int16_t version, Colour foreground,
                       Colour background, std::int32_t margin) {
  QrGenerator generator;
  generator.Generate(content, false, version, 2, -1, foreground, background, std::nullopt, margin,
                     margin, margin, margin);
  return generator;
}

ModuleGrid GridFromRows(const std::vector<std::string>& rows, Colour foreground,
                        Colour background) {
  ModuleGrid grid;
  grid.height = static_cast<std::int32_t>(rows.size());
  grid.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
  grid.foreground = foreground;
  grid.background = background;
  for (const auto& row : rows) {
    for (const char ch : row) grid.dark.push_back(ch == '#' ? 1 : 0);
  }
  return grid;
}

std::vector<std::string> GhostscriptPage(const fs::path& in, const fs::path& out,
                                         std::int32_t width, std::int32_t height,
                                         int pixelsPerPoint, const std::string& before) {
  std::vector<std::string> argv = {"gs",
                                   "-q",
                                   "-dSAFER",
                                   "-dBATCH",
                                   "-dNOPAUSE",
                                   "-sDEVICE=png16m",
                                   "-r" + std::to_string(72 * pixelsPerPoint),
                                   "-dFIXEDMEDIA",
                                   "-dDEVICEWIDTHPOINTS=" + std::to_string(width),
                                   "-dDEVICEHEIGHTPOINTS=" + std::to_string(height),
                                   "-sOutputFile=" + out.string()};
  if (!before.empty()) argv.insert(argv.end(), {"-c", before, "-f"});
  argv.push_back(in.string());
  return argv;
}

bool HaveProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (!folder.empty() && ::access((fs::path(folder) / name).c_str(), X_OK) == 0) return true;
  }
  return false;
}

bool RunProgram(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::optional<platform::Bitmap> ReadPicture(const fs::path& path) {
  const std::string bytes = FileText(path);
  return platform::codecs::DecodeImage(std::span<const std::uint8_t>(
      reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::vector<std::string> MismatchedModules(const platform::Bitmap& picture, const ModuleGrid& grid,
                                           const Placement& placement) {
  constexpr int kTolerance = 40;  // per channel: anti-aliasing never reaches a module's centre
  std::vector<std::string> mismatched;
  for (std::int32_t r = 1; r <= grid.height; ++r) {
    const std::int32_t shownRow = placement.bottomUp ? grid.height + 1 - r : r;
    const int y = static_cast<int>(placement.originY + (shownRow - 0.5) * placement.modulePixels);
    for (std::int32_t c = 1; c <= grid.width; ++c) {
      const int x = static_cast<int>(placement.originX + (c - 0.5) * placement.modulePixels);
      bool same = x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height();
      if (same) {
        const std::uint32_t expected = platform::PixelFromColour(grid.ColourAt(r, c));
        const std::uint32_t seen = picture.Pixel(x, y);
        for (const int shift : {0, 8, 16}) {
          const int e = static_cast<int>((expected >> shift) & 0xFF);
          const int s = static_cast<int>((seen >> shift) & 0xFF);
          same = same && std::abs(e - s) <= kTolerance;
        }
      }
      if (!same) mismatched.push_back(std::to_string(r) + "," + std::to_string(c));
    }
  }
  return mismatched;
}

namespace {

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (const int shift : {0, 8, 16}) {
    const int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(x - y) > tolerance) return false;
  }
  return true;
}

}  // namespace

std::size_t DifferingPixels(const platform::Bitmap& a, const platform::Bitmap& b) {
  const int width = std::max(a.Width(), b.Width()), height = std::max(a.Height(), b.Height());
  std::size_t differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool inA = x < a.Width() && y < a.Height(), inB = x < b.Width() && y < b.Height();
      if (!inA || !inB || !Near(a.Pixel(x, y), b.Pixel(x, y), 8)) ++differing;
    }
  }
  return differing;
}

std::size_t LightPixelsInsideDarkModules(const platform::Bitmap& picture, const ModuleGrid& grid,
                                         double modulePixels) {
  const std::uint32_t dark = platform::PixelFromColour(grid.foreground);
  std::size_t light = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      // The module under the pixel's top-left and bottom-right corners.
      const auto r = static_cast<std::int32_t>(y / modulePixels) + 1;
      const auto c = static_cast<std::int32_t>(x / modulePixels) + 1;
      if (r > grid.height || c > grid.width || !grid.IsDark(r, c)) continue;
      if (static_cast<std::int32_t>((y + 1) / modulePixels - 1e-9) + 1 != r ||
          static_cast<std::int32_t>((x + 1) / modulePixels - 1e-9) + 1 != c) {
        continue;  // the pixel straddles a module edge
      }
      if (!Near(picture.Pixel(x, y), dark, 40)) ++light;
    }
  }
  return light;
}

}  // namespace qrsmith::testing
