#include "cli/verify.h"

#include <algorithm>

#include "encoder/qr_tables.h"
#include "platform/codecs/image.h"

namespace qrsmith::cli {

namespace {

const char* const kLevelNames[] = {"M", "L", "M", "Q", "H"};

// The unused error correction of the symbol as `bytes` draws it.
std::optional<verify::Parameter> UnusedEc(const Symbol& symbol, const Bytes& bytes) {
  const auto picture = platform::codecs::DecodeImage(bytes);
  if (!picture) return std::nullopt;
  for (verify::Parameter& p : verify::MeasurePicture(symbol.generator, *picture, "icon")) {
    if (p.name == "unused EC") return std::move(p);
  }
  return std::nullopt;
}

struct Attempt {
  Outcome failed;
  std::optional<verify::Parameter> unusedEc;
  bool Keeps() const { return !failed && unusedEc && unusedEc->letter >= verify::Letter::kB; }
};

Attempt Try(const CliOptions& options, const std::string& content, const OutputForm& form,
            const Bytes* icon, Symbol& symbol, Bytes& bytes) {
  if (Outcome failed = MakeSymbol(options, content, symbol, icon)) return {failed, {}};
  if (Outcome failed = RenderOutput(options, symbol, form, bytes)) return {failed, {}};
  return {std::nullopt, UnusedEc(symbol, bytes)};
}

// The icon made smaller, its longer side `side` pixels, as PNG bytes.
Bytes ScaledIcon(const platform::Bitmap& icon, int side) {
  const int longer = std::max(icon.Width(), icon.Height());
  const int w = std::max(1, icon.Width() * side / longer);
  const int h = std::max(1, icon.Height() * side / longer);
  const auto scaled = icon.Stretch(w, h);
  return scaled ? platform::codecs::EncodeImage(*scaled, platform::codecs::ImageFormat::kPng)
                : Bytes{};
}

}  // namespace

Outcome MakeSymbolKeepingIconReadable(const CliOptions& options, const std::string& content,
                                      const OutputForm& form, Symbol& symbol, Bytes& bytes) {
  Bytes iconBytes;
  if (Outcome failed =
          ReadFileBounded(*options.iconPath, kMaxPictureFileBytes, iconBytes, "icon")) {
    return failed;
  }
  auto icon = platform::codecs::DecodeImage(iconBytes);
  if (!icon) {
    return Failure{kExitInputOutput, "cannot read icon '" + *options.iconPath + "': not a picture"};
  }
  CliOptions o = options;
  if (!options.levelGiven) o.level = 1;
  Attempt a = Try(o, content, form, nullptr, symbol, bytes);
  if (a.failed || a.Keeps()) return a.failed;
  const auto drawn = platform::codecs::DecodeImage(bytes);
  if (!drawn) return Failure{kExitInputOutput, "cannot make the picture"};
  const int iconSide = std::max(icon->Width(), icon->Height());
  const std::string iconSize =
      std::to_string(icon->Width()) + " x " + std::to_string(icon->Height());
  const int pictureSide = std::min(drawn->Width(), drawn->Height());
  // An icon as large as the symbol's picture covers all of it at any level.
  if (!options.levelGiven && iconSide < pictureSide) {
    // A larger version draws the same icon over a smaller share of the
    // modules when the module size is fixed; a few are tried at each level.
    constexpr int kLargerVersions = 3;
    for (auto level = static_cast<std::int16_t>(Level::kL);
         level <= static_cast<std::int16_t>(Level::kH); ++level) {
      o.level = level;
      o.version = options.version;
      a = Try(o, content, form, nullptr, symbol, bytes);
      if (a.failed || a.Keeps()) return a.failed;
      const QrGenerator& g = symbol.generator;
      const int version = (g.SymbolWidth() - g.MarginLeft() - g.MarginRight() - 17) / 4;
      for (int v = version + 1;
           options.version == 0 && v <= std::min(encoder::kMaxVersion, version + kLargerVersions);
           ++v) {
        o.version = static_cast<std::int16_t>(v);
        if (Try(o, content, form, nullptr, symbol, bytes).Keeps()) return std::nullopt;
      }
    }
    o.version = options.version;
    a = Try(o, content, form, nullptr, symbol, bytes);
    if (a.failed) return a.failed;
  } else if (!options.levelGiven) {
    o.level = static_cast<std::int16_t>(Level::kH);  // the most an icon may cover
    a = Try(o, content, form, nullptr, symbol, bytes);
    if (a.failed) return a.failed;
  }
  // The largest icon side that keeps B, by halving the range; no icon
  // wider than the symbol's picture keeps it.
  int keeps = 0, fails = std::min(iconSide, pictureSide + 1);
  if (fails < iconSide) {
    if (auto start = platform::codecs::DecodeImage(ScaledIcon(*icon, fails)))
      icon = std::move(start);
  }
  while (fails - keeps > 1) {
    const int side = keeps + (fails - keeps) / 2;
    const Bytes scaled = ScaledIcon(*icon, side);
    Symbol trial;
    Bytes trialBytes;
    (Try(o, content, form, &scaled, trial, trialBytes).Keeps() ? keeps : fails) = side;
  }
  const verify::Parameter uec = a.unusedEc.value_or(verify::Parameter{});
  std::string message = std::string("the icon leaves unused EC ") + verify::LetterChar(uec.letter) +
                        (uec.detail.empty() ? "" : " (" + uec.detail + ")") + " at level " +
                        kLevelNames[o.level] + (options.levelGiven ? "" : ", the highest") + "; ";
  if (iconSide >= pictureSide) {
    message = "the icon (" + iconSize + " pixels) is larger than the symbol's " +
              std::to_string(pictureSide) + " pixels; ";
  }
  message += keeps > 0 ? "an icon of at most " + std::to_string(keeps) +
                             " pixels a side keeps unused EC at B"
                       : "no icon keeps unused EC at B at this size";
  return Failure{kExitVerify, message};
}

Outcome VerifyOutput(const CliOptions& options, const Symbol& symbol, const OutputForm& form,
                     const Bytes& bytes, std::string& report) {
  verify::GradeRequest request;
  request.onPicture = options.picturePath.has_value();
  request.opacity = symbol.opacity;
  const PrintSettings print = PrintFor(options, symbol, form);
  request.moduleMm = print.moduleMm;
  request.dpi = print.RasterDpi();
  request.swissCross = options.swissCross && form.DrawsMark();
  request.renderDpi = options.verifyDpi;
  verify::FileGradeResult graded =
      verify::GradeWrittenFile(symbol.generator, symbol.carried, form, bytes, request);
  switch (graded.result) {
    case verify::FileCheck::kGraded:
      break;
    case verify::FileCheck::kFailed:
      return Failure{kExitVerify, std::move(graded.message)};
    case verify::FileCheck::kCannotCheck:
      return Failure{kExitInputOutput, std::move(graded.message)};
  }
  const verify::ScanGrade& grade = graded.grade;
  report = options.gradeJson ? verify::GradeJson(grade) : verify::GradeLine(grade);
  if (const std::string warning = grade.SizeWarning(); !warning.empty() && !options.gradeJson) {
    report += "\n" + warning;
  }
  if (grade.Overall() < options.minGrade) {
    return Failure{kExitVerify, std::string("grade ") + verify::LetterChar(grade.Overall()) +
                                    " is below the minimum grade " +
                                    verify::LetterChar(options.minGrade) +
                                    " (--min-grade); nothing written"};
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
