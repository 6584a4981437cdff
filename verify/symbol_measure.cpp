#include "verify/symbol_measure.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace qrsmith::verify {

namespace {

// sRGB's transfer curve undone, by 8-bit level.
const std::array<float, 256>& LinearLevels() {
  static const std::array<float, 256> levels = [] {
    std::array<float, 256> out{};
    for (int i = 0; i < 256; ++i) {
      const double v = i / 255.0;
      out[static_cast<std::size_t>(i)] =
          static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return out;
  }();
  return levels;
}

std::string Percent(double fraction) {
  char text[16];
  std::snprintf(text, sizeof text, "%.0f %%", fraction * 100);
  return text;
}

std::string Decimal(double value) {
  char text[24];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// The mean luminance of the middle of each module: the pixels within a
// quarter module of its centre (the centre pixel alone for small modules).
std::vector<float> SampleModules(const platform::Bitmap& picture, const GridGeometry& g) {
  std::vector<float> out(static_cast<std::size_t>(g.columns) * static_cast<std::size_t>(g.rows));
  const auto& linear = LinearLevels();
  const double qx = std::max(0.0, g.moduleWidth / 4 - 0.5);
  const double qy = std::max(0.0, g.moduleHeight / 4 - 0.5);
  const auto clamp = [](double v, int size) {
    return std::clamp(static_cast<int>(std::floor(v)), 0, size - 1);
  };
  for (std::int32_t r = 0; r < g.rows; ++r) {
    const double cy = g.top + (r + 0.5) * g.moduleHeight;
    const int y0 = clamp(cy - qy, picture.Height()), y1 = clamp(cy + qy, picture.Height());
    for (std::int32_t c = 0; c < g.columns; ++c) {
      const double cx = g.left + (c + 0.5) * g.moduleWidth;
      const int x0 = clamp(cx - qx, picture.Width()), x1 = clamp(cx + qx, picture.Width());
      double sum = 0;
      for (int y = y0; y <= y1; ++y) {
        const std::uint32_t* row = picture.Row(y);
        for (int x = x0; x <= x1; ++x) {
          const std::uint32_t p = row[x];
          sum += 0.2126 * linear[(p >> 16) & 0xFF] + 0.7152 * linear[(p >> 8) & 0xFF] +
                 0.0722 * linear[p & 0xFF];
        }
      }
      out[static_cast<std::size_t>(r) * g.columns + c] =
          static_cast<float>(sum / ((y1 - y0 + 1) * (x1 - x0 + 1)));
    }
  }
  return out;
}

// The largest distance, in modules, between where the picture's pixels put
// a module's edge and where an even grid puts it: a nearest-neighbour
// enlargement starts module i at pixel ceil(i x pixels a module).
double EdgeDeviation(double origin, double moduleSize, std::int32_t count) {
  double worst = 0;
  for (std::int32_t i = 1; i < count; ++i) {
    const double ideal = origin + i * moduleSize;
    worst = std::max(worst, (std::ceil(ideal - 1e-9) - ideal) / moduleSize);
  }
  return worst;
}

Letter ModuleLetter(bool wrong, double modulation) {
  return wrong ? Letter::kF : LetterAtLeast(modulation, 0.50, 0.40, 0.30, 0.20);
}

Letter UecLetter(double uec) { return LetterAtLeast(uec, 0.62, 0.50, 0.37, 0.25); }

double Uec(std::int32_t damaged, const CodewordBlock& b) {
  const std::int32_t correctable = b.parity - b.misdecodeProtection;
  return correctable <= 0 ? 0.0 : std::max(0.0, 1.0 - 2.0 * damaged / correctable);
}

}  // namespace

double Luminance(std::uint32_t p) {
  const auto& linear = LinearLevels();
  return 0.2126 * linear[(p >> 16) & 0xFF] + 0.7152 * linear[(p >> 8) & 0xFF] +
         0.0722 * linear[p & 0xFF];
}

std::vector<Parameter> MeasureSymbol(const platform::Bitmap& picture, const GridGeometry& g,
                                     const std::vector<std::uint8_t>& intended,
                                     const CodewordMap& map, const std::string& damageCause) {
  const std::vector<float> reflectance = SampleModules(picture, g);
  const auto [low, high] = std::ranges::minmax(reflectance);
  const double contrast = high - low, threshold = (high + low) / 2;
  std::vector<Parameter> out;

  Parameter sc{"contrast", LetterAtLeast(contrast, 0.70, 0.55, 0.40, 0.20), contrast, {}};
  if (sc.letter != Letter::kA) {
    sc.detail = Percent(contrast) + ": the foreground is " +
                (contrast < 0.40 ? "nearly as light as the background"
                                 : "not dark enough against the background");
  }
  out.push_back(sc);

  const auto at = [&](std::int32_t r, std::int32_t c) {
    return static_cast<std::size_t>(r) * g.columns + c;
  };
  const auto wrong = [&](std::size_t i) {
    return (reflectance[i] < threshold) != (intended[i] != 0);
  };
  const auto modulation = [&](std::size_t i) {
    return contrast <= 0 ? 0.0 : 2 * std::fabs(reflectance[i] - threshold) / contrast;
  };

  // Codewords: the worst module of each, and whether any module came back wrong.
  const std::int32_t s = map.side;
  std::vector<std::vector<Letter>> codewordLetter(map.blocks.size());
  for (std::size_t b = 0; b < map.blocks.size(); ++b) {
    codewordLetter[b].assign(static_cast<std::size_t>(map.blocks[b].codewords), Letter::kA);
  }
  double lowestModulation = 1;
  std::int32_t wrongDark = 0, dark = 0, wrongLight = 0, light = 0;
  for (std::int32_t r = 0; r < s; ++r) {
    for (std::int32_t c = 0; c < s; ++c) {
      const std::size_t i = at(r + g.matrixTop, c + g.matrixLeft);
      const bool bad = wrong(i);
      (intended[i] != 0 ? dark : light) += 1;
      (intended[i] != 0 ? wrongDark : wrongLight) += bad ? 1 : 0;
      if (!bad) lowestModulation = std::min(lowestModulation, modulation(i));
      const auto m = static_cast<std::size_t>(r) * s + c;
      if (map.block[m] < 0) continue;
      Letter& letter = codewordLetter[static_cast<std::size_t>(map.block[m])]
                                     [static_cast<std::size_t>(map.codeword[m])];
      letter = std::min(letter, ModuleLetter(bad, modulation(i)));
    }
  }

  // Unused error correction, the lowest block; modulation after ISO/IEC
  // 15415: at each level, codewords graded below it count as damaged, and a
  // block earns the best level its remaining correction still covers.
  double uec = 1;
  std::size_t worstBlock = 0;
  std::int32_t worstDamaged = 0;
  Letter modulationLetter = Letter::kA;
  for (std::size_t b = 0; b < map.blocks.size(); ++b) {
    const auto below = [&](Letter level) {
      return static_cast<std::int32_t>(
          std::ranges::count_if(codewordLetter[b], [level](Letter l) { return l < level; }));
    };
    const std::int32_t damaged = below(Letter::kD);
    if (const double u = Uec(damaged, map.blocks[b]); u < uec) {
      uec = u;
      worstBlock = b;
      worstDamaged = damaged;
    }
    Letter best = Letter::kF;
    for (Letter level : {Letter::kA, Letter::kB, Letter::kC, Letter::kD}) {
      best = std::max(best, std::min(level, UecLetter(Uec(below(level), map.blocks[b]))));
    }
    modulationLetter = std::min(modulationLetter, best);
  }
  Parameter mod{"modulation", modulationLetter, lowestModulation, {}};
  if (mod.letter != Letter::kA) {
    mod.detail = "modules read close to the threshold between dark and light (" +
                 Percent(lowestModulation) + ")";
  }
  out.push_back(mod);

  // Fixed patterns: the finders with their separators, the timing patterns,
  // and the quiet zone's width and modules.
  std::array<std::int32_t, 3> finderWrong{};
  std::int32_t timingWrong = 0, quietWrong = 0;
  for (std::int32_t r = 0; r < s; ++r) {
    for (std::int32_t c = 0; c < s; ++c) {
      const bool bad = wrong(at(r + g.matrixTop, c + g.matrixLeft));
      if (!bad) continue;
      if (r < 8 && c < 8) ++finderWrong[0];
      if (r < 8 && c >= s - 8) ++finderWrong[1];
      if (r >= s - 8 && c < 8) ++finderWrong[2];
      if ((r == 6 && c >= 8 && c < s - 8) || (c == 6 && r >= 8 && r < s - 8)) ++timingWrong;
    }
  }
  for (std::int32_t r = std::max(0, g.matrixTop - 4); r < std::min(g.rows, g.matrixTop + s + 4);
       ++r) {
    for (std::int32_t c = std::max(0, g.matrixLeft - 4);
         c < std::min(g.columns, g.matrixLeft + s + 4); ++c) {
      const bool inMatrix =
          r >= g.matrixTop && r < g.matrixTop + s && c >= g.matrixLeft && c < g.matrixLeft + s;
      if (!inMatrix && wrong(at(r, c))) ++quietWrong;
    }
  }
  const std::int32_t worstFinder = std::ranges::max(finderWrong);
  Parameter fpd{"fixed patterns", Letter::kA, 0, {}};
  const auto fixed = [&fpd](Letter letter, double value, std::string detail) {
    if (letter >= fpd.letter) return;
    fpd.letter = letter;
    fpd.value = value;
    fpd.detail = std::move(detail);
  };
  fixed(LetterAtMost(worstFinder, 0, 1, 2, 3), worstFinder,
        "a finder pattern has " + std::to_string(worstFinder) + " modules wrong");
  fixed(LetterAtMost(timingWrong, 0, 1, 2, 3), timingWrong,
        "the timing patterns have " + std::to_string(timingWrong) + " modules wrong");
  fixed(LetterAtMost(quietWrong, 0, 1, 2, 3), quietWrong,
        "the quiet zone has " + std::to_string(quietWrong) + " dark modules");
  // Readers need four modules of quiet zone; many find a symbol with less
  // when the page around it is light, few with none.
  fixed(LetterAtLeast(g.quietZone, 4, 2, 1, 0), g.quietZone,
        "a quiet zone of " + std::to_string(g.quietZone) +
            (g.quietZone == 1 ? " module" : " modules") + "; readers need 4");
  out.push_back(fpd);

  const double axial =
      std::fabs(g.moduleWidth - g.moduleHeight) / ((g.moduleWidth + g.moduleHeight) / 2);
  Parameter ax{"axial", LetterAtMost(axial, 0.06, 0.08, 0.10, 0.12), axial, {}};
  if (ax.letter != Letter::kA) {
    ax.detail = "modules drawn " + Decimal(g.moduleWidth) + " x " + Decimal(g.moduleHeight) +
                " pixels: the output is stretched";
  }
  out.push_back(ax);

  const double grid = std::max(EdgeDeviation(g.left, g.moduleWidth, g.columns),
                               EdgeDeviation(g.top, g.moduleHeight, g.rows));
  Parameter gn{"grid", LetterAtMost(grid, 0.38, 0.50, 0.63, 0.75), grid, {}};
  if (gn.letter != Letter::kA) {
    gn.detail = Decimal(g.moduleWidth) +
                " pixels a module: modules are drawn unevenly wide; use a whole number of "
                "pixels a module";
  }
  out.push_back(gn);

  Parameter ec{"unused EC", UecLetter(uec), uec, {}};
  if (worstDamaged > 0) {
    // Drawn light on dark: most modules of both colours read the other way.
    const bool inverted = wrongDark * 2 > dark && wrongLight * 2 > light;
    ec.detail = (inverted ? std::string("light on dark") : damageCause) + ": " +
                std::to_string(worstDamaged) + " of " +
                std::to_string(map.blocks[worstBlock].codewords) + " codewords of block " +
                std::to_string(worstBlock + 1);
  }
  out.push_back(ec);
  return out;
}

}  // namespace qrsmith::verify
