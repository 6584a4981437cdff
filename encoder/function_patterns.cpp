#include "encoder/function_patterns.h"

#include "encoder/qr_tables.h"

namespace qrsmith::encoder {
namespace {

// Alignment centres never come closer than this to the top-left corner; below
// it they would meet the finder patterns.
constexpr std::int32_t kLowestAlignmentCentre = 18;
// Row and column of the two timing patterns.
constexpr std::int32_t kTimingLine = 6;

class Painter {
 public:
  Painter(std::uint8_t* matrix, std::int32_t side)
      : matrix_(matrix), side_(side), stride_(MatrixStride(side)) {}

  void Set(std::int32_t row, std::int32_t column, bool dark) {
    matrix_[row * stride_ + column] = dark ? kDarkFunction : kLightFunction;
  }

  // An 8 x 8 finder pattern with its separator, i = row offset, j = column
  // offset from the symbol corner.
  void FinderPatterns() {
    const std::int32_t s = side_;
    for (std::int32_t i = 0; i < 8; ++i) {
      for (std::int32_t j = 0; j < 8; ++j) {
        const bool light = i == 7 || j == 7 || ((j == 1 || j == 5) && i >= 1 && i <= 5) ||
                           ((i == 1 || i == 5) && j >= 1 && j <= 5);
        Set(i, j, !light);
        Set(i, s - 1 - j, !light);
        Set(s - 1 - i, j, !light);
      }
    }
  }

  // Format areas (reserved light for now) and the dark module beside the
  // lower-left finder.
  void FormatAreasAndDarkModule() {
    const std::int32_t s = side_;
    for (std::int32_t i = 0; i < 8; ++i) {
      Set(8, i, false);
      Set(i, 8, false);
      Set(8, s - 1 - i, false);
      Set(s - 1 - i, 8, false);
    }
    Set(8, 8, false);
    Set(s - 8, 8, true);
  }

  // The two 6 x 3 version information blocks, versions 7 and above.
  void VersionAreas() {
    const std::int32_t s = side_;
    for (std::int32_t r = s - 11; r <= s - 9; ++r) {
      for (std::int32_t c = 0; c <= 6; ++c) {
        Set(r, c, false);
        Set(c, r, false);
      }
    }
  }

  void TimingPatterns() {
    for (std::int32_t i = 8; i <= side_ - 9; ++i) {
      Set(kTimingLine, i, i % 2 == 0);
      Set(i, kTimingLine, i % 2 == 0);
    }
  }

  void AlignmentPattern(std::int32_t row, std::int32_t column) {
    for (std::int32_t dr = -2; dr <= 2; ++dr) {
      for (std::int32_t dc = -2; dc <= 2; ++dc) {
        const bool dark = dr == -2 || dr == 2 || dc == -2 || dc == 2 || (dr == 0 && dc == 0);
        Set(row + dr, column + dc, dark);
      }
    }
  }

 private:
  std::uint8_t* matrix_;
  std::int32_t side_;
  std::int32_t stride_;
};

}  // namespace

std::vector<std::int32_t> AlignmentCentres(std::int32_t version, std::int32_t step) {
  std::vector<std::int32_t> centres;
  if (version < 2 || version > kMaxVersion || step <= 0) return centres;
  for (std::int32_t c = SymbolSize(version) - 7; c >= kLowestAlignmentCentre; c -= step) {
    centres.push_back(c);
  }
  return centres;
}

void DrawFunctionPatterns(std::uint8_t* matrix, std::int32_t version, std::int32_t step) {
  const std::int32_t s = SymbolSize(version);
  Painter painter(matrix, s);
  painter.FinderPatterns();
  painter.FormatAreasAndDarkModule();
  if (version >= 7) painter.VersionAreas();
  painter.TimingPatterns();
  // Every pair of listed centres, plus the pairs on the timing lines except
  // those next to the finders (where the first centre s-7 meets 6).
  const std::vector<std::int32_t> centres = AlignmentCentres(version, step);
  for (std::size_t a = 0; a < centres.size(); ++a) {
    for (const std::int32_t b : centres) painter.AlignmentPattern(centres[a], b);
    if (a > 0) {
      painter.AlignmentPattern(kTimingLine, centres[a]);
      painter.AlignmentPattern(centres[a], kTimingLine);
    }
  }
}

std::vector<std::uint8_t> FunctionMatrixOf(std::int32_t version) {
  if (version < kMinVersion || version > kMaxVersion) return {};
  QrTables tables;
  tables.Fill();
  const auto stride = static_cast<std::size_t>(MatrixStride(SymbolSize(version)));
  std::vector<std::uint8_t> matrix(stride * stride, 0);
  DrawFunctionPatterns(matrix.data(), version,
                       tables.alignmentStep[static_cast<std::size_t>(version - 1)]);
  return matrix;
}

}  // namespace qrsmith::encoder
