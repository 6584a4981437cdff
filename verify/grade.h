#pragma once
// A scan grade after ISO/IEC 15415's parameters for matrix symbols: a letter
// A (best) to F for each parameter measured, the overall grade the lowest of
// them, and the parameter that limits it named in plain words.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrsmith::verify {

enum class Letter { kF = 0, kD = 1, kC = 2, kB = 3, kA = 4 };

char LetterChar(Letter letter);
// "A".."D" or "F" (either case); nullopt for anything else.
std::optional<Letter> ParseLetter(std::string_view text);
// The letter of `value` against the lower bounds of A, B, C and D (a value
// below the last is F).
Letter LetterAtLeast(double value, double a, double b, double c, double d);
// The letter of `value` against the upper bounds of A, B, C and D.
Letter LetterAtMost(double value, double a, double b, double c, double d);

struct Parameter {
  std::string name;  // "decode", "contrast", "unused EC", ...
  Letter letter = Letter::kA;
  double value = 0;    // the measured value (a fraction, or a count for decode)
  std::string detail;  // why it is below A, in plain words; empty at A
};

struct ScanGrade {
  std::vector<Parameter> parameters;  // in the order they are reported
  // The printed side of a module, where the output has a physical size.
  std::optional<double> moduleMm;

  Letter Overall() const;
  // The first parameter at the overall grade (null when none was measured).
  const Parameter* Limiting() const;
  // Sets `name`'s letter to the lower of its own and `letter`'s, taking the
  // detail of the lower one.
  void Lower(const Parameter& measured);
  // A warning about the module size (under 0.25 mm), or empty.
  std::string SizeWarning() const;
};

// "grade B: decode A, contrast A, ..., unused EC B (icon: 18 of 48 codewords
// of block 3)": each parameter's letter, with the detail of the limiting one.
std::string GradeLine(const ScanGrade& grade);
// The same as one JSON object: {"grade":"B","limiting":..,"parameters":[..]}.
std::string GradeJson(const ScanGrade& grade);

}  // namespace qrsmith::verify
