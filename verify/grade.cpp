#include "verify/grade.h"

#include <algorithm>
#include <cstdio>

namespace qrsmith::verify {

namespace {

// Modules printed smaller than this are beyond many phone cameras and
// office printers.
constexpr double kSmallestModuleMm = 0.25;

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

}  // namespace

char LetterChar(Letter letter) { return "FDCBA"[static_cast<int>(letter)]; }

std::optional<Letter> ParseLetter(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  switch (text[0] | 0x20) {
    case 'a':
      return Letter::kA;
    case 'b':
      return Letter::kB;
    case 'c':
      return Letter::kC;
    case 'd':
      return Letter::kD;
    case 'f':
      return Letter::kF;
    default:
      return std::nullopt;
  }
}

Letter LetterAtLeast(double value, double a, double b, double c, double d) {
  return value >= a   ? Letter::kA
         : value >= b ? Letter::kB
         : value >= c ? Letter::kC
         : value >= d ? Letter::kD
                      : Letter::kF;
}

Letter LetterAtMost(double value, double a, double b, double c, double d) {
  return value <= a   ? Letter::kA
         : value <= b ? Letter::kB
         : value <= c ? Letter::kC
         : value <= d ? Letter::kD
                      : Letter::kF;
}

Letter ScanGrade::Overall() const {
  Letter lowest = Letter::kA;
  for (const Parameter& p : parameters) lowest = std::min(lowest, p.letter);
  return lowest;
}

const Parameter* ScanGrade::Limiting() const {
  const Letter overall = Overall();
  for (const Parameter& p : parameters) {
    if (p.letter == overall) return &p;
  }
  return nullptr;
}

void ScanGrade::Lower(const Parameter& measured) {
  for (Parameter& p : parameters) {
    if (p.name != measured.name) continue;
    if (measured.letter < p.letter) p = measured;
    return;
  }
  parameters.push_back(measured);
}

std::string ScanGrade::SizeWarning() const {
  if (!moduleMm || *moduleMm >= kSmallestModuleMm) return {};
  char text[160];
  std::snprintf(text, sizeof text,
                "warning: modules of %.3g mm are smaller than %.2g mm; many cameras and printers "
                "cannot resolve them",
                *moduleMm, kSmallestModuleMm);
  return text;
}

std::string GradeLine(const ScanGrade& grade) {
  const Parameter* limiting = grade.Limiting();
  std::string line = std::string("grade ") + LetterChar(grade.Overall()) + ":";
  const char* separator = " ";
  for (const Parameter& p : grade.parameters) {
    line += separator + p.name + ' ' + LetterChar(p.letter);
    if (&p == limiting && !p.detail.empty()) line += " (" + p.detail + ")";
    separator = ", ";
  }
  return line;
}

std::string GradeJson(const ScanGrade& grade) {
  const Parameter* limiting = grade.Limiting();
  std::string json = std::string("{\"grade\":\"") + LetterChar(grade.Overall()) + "\"";
  json += ",\"limiting\":" + (limiting && limiting->letter != Letter::kA
                                  ? JsonString(limiting->name + ": " + limiting->detail)
                                  : std::string("null"));
  json += ",\"parameters\":[";
  const char* separator = "";
  for (const Parameter& p : grade.parameters) {
    json += separator;
    json += "{\"name\":" + JsonString(p.name) + ",\"grade\":\"" + LetterChar(p.letter) +
            "\",\"value\":" + JsonNumber(p.value) + ",\"detail\":" + JsonString(p.detail) + "}";
    separator = ",";
  }
  json += "]";
  if (grade.moduleMm) json += ",\"moduleMm\":" + JsonNumber(*grade.moduleMm);
  if (const std::string warning = grade.SizeWarning(); !warning.empty()) {
    json += ",\"warning\":" + JsonString(warning);
  }
  return json + "}";
}

}  // namespace qrsmith::verify
