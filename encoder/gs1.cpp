#include "encoder/gs1.h"

#include <algorithm>
#include <array>

namespace qrsmith::encoder {
namespace {

constexpr char kGroupSeparator = '\x1D';

enum class Charset { kNumeric, kCset82 };
enum class Check { kNone, kCheckDigit, kDate };

struct AiRule {
  std::string_view ai;  // the AI; with a trailing 'n', any last digit (decimal point)
  Charset charset;
  std::int32_t minLength, maxLength;
  Check check = Check::kNone;
};

// A common subset of the AI table of the GS1 standard (its section 3.2):
// identification keys, dates, batch and serial, trade measures, amounts,
// logistics locations, company internal. N: digits, X: GS1 character set 82.
constexpr auto N = Charset::kNumeric;
constexpr auto X = Charset::kCset82;
constexpr auto kDigit = Check::kCheckDigit;
constexpr auto kDate = Check::kDate;
constexpr AiRule kRules[] = {
    {"00", N, 18, 18, kDigit},  // SSCC
    {"01", N, 14, 14, kDigit},  // GTIN
    {"02", N, 14, 14, kDigit},  // GTIN of contained trade items
    {"10", X, 1, 20},           // batch or lot number
    {"11", N, 6, 6, kDate},     // production date
    {"12", N, 6, 6, kDate},     // due date
    {"13", N, 6, 6, kDate},     // packaging date
    {"15", N, 6, 6, kDate},     // best before date
    {"16", N, 6, 6, kDate},     // sell by date
    {"17", N, 6, 6, kDate},     // expiration date
    {"20", N, 2, 2},            // internal product variant
    {"21", X, 1, 20},           // serial number
    {"22", X, 1, 20},           // consumer product variant
    {"240", X, 1, 30},          // additional product identification
    {"241", X, 1, 30},          // customer part number
    {"242", N, 1, 6},           // made-to-order variation number
    {"243", X, 1, 20},          // packaging component number
    {"250", X, 1, 30},          // secondary serial number
    {"251", X, 1, 30},          // reference to source entity
    {"254", X, 1, 20},          // GLN extension component
    {"30", N, 1, 8},            // variable count of items
    {"310n", N, 6, 6},
    {"311n", N, 6, 6},
    {"312n", N, 6, 6},
    {"313n", N, 6, 6},
    {"314n", N, 6, 6},
    {"315n", N, 6, 6},
    {"316n", N, 6, 6},  // trade measures, metric
    {"320n", N, 6, 6},
    {"321n", N, 6, 6},
    {"322n", N, 6, 6},
    {"323n", N, 6, 6},
    {"324n", N, 6, 6},
    {"325n", N, 6, 6},
    {"326n", N, 6, 6},
    {"327n", N, 6, 6},
    {"328n", N, 6, 6},
    {"329n", N, 6, 6},  // trade measures, imperial
    {"330n", N, 6, 6},
    {"331n", N, 6, 6},
    {"332n", N, 6, 6},
    {"333n", N, 6, 6},
    {"334n", N, 6, 6},
    {"335n", N, 6, 6},
    {"336n", N, 6, 6},
    {"337n", N, 6, 6},
    {"340n", N, 6, 6},
    {"341n", N, 6, 6},
    {"342n", N, 6, 6},
    {"343n", N, 6, 6},
    {"344n", N, 6, 6},
    {"345n", N, 6, 6},
    {"346n", N, 6, 6},
    {"347n", N, 6, 6},
    {"348n", N, 6, 6},
    {"349n", N, 6, 6},
    {"350n", N, 6, 6},
    {"351n", N, 6, 6},
    {"352n", N, 6, 6},
    {"353n", N, 6, 6},
    {"354n", N, 6, 6},
    {"355n", N, 6, 6},
    {"356n", N, 6, 6},
    {"357n", N, 6, 6},  // logistic measures
    {"360n", N, 6, 6},
    {"361n", N, 6, 6},
    {"362n", N, 6, 6},
    {"363n", N, 6, 6},
    {"364n", N, 6, 6},
    {"365n", N, 6, 6},
    {"366n", N, 6, 6},
    {"367n", N, 6, 6},
    {"368n", N, 6, 6},
    {"369n", N, 6, 6},
    {"37", N, 1, 8},             // count of trade items
    {"390n", N, 1, 15},          // amount payable, single currency
    {"391n", N, 4, 18},          // amount payable with ISO currency code
    {"392n", N, 1, 15},          // price, single currency
    {"393n", N, 4, 18},          // price with ISO currency code
    {"400", X, 1, 30},           // customer's purchase order number
    {"401", X, 1, 30},           // global identification number for consignment
    {"402", N, 17, 17, kDigit},  // global shipment identification number
    {"403", X, 1, 30},           // routing code
    {"410", N, 13, 13, kDigit},
    {"411", N, 13, 13, kDigit},
    {"412", N, 13, 13, kDigit},
    {"413", N, 13, 13, kDigit},
    {"414", N, 13, 13, kDigit},
    {"415", N, 13, 13, kDigit},
    {"416", N, 13, 13, kDigit},
    {"417", N, 13, 13, kDigit},  // global location numbers
    {"420", X, 1, 20},           // ship to postal code
    {"422", N, 3, 3},            // country of origin
    {"7001", N, 13, 13},         // NATO stock number
    {"7002", X, 1, 30},          // meat cut classification
    {"7003", N, 10, 10},         // expiration date and time
    {"8001", N, 14, 14},         // roll products
    {"8004", X, 1, 30},          // global individual asset identifier
    {"8017", N, 18, 18, kDigit},
    {"8018", N, 18, 18, kDigit},  // global service relation numbers
    {"8020", X, 1, 25},           // payment slip reference number
    {"8200", X, 1, 70},           // extended packaging URL
    {"90", X, 1, 30},             // mutually agreed information
    {"91", X, 1, 90},
    {"92", X, 1, 90},
    {"93", X, 1, 90},
    {"94", X, 1, 90},
    {"95", X, 1, 90},
    {"96", X, 1, 90},
    {"97", X, 1, 90},
    {"98", X, 1, 90},
    {"99", X, 1, 90},  // company internal
};

const AiRule* FindRule(std::string_view ai) {
  for (const AiRule& rule : kRules) {
    if (rule.ai.size() != ai.size()) continue;
    const bool anyLast = rule.ai.back() == 'n';
    if (rule.ai.substr(0, anyLast ? ai.size() - 1 : ai.size()) ==
        ai.substr(0, anyLast ? ai.size() - 1 : ai.size())) {
      return &rule;
    }
  }
  return nullptr;
}

// AIs whose fields have lengths every reader knows from their first two
// digits (the GS1 standard's predefined-length table), so that no
// GS follows them.
bool HasPredefinedLength(std::string_view ai) {
  static constexpr std::array<std::string_view, 23> kPrefixes = {
      "00", "01", "02", "03", "04", "11", "12", "13", "14", "15", "16", "17",
      "18", "19", "20", "23", "31", "32", "33", "34", "35", "36", "41"};
  return std::find(kPrefixes.begin(), kPrefixes.end(), ai.substr(0, 2)) != kPrefixes.end();
}

// GS1 character set 82 (the GS1 standard, Figure 7.11-1).
bool IsCset82(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!\"%&'()*+,-./:;<=>?_").find(c) != std::string_view::npos;
}

bool IsDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// YYMMDD with a month 01..12 and a day 01..its last, or 00 (no day given).
bool IsDate(std::string_view d) {
  const int month = (d[2] - '0') * 10 + (d[3] - '0');
  const int day = (d[4] - '0') * 10 + (d[5] - '0');
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 1 && month <= 12 && day <= kDays[month - 1];
}

std::string CheckField(std::string_view ai, const AiRule& rule, std::string_view field) {
  const std::string name = "AI (" + std::string(ai) + "): ";
  const auto length = static_cast<std::int32_t>(field.size());
  if (length < rule.minLength || length > rule.maxLength) {
    return name +
           (rule.minLength == rule.maxLength
                ? "takes " + std::to_string(rule.minLength) + " characters"
                : "takes " + std::to_string(rule.minLength) + " to " +
                      std::to_string(rule.maxLength) + " characters") +
           ", not " + std::to_string(length);
  }
  if (rule.charset == Charset::kNumeric && !IsDigits(field)) return name + "takes digits only";
  if (rule.charset == Charset::kCset82 && !std::all_of(field.begin(), field.end(), IsCset82)) {
    return name + "has a character outside the GS1 character set";
  }
  if (rule.check == Check::kCheckDigit) {
    const char expected = Gs1CheckDigit(field.substr(0, field.size() - 1));
    if (field.back() != expected) {
      return name + "check digit is " + std::string(1, field.back()) + ", should be " +
             std::string(1, expected);
    }
  }
  if (rule.check == Check::kDate && !IsDate(field)) return name + "is not a date YYMMDD";
  return {};
}

}  // namespace

char Gs1CheckDigit(std::string_view digits) {
  std::int32_t sum = 0, weight = 3;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it, weight = 4 - weight) {
    sum += (*it - '0') * weight;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

Gs1Parse ParseGs1(std::string_view text) {
  std::string out;
  bool separatorDue = false;  // the previous field has a variable length
  std::size_t i = 0;
  if (text.empty()) return {std::nullopt, "GS1 data is empty"};
  while (i < text.size()) {
    if (text[i] != '(') return {std::nullopt, "GS1 data must start each AI with '('"};
    const std::size_t close = text.find(')', i);
    if (close == std::string_view::npos) return {std::nullopt, "an AI lacks its ')'"};
    const std::string_view ai = text.substr(i + 1, close - i - 1);
    if (ai.size() < 2 || ai.size() > 4 || !IsDigits(ai)) {
      return {std::nullopt, "AI (" + std::string(ai) + "): not an application identifier"};
    }
    const AiRule* rule = FindRule(ai);
    if (rule == nullptr) return {std::nullopt, "AI (" + std::string(ai) + "): unknown"};
    std::string field;
    for (i = close + 1; i < text.size() && text[i] != '('; ++i) {
      if (text[i] == '\\' && i + 1 < text.size() &&
          (text[i + 1] == '(' || text[i + 1] == ')' || text[i + 1] == '\\')) {
        ++i;
      }
      field += text[i];
    }
    if (std::string error = CheckField(ai, *rule, field); !error.empty()) {
      return {std::nullopt, error};
    }
    if (separatorDue) out += kGroupSeparator;
    out += ai;
    out += field;
    separatorDue = !HasPredefinedLength(ai);
  }
  return {std::move(out), {}};
}

}  // namespace qrsmith::encoder
