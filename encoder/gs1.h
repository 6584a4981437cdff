#pragma once
// GS1 element strings from their human-readable form, "(01)09501101530003
// (17)260101(10)ABC": each application identifier (AI) checked against its
// length, character set and check digit, the strings joined with GS (0x1D)
// after every variable-length field that is not last. The result is the
// content of a symbol with FNC1 in the first position.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qrsmith::encoder {

struct Gs1Parse {
  std::optional<std::string> elementString;  // set on success
  std::string error;                         // otherwise, naming the AI: "AI (01): ..."
};

// Parses the human-readable form. Inside a field, "\(" and "\)" stand for
// parentheses and "\\" for a backslash.
Gs1Parse ParseGs1(std::string_view humanReadable);

// The GS1 check digit (modulo 10, weights 3 and 1 from the right) of a string
// of digits that lacks it.
char Gs1CheckDigit(std::string_view digits);

}  // namespace qrsmith::encoder
