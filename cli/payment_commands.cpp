// The payment commands: the EPC QR Code of a SEPA credit transfer and the
// Swiss QR-bill. Both are read at level M by banking apps.

#include <algorithm>

#include "cli/payload_commands.h"
#include "payload/payment_payloads.h"

namespace qrsmith::cli {
namespace {

constexpr std::int16_t kLevelM = 2;

// The amount of --amount in cents, its currency checked against `allowed`.
std::optional<std::int64_t> ReadAmount(PayloadFields& f, std::string& currency,
                                       std::initializer_list<std::string_view> allowed) {
  const auto text = f.Optional("amount");
  if (!text) return std::nullopt;
  std::string problem;
  const auto amount = payload::ParseAmount(*text, problem);
  if (!amount) {
    f.RefuseFlag("amount", "'" + *text + "' " + problem);
    return std::nullopt;
  }
  if (!amount->currency.empty()) {
    if (std::find(allowed.begin(), allowed.end(), amount->currency) == allowed.end()) {
      f.RefuseFlag("amount", "the currency " + amount->currency + " is not one this code carries");
      return std::nullopt;
    }
    currency = amount->currency;
  }
  return amount->cents;
}

std::string Epc(PayloadFields& f) {
  payload::EpcTransfer t;
  t.name = f.Text("name");
  t.iban = payload::CompactIban(f.Text("iban"));
  if (const auto bic = f.Optional("bic")) t.bic = payload::CompactIban(*bic);
  std::string currency = "EUR";
  t.amountCents = ReadAmount(f, currency, {"EUR"});
  t.purpose = f.Optional("purpose");
  if (const auto reference = f.Optional("reference")) {
    t.reference = payload::CompactIban(*reference);
  }
  t.text = f.Optional("text");
  t.information = f.Optional("information");
  if (const auto version = f.Optional("epc-version")) {
    if (*version != "1" && *version != "2" && *version != "001" && *version != "002") {
      return f.Refuse("epc --epc-version takes 001 or 002, not '" + *version + "'");
    }
    t.version = version->back() - '0';
  }
  if (!f.Error().empty()) return {};
  if (const std::string problem = payload::EpcProblem(t); !problem.empty()) {
    return f.Refuse("epc: " + problem);
  }
  return payload::EpcPayload(t);
}

// The address of one party from its flags ("creditor-name", ...).
payload::SwissAddress Address(PayloadFields& f, const std::string& party) {
  return {f.Text(party + "-name"),     f.Text(party + "-street"), f.Text(party + "-building"),
          f.Text(party + "-postcode"), f.Text(party + "-town"),   f.Text(party + "-country")};
}

std::string SwissQrBill(PayloadFields& f) {
  payload::SwissBill bill;
  bill.iban = payload::CompactIban(f.Text("iban"));
  bill.creditor = Address(f, "creditor");
  for (const char* part : {"name", "street", "building", "postcode", "town", "country"}) {
    if (f.Has(std::string("debtor-") + part)) bill.debtor = Address(f, "debtor");
  }
  std::string typed;
  bill.amountCents = ReadAmount(f, typed, {"CHF", "EUR"});
  const auto currency = f.Optional("currency");
  if (currency && !typed.empty() && typed != *currency) {
    return f.Refuse("swiss-qr-bill: --currency " + *currency + " and --amount in " + typed +
                    " differ");
  }
  bill.currency = currency ? *currency : typed.empty() ? "CHF" : typed;
  if (const auto reference = f.Optional("reference")) {
    bill.reference = payload::CompactIban(*reference);
  }
  bill.message = f.Optional("message");
  bill.billing = f.Optional("billing-information");
  if (!f.Error().empty()) return {};
  if (const std::string problem = payload::SwissQrBillProblem(bill); !problem.empty()) {
    return f.Refuse("swiss-qr-bill: " + problem);
  }
  return payload::SwissQrBillPayload(bill);
}

std::vector<PayloadFlag> SwissFlags() {
  std::vector<PayloadFlag> flags = {
      Required("iban", "IBAN", "the creditor's IBAN or QR-IBAN (CH or LI)", {"qr-iban"})};
  for (const std::string party : {"creditor", "debtor"}) {
    const bool creditor = party == "creditor";
    const auto add = [&](const std::string& part, const std::string& value, const std::string& help,
                         bool required) {
      flags.push_back(
          {party + "-" + part, value, creditor && required, "the " + party + "'s " + help, {}});
    };
    add("name", "TEXT", "name, at most 70 characters", true);
    add("street", "TEXT", "street, at most 70", false);
    add("building", "TEXT", "building number, at most 16", false);
    add("postcode", "TEXT", "postal code, at most 16", true);
    add("town", "TEXT", "town, at most 35", true);
    add("country", "CC", "country, two letters (CH)", true);
  }
  flags.push_back(Value("amount", "AMOUNT", "CHF1949.75, EUR12 or 12.50; left out: the payer's"));
  flags.push_back(Value("currency", "CUR", "CHF (default) or EUR"));
  flags.push_back(Value("reference", "REF",
                        "a QR reference (27 digits, with a QR-IBAN) or an RF creditor reference"));
  flags.push_back(Value("message", "TEXT", "unstructured message, at most 140 characters"));
  flags.push_back(
      Value("billing-information", "TEXT", "structured billing information (//S1/...)"));
  return flags;
}

}  // namespace

std::vector<PayloadCommand> PaymentCommands() {
  return {
      {"epc",
       "a SEPA credit transfer (EPC QR Code, GiroCode)",
       {Required("name", "TEXT", "the beneficiary's name, at most 70 characters"),
        Required("iban", "IBAN", "the beneficiary's IBAN (spaces allowed)"),
        Value("bic", "BIC", "the beneficiary's bank (required by --epc-version 001)"),
        Value("amount", "AMOUNT", "EUR12.34 or 12.34, 0.01 to 999999999.99"),
        Value("purpose", "CODE", "ISO 20022 purpose code, 4 capitals (GDDS)"),
        Value("reference", "RF", "an ISO 11649 creditor reference (RF18 5390 0754 7034)"),
        Value("text", "TEXT", "remittance text, at most 140 characters"),
        Value("information", "TEXT", "a note to the payer, at most 70 characters"),
        Value("epc-version", "VER", "001 or 002 (default)")},
       "Give --reference or --text, not both. The symbol is made at level M, and the\n"
       "content (UTF-8) holds at most 331 bytes.",
       Epc,
       "EPC069-12 \"Quick Response Code: Guidelines to Enable Data Capture for the\n"
       "Initiation of a SEPA Credit Transfer\" (version 002, character set 1: UTF-8)",
       kLevelM},
      {"swiss-qr-bill", "the payment part of a Swiss QR-bill", SwissFlags(),
       "Addresses are structured (type S). A QR-IBAN takes a QR reference; another IBAN\n"
       "an RF creditor reference or none. The symbol is made at level M. PDF, SVG, EPS,\n"
       "PostScript, EMF and WMF print it 46 x 46 mm (the quiet zone outside) with the\n"
       "Swiss cross (7 x 7 mm) in its centre; --module-mm sets another size. The\n"
       "pictures (PNG, JPEG, GIF, TIFF, BMP) draw the cross 7/46 of the symbol's side.",
       SwissQrBill, "SIX Swiss Implementation Guidelines QR-bill 2.2/2.3 (SPC 0200)", kLevelM,
       true},
  };
}

}  // namespace qrsmith::cli
