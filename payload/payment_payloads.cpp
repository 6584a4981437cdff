#include "payload/payment_payloads.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qrsmith::payload {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAlnum(char c) { return IsDigit(c) || IsUpper(c); }

// ISO 7064 mod 97-10 over letters and digits, a letter counting as 10..35:
// the check of IBANs and ISO 11649 references, which both pass when it is 1.
int Mod97(std::string_view text) {
  int rest = 0;
  for (const char c : text) {
    const int value = IsDigit(c) ? c - '0' : c - 'A' + 10;
    rest = (value >= 10 ? rest * 100 : rest * 10) + value;
    rest %= 97;
  }
  return rest;
}

// The text moved so that its first four characters come last.
std::string Rotated(std::string_view text) { return Joined({text.substr(4), text.substr(0, 4)}); }

// The number of characters of UTF-8 text, or -1 when `allowed` refuses one
// (or the text is no UTF-8). The control characters are refused always: a
// line break would move every later field to the wrong line.
template <typename Allowed>
long CountCharacters(std::string_view text, Allowed allowed) {
  long count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return -1;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return -1;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < 0x20 || code == 0x7F || !allowed(code)) return -1;
    i += length;
  }
  return count;
}

// Why a text field is too long or holds what the form cannot, or "".
template <typename Allowed>
std::string TextProblem(std::string_view what, std::string_view text, long most, Allowed allowed) {
  const long count = CountCharacters(text, allowed);
  if (count < 0) return std::string(what) + " holds a character the form cannot carry";
  if (count > most) {
    return std::string(what) + " has " + std::to_string(count) + " characters; at most " +
           std::to_string(most) + " fit";
  }
  return {};
}

bool AnyCharacter(char32_t) { return true; }

// The characters of the QR-bill: Basic Latin, Latin-1 Supplement, Latin
// Extended-A, the four comma-below letters of Romanian and the euro sign.
bool SwissCharacter(char32_t c) {
  return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0x17F) || (c >= 0x218 && c <= 0x21B) ||
         c == 0x20AC;
}

std::string Decimal(std::int64_t cents, bool keepZeros) {
  std::string out = std::to_string(cents / 100);
  const int fraction = static_cast<int>(cents % 100);
  if (keepZeros || fraction != 0) {
    out += '.';
    out += static_cast<char>('0' + fraction / 10);
    if (keepZeros || fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
  }
  return out;
}

void AddAddress(std::string& out, const std::optional<SwissAddress>& address) {
  if (!address) {
    out += "\n\n\n\n\n\n\n";
    return;
  }
  out += Joined({"\nS\n", address->name, "\n", address->street, "\n", address->building, "\n",
                 address->postcode, "\n", address->town, "\n", address->country});
}

std::string AddressProblem(std::string_view party, const SwissAddress& a) {
  const std::string who(party);
  if (a.name.empty()) return who + " name is empty";
  if (a.postcode.empty()) return who + " postcode is empty";
  if (a.town.empty()) return who + " town is empty";
  if (a.country.size() != 2 || !IsUpper(a.country[0]) || !IsUpper(a.country[1])) {
    return who + " country must be a two-letter code such as CH";
  }
  const struct {
    const char* what;
    const std::string& text;
    long most;
  } fields[] = {{" name", a.name, 70},
                {" street", a.street, 70},
                {" building number", a.building, 16},
                {" postcode", a.postcode, 16},
                {" town", a.town, 35}};
  for (const auto& f : fields) {
    if (std::string p = TextProblem(who + f.what, f.text, f.most, SwissCharacter); !p.empty()) {
      return p;
    }
  }
  return {};
}

}  // namespace

std::optional<Amount> ParseAmount(std::string_view text, std::string& problem) {
  Amount amount;
  std::size_t at = 0;
  while (at < text.size() && IsUpper(text[at])) ++at;
  amount.currency = std::string(text.substr(0, at));
  while (at < text.size() && text[at] == ' ') ++at;
  const std::string_view number = text.substr(at);
  const std::size_t point = number.find('.');
  const std::string_view whole = number.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
  const auto digits = [](std::string_view s) { return std::all_of(s.begin(), s.end(), IsDigit); };
  if (number.find(',') != std::string_view::npos) {
    problem = "has a decimal comma: write a point, as in 12.50";
  } else if ((amount.currency.size() != 0 && amount.currency.size() != 3) || whole.empty() ||
             whole.size() > 9 || !digits(whole) || fraction.size() > 2 || !digits(fraction) ||
             (point != std::string_view::npos && fraction.empty())) {
    problem = "takes an amount such as EUR12.50 (at most two decimals)";
  } else {
    std::int64_t cents = 0;
    for (const char c : whole) cents = cents * 10 + (c - '0');
    cents *= 100;
    if (!fraction.empty()) cents += (fraction[0] - '0') * 10;
    if (fraction.size() == 2) cents += fraction[1] - '0';
    amount.cents = cents;
    if (cents < 1) problem = "must be at least 0.01";
  }
  if (!problem.empty()) return std::nullopt;
  return amount;
}

std::string CompactIban(std::string_view iban) {
  std::string out;
  for (const char c : iban) {
    if (c == ' ') continue;
    out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
  }
  return out;
}

std::string IbanProblem(std::string_view iban) {
  if (iban.size() < 15 || iban.size() > 34 || !IsUpper(iban[0]) || !IsUpper(iban[1]) ||
      !IsDigit(iban[2]) || !IsDigit(iban[3]) || !std::all_of(iban.begin(), iban.end(), IsAlnum)) {
    return "is not an IBAN (two letters, two check digits, up to 30 letters and digits)";
  }
  if (Mod97(Rotated(iban)) != 1) return "fails its check digits: a digit is wrong or swapped";
  return {};
}

std::string BicProblem(std::string_view bic) {
  const bool shape = (bic.size() == 8 || bic.size() == 11) &&
                     std::all_of(bic.begin(), bic.begin() + 6, IsUpper) &&
                     std::all_of(bic.begin() + 6, bic.end(), IsAlnum);
  return shape ? std::string() : "is not a BIC (8 or 11 capitals and digits, as COBADEFFXXX)";
}

std::string CreditorReferenceProblem(std::string_view reference) {
  if (reference.size() < 5 || reference.size() > 25 || !reference.starts_with("RF") ||
      !IsDigit(reference[2]) || !IsDigit(reference[3]) ||
      !std::all_of(reference.begin(), reference.end(), IsAlnum)) {
    return "is not a creditor reference (RF, two check digits, up to 21 letters and digits)";
  }
  if (Mod97(Rotated(reference)) != 1) return "fails its RF check digits";
  return {};
}

int QrReferenceCheckDigit(std::string_view digits) {
  static constexpr std::array<int, 10> kTable = {0, 9, 4, 6, 8, 2, 7, 1, 3, 5};
  int carry = 0;
  for (const char c : digits) carry = kTable[(carry + (c - '0')) % 10];
  return (10 - carry) % 10;
}

bool IsQrIban(std::string_view iban) {
  if (iban.size() != 21 || !(iban.starts_with("CH") || iban.starts_with("LI"))) return false;
  const std::string_view id = iban.substr(4, 5);
  return std::all_of(id.begin(), id.end(), IsDigit) && id >= "30000" && id <= "31999";
}

std::string EpcPayload(const EpcTransfer& t) {
  const std::string lines[] = {
      "BCD",
      t.version == 1 ? "001" : "002",
      "1",
      "SCT",
      t.bic.value_or(""),
      t.name,
      t.iban,
      t.amountCents ? "EUR" + Decimal(*t.amountCents, false) : "",
      t.purpose.value_or(""),
      t.reference.value_or(""),
      t.text.value_or(""),
      t.information.value_or(""),
  };
  std::size_t used = std::size(lines);
  while (lines[used - 1].empty()) --used;
  std::string out = lines[0];
  for (std::size_t i = 1; i < used; ++i) out += Joined({"\n", lines[i]});
  return out;
}

std::string EpcProblem(const EpcTransfer& t) {
  if (t.name.empty()) return "the beneficiary's name is empty";
  if (std::string p = TextProblem("the name", t.name, 70, AnyCharacter); !p.empty()) return p;
  if (std::string p = IbanProblem(t.iban); !p.empty()) return "the IBAN " + p;
  if (t.bic) {
    if (std::string p = BicProblem(*t.bic); !p.empty()) return "the BIC " + p;
  } else if (t.version == 1) {
    return "version 001 needs the BIC";
  }
  if (t.amountCents && *t.amountCents > 99999999999) return "the amount is beyond 999999999.99";
  if (t.purpose &&
      (t.purpose->size() != 4 || !std::all_of(t.purpose->begin(), t.purpose->end(), IsAlnum))) {
    return "the purpose is a code of 4 capitals, such as GDDS";
  }
  if (t.reference && t.text) return "a transfer carries a reference or a text, not both";
  if (t.reference) {
    if (std::string p = CreditorReferenceProblem(*t.reference); !p.empty()) {
      return "the reference " + p;
    }
  }
  if (t.text) {
    if (std::string p = TextProblem("the text", *t.text, 140, AnyCharacter); !p.empty()) return p;
  }
  if (t.information) {
    if (std::string p = TextProblem("the information", *t.information, 70, AnyCharacter);
        !p.empty()) {
      return p;
    }
  }
  if (const std::size_t size = EpcPayload(t).size(); size > 331) {
    return "the code would hold " + std::to_string(size) + " bytes; at most 331 fit";
  }
  return {};
}

std::string SwissReferenceType(const SwissBill& bill) {
  if (!bill.reference) return "NON";
  return bill.reference->starts_with("RF") ? "SCOR" : "QRR";
}

std::string SwissQrBillPayload(const SwissBill& bill) {
  std::string out = Joined({"SPC\n0200\n1\n", bill.iban});
  AddAddress(out, bill.creditor);
  AddAddress(out, std::nullopt);  // the ultimate creditor, reserved for later use
  out +=
      Joined({"\n", bill.amountCents ? Decimal(*bill.amountCents, true) : "", "\n", bill.currency});
  AddAddress(out, bill.debtor);
  out += Joined({"\n", SwissReferenceType(bill), "\n", bill.reference.value_or(""), "\n",
                 bill.message.value_or(""), "\nEPD"});
  if (bill.billing) out += Joined({"\n", *bill.billing});
  return out;
}

std::string SwissQrBillProblem(const SwissBill& bill) {
  if (std::string p = IbanProblem(bill.iban); !p.empty()) return "the IBAN " + p;
  if (!bill.iban.starts_with("CH") && !bill.iban.starts_with("LI")) {
    return "the IBAN must be a Swiss or Liechtenstein one (CH or LI)";
  }
  if (bill.iban.size() != 21) return "a Swiss or Liechtenstein IBAN has 21 characters";
  if (std::string p = AddressProblem("the creditor's", bill.creditor); !p.empty()) return p;
  if (bill.debtor) {
    if (std::string p = AddressProblem("the debtor's", *bill.debtor); !p.empty()) return p;
  }
  if (bill.currency != "CHF" && bill.currency != "EUR") return "the currency is CHF or EUR";
  if (bill.amountCents && *bill.amountCents > 99999999999) {
    return "the amount is beyond 999999999.99";
  }
  const std::string type = SwissReferenceType(bill);
  if (IsQrIban(bill.iban) && type != "QRR") {
    return "a QR-IBAN needs a QR reference (27 digits) as --reference";
  }
  if (!IsQrIban(bill.iban) && type == "QRR") {
    return "a QR reference (27 digits) needs a QR-IBAN (institution id 30000 to 31999); "
           "with this IBAN use an RF creditor reference or none";
  }
  if (type == "SCOR") {
    if (std::string p = CreditorReferenceProblem(*bill.reference); !p.empty()) {
      return "the reference " + p;
    }
  }
  if (type == "QRR") {
    const std::string& r = *bill.reference;
    if (r.size() != 27 || !std::all_of(r.begin(), r.end(), IsDigit)) {
      return "a QR reference has 27 digits";
    }
    if (QrReferenceCheckDigit(std::string_view(r).substr(0, 26)) != r[26] - '0') {
      return "the QR reference fails its check digit";
    }
  }
  if (bill.message) {
    if (std::string p = TextProblem("the message", *bill.message, 140, SwissCharacter);
        !p.empty()) {
      return p;
    }
  }
  if (bill.billing) {
    if (std::string p = TextProblem("the billing information", *bill.billing, 140, SwissCharacter);
        !p.empty()) {
      return p;
    }
  }
  if (const std::size_t size = SwissQrBillPayload(bill).size(); size > 997) {
    return "the code would hold " + std::to_string(size) + " characters; at most 997 fit";
  }
  return {};
}

}  // namespace qrsmith::payload
