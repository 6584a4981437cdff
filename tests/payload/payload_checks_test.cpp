// The checks that refuse what readers would misread: coordinates, Wi-Fi
// keys, and the numbers of payment codes against the standards' own
// example numbers.

#include <gtest/gtest.h>

#include "payload/payloads.h"

namespace qrsmith::payload {
namespace {

// Each check's problem text, or "" when it accepts; `contains` is a part of
// the expected problem ("" when it must accept).
struct CheckCase {
  std::string problem;
  const char* contains;
};

void ExpectChecks(std::initializer_list<CheckCase> cases) {
  for (const CheckCase& c : cases) {
    if (*c.contains == '\0') {
      EXPECT_EQ(c.problem, "");
    } else {
      EXPECT_NE(c.problem.find(c.contains), std::string::npos) << c.problem << " / " << c.contains;
    }
  }
}

TEST(PayloadChecks, GeoTakesRfc5870NumbersInRange) {
  ExpectChecks({
      {GeoProblem("48.2082", "16.3738"), ""},
      {GeoProblem("-90", "180", "-12.5"), ""},
      {GeoProblem("48,2", "16"),
       "decimal comma, which readers take for the separator: write '48.2'"},
      {GeoProblem("90.0001", "0"), "latitude '90.0001' is beyond 90"},
      {GeoProblem("0", "-180.5"), "longitude '-180.5' is beyond 180"},
      {GeoProblem("", "1"), "latitude '' is not a decimal number"},
      {GeoProblem("1&lvl=1", "1"), "not a decimal number"},
      {GeoProblem("1.", "1"), "not a decimal number"},
      {GeoProblem("+1", "1"), "not a decimal number"},
      {GeoProblem("1e2", "1"), "not a decimal number"},
      {GeoProblem("1", "1", "12m"), "altitude '12m'"},
  });
}

TEST(PayloadChecks, WifiKeysAreOnesDevicesJoinWith) {
  const auto problem = [](WifiSecurity s, std::string key, std::string ssid = "net") {
    return WifiProblem(ssid, {.security = s, .password = std::move(key)});
  };
  const std::string hex64(64, 'a');
  std::string cjk;  // 11 characters, 33 bytes
  for (int i = 0; i < 11; ++i) cjk += "\xE4\xB8\xAD";
  ExpectChecks({
      {problem(WifiSecurity::kWpa, "12345678"), ""},
      {problem(WifiSecurity::kWpa, std::string(63, 'x')), ""},
      {problem(WifiSecurity::kWpa, hex64), ""},
      {problem(WifiSecurity::kWpa, "1234567"), "8 to 63"},
      {problem(WifiSecurity::kWpa, std::string(64, 'x')), "8 to 63"},
      {problem(WifiSecurity::kWpa, "p\xC3\xA4sswort"), "8 to 63 printable ASCII"},
      {problem(WifiSecurity::kSae, hex64), "8 to 63"},
      {problem(WifiSecurity::kWep, "abcde"), ""},
      {problem(WifiSecurity::kWep, "0123456789"), ""},
      {problem(WifiSecurity::kWep, "abcdef"), "WEP key"},
      {problem(WifiSecurity::kOpen, "", std::string(32, 's')), ""},
      {problem(WifiSecurity::kOpen, "", std::string(33, 's')), "1 to 32 bytes, not 33"},
      {problem(WifiSecurity::kOpen, "", cjk), "not 33"},
      {problem(WifiSecurity::kEnterprise, "x"), "EAP method"},
  });
}

TEST(PayloadChecks, PaymentNumbersPassTheirPublishedChecks) {
  std::string amountProblem;
  ExpectChecks({
      // ISO 13616 and the banks' published examples.
      {IbanProblem("DE89370400440532013000"), ""},
      {IbanProblem("GB82WEST12345698765432"), ""},
      {IbanProblem("CH9300762011623852957"), ""},
      {IbanProblem("DE89370400440532031000"), "check digits"},
      {IbanProblem("DE8937040044053201300"), "check digits"},
      {IbanProblem("D89370400440532013000"), "not an IBAN"},
      {BicProblem("COBADEFFXXX"), ""},
      {BicProblem("COBADEFF"), ""},
      {BicProblem("COBADEF"), "not a BIC"},
      {BicProblem("C0BADEFF"), "not a BIC"},
      // ISO 11649's example, plain and padded.
      {CreditorReferenceProblem("RF18539007547034"), ""},
      {CreditorReferenceProblem("RF18000000000539007547034"), ""},
      {CreditorReferenceProblem("RF19539007547034"), "check digits"},
      {CreditorReferenceProblem("RF1853900754703412345678901"), "not a creditor reference"},
  });
  // SIX's example QR reference and QR-IBAN.
  EXPECT_EQ(QrReferenceCheckDigit("21000000000313947143000901"), 7);
  EXPECT_EQ(QrReferenceCheckDigit("00000000000000000000000000"), 0);
  EXPECT_TRUE(IsQrIban("CH4431999123000889012"));
  EXPECT_FALSE(IsQrIban("CH5800791123000889012"));
  EXPECT_EQ(CompactIban("de89 3704 0044 0532 0130 00"), "DE89370400440532013000");

  const struct {
    const char* text;
    std::int64_t cents;  // -1: refused
    const char* currency;
  } amounts[] = {{"EUR12.34", 1234, "EUR"},
                 {"12.3", 1230, ""},
                 {"CHF 5", 500, "CHF"},
                 {"0.01", 1, ""},
                 {"999999999.99", 99999999999, ""},
                 {"0", -1, ""},
                 {"12,30", -1, ""},
                 {"1.234", -1, ""},
                 {"1000000000", -1, ""},
                 {"EU12", -1, ""},
                 {"12.", -1, ""},
                 {"-1", -1, ""}};
  for (const auto& a : amounts) {
    std::string problem;
    const auto amount = ParseAmount(a.text, problem);
    EXPECT_EQ(amount ? amount->cents : -1, a.cents) << a.text;
    EXPECT_EQ(amount ? amount->currency : "", a.currency) << a.text;
    EXPECT_EQ(problem.empty(), amount.has_value()) << a.text;
  }
  ParseAmount("12,30", amountProblem);
  EXPECT_NE(amountProblem.find("decimal comma"), std::string::npos);
}

}  // namespace
}  // namespace qrsmith::payload
