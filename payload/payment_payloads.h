#pragma once
// Payment codes printed on invoices: the EPC QR Code of the SEPA credit
// transfer (EPC069-12, "GiroCode") and the Swiss QR-bill (SIX Swiss
// Implementation Guidelines QR-bill 2.2/2.3), with the checks of the
// numbers they carry. Both are read by banking apps that refuse a code
// whose data breaks a rule, so the *Problem functions say why before a
// symbol is made; the builders write what they are given.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// An amount as typed: an optional currency code before it ("EUR12.34",
// "CHF 5", "12.3"), in cents.
struct Amount {
  std::string currency;  // "" when none was typed
  std::int64_t cents = 0;
};

// Reads an amount of 0.01 to 999999999.99 with at most two decimals and a
// decimal point. nullopt with `problem` set otherwise (a decimal comma gets
// a hint).
std::optional<Amount> ParseAmount(std::string_view text, std::string& problem);

// The IBAN without spaces, in capitals.
std::string CompactIban(std::string_view iban);
// Why an IBAN (compact) is not one, or "": two letters, two check digits,
// 11 to 30 letters and digits, and the ISO 13616 mod-97 check.
std::string IbanProblem(std::string_view iban);
// Why a BIC is not one, or "": 4 letters, 2 letters, 2 letters or digits,
// and optionally 3 more (ISO 9362).
std::string BicProblem(std::string_view bic);
// Why a creditor reference (compact) is not an ISO 11649 one, or "": "RF",
// two check digits and 1 to 21 letters or digits, passing the mod-97 check.
std::string CreditorReferenceProblem(std::string_view reference);
// The check digit of a QR reference's first 26 digits: modulo 10, recursive.
int QrReferenceCheckDigit(std::string_view digits);
// A Swiss or Liechtenstein IBAN whose institution id is 30000 to 31999.
bool IsQrIban(std::string_view iban);

// One SEPA credit transfer. `iban`, `bic` and the reference are compact.
struct EpcTransfer {
  std::string name;
  std::string iban;
  OptionalText bic{};
  std::optional<std::int64_t> amountCents{};
  OptionalText purpose{};      // an ISO 20022 purpose code, 4 capitals
  OptionalText reference{};    // structured: an ISO 11649 RF reference
  OptionalText text{};         // unstructured remittance text, up to 140
  OptionalText information{};  // a note to the payer, up to 70
  int version = 2;             // 1 needs the BIC; 2 makes it optional in the EEA
};

// "BCD", "00" + version, "1" (UTF-8), "SCT", BIC, name, IBAN, "EUR" +
// amount (no trailing zeros: "EUR12.3"), purpose, reference, text,
// information, one a line joined by LF; empty lines at the end are left out.
std::string EpcPayload(const EpcTransfer& transfer);
// Why a transfer breaks a rule of the form, or "".
std::string EpcProblem(const EpcTransfer& transfer);

// A structured address of a QR-bill party.
struct SwissAddress {
  std::string name;      // up to 70
  std::string street;    // up to 70
  std::string building;  // house number, up to 16
  std::string postcode;  // up to 16
  std::string town;      // up to 35
  std::string country;   // ISO 3166 two-letter code
};

struct SwissBill {
  std::string iban;  // compact; a QR-IBAN asks for a QR reference
  SwissAddress creditor;
  std::optional<SwissAddress> debtor{};
  std::optional<std::int64_t> amountCents{};  // left out: the payer fills it in
  std::string currency = "CHF";               // CHF or EUR
  OptionalText reference{};  // compact: 27 digits (QRR) or RF (SCOR); left out: NON
  OptionalText message{};    // unstructured, up to 140
  OptionalText billing{};    // structured billing information ("//S1/...")
};

// The reference type the bill carries: "QRR", "SCOR" or "NON".
std::string SwissReferenceType(const SwissBill& bill);
// "SPC", "0200", "1", IBAN, creditor (S and six fields), seven empty lines
// for the ultimate creditor, amount ("1949.75") and currency, debtor (S and
// six, or seven empty lines), reference type and reference, message,
// "EPD", and the billing information when supplied, joined by LF (the
// guidelines allow LF or CR LF).
std::string SwissQrBillPayload(const SwissBill& bill);
// Why a bill breaks a rule of the guidelines, or "".
std::string SwissQrBillProblem(const SwissBill& bill);

}  // namespace qrsmith::payload
