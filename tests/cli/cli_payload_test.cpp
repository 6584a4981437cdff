// The payload commands of the real binary: what they write (read back by
// zxing-cpp from the PNG on standard output), their help, and what they refuse.

#include <gtest/gtest.h>

#include "app/content_encryption.h"
#include "cli/cli_options.h"
#include "cli/payload_commands.h"
#include "payload/payloads.h"
#include "platform/codecs/image.h"
#include "tests/cli/process.h"
#include "tests/support/qr_decode.h"

namespace qrsmith {
namespace {

using testing::ProcessResult;

ProcessResult RunTool(std::vector<std::string> args) {
  return testing::RunProcess(QRSMITH_BINARY, args);
}

// The content of the symbol the command line writes as a PNG to standard output.
std::string Content(std::vector<std::string> args, std::string& err) {
  args.insert(args.end(), {"-t", "png", "-o", "-"});
  const ProcessResult r = RunTool(args);
  err = r.err;
  if (r.status != 0) return "exit " + std::to_string(r.status);
  const Bytes png(r.out.begin(), r.out.end());
  const auto picture = platform::codecs::DecodeImage(png);
  const auto decoded = picture ? testing::DecodeWithZxing(*picture) : std::nullopt;
  return decoded ? decoded->text : "unreadable";
}

TEST(CliPayloads, CommandsBuildTheirPayloadsUnderNewAndOldFlagNames) {
  using payload::WifiSecurity;
  const std::string wifi = payload::WifiPayload("Home;Net", {WifiSecurity::kWpa, "p:w45678", true});
  const payload::EpcTransfer epc{.name = "Franz Mustermann",
                                 .iban = "DE89370400440532013000",
                                 .amountCents = 1234,
                                 .reference = "RF18539007547034"};
  payload::SwissBill bill{.iban = "CH4431999123000889012",
                          .creditor = {"Muster AG", "Rue du Lac", "1268", "2501", "Biel", "CH"},
                          .amountCents = 194975,
                          .reference = "210000000003139471430009017"};
  const struct {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{"wifi", "--network-name", "Home;Net", "--wpa", "--network-password", "p:w45678",
        "--hidden"},
       wifi},
      {{"wifi", "--ssid", "Home;Net", "--password", "p:w45678", "--hidden"}, wifi},  // untyped: WPA
      {{"wifi", "--ssid", "Home", "--wep", "--password", "k2345"},
       payload::WifiPayload("Home", {WifiSecurity::kWep, "k2345"})},
      {{"wifi", "--ssid", "Home", "--wpa3", "--password", "k2345678"},
       payload::WifiPayload("Home", {WifiSecurity::kSae, "k2345678"})},
      {{"wifi", "--ssid", "Uni", "--enterprise", "--eap", "PEAP", "--identity", "li", "--phase2",
        "MSCHAPV2", "--password", "pw"},
       payload::WifiPayload("Uni", {.security = WifiSecurity::kEnterprise,
                                    .password = "pw",
                                    .eapMethod = "PEAP",
                                    .identity = "li",
                                    .phase2Method = "MSCHAPV2"})},
      {{"wifi", "--ssid", "Open"}, payload::WifiPayload("Open", payload::WifiFields{})},
      // Both passwords at once: the network's in the payload, which is then encrypted.
      {{"wifi", "--ssid", "Home", "--password", "pw345678", "--encryption-password", "Key"},
       *app::EncryptContent(payload::WifiPayload("Home", {WifiSecurity::kWpa, "pw345678"}), "Key")
            .text},
      {{"tel", "--number", "*100#"}, "tel:*100%23"},
      {{"mail", "--address", "a@x.org", "--subject", "Hi & bye", "--cc", "b@x.org"},
       "mailto:a@x.org?cc=b@x.org&subject=Hi%20%26%20bye"},
      {{"sms", "--number", "10086", "--message", "hi: there"},
       payload::SmsPayload("10086", std::string("hi: there"))},
      {{"sms", "--number", "10086", "--message", "hi there", "--uri"}, "sms:10086?body=hi%20there"},
      {{"geo", "--latitude", "48.2082", "--longitude", "-16.37", "--altitude", "171"},
       "geo:48.2082,-16.37,171"},
      {{"event", "--summary", "Launch", "--start", "2026-12-08T14:05:09", "--end",
        "2026-12-08T15:00", "--time-zone", "Europe/Vienna", "--remind", "1h", "--repeat", "yearly"},
       payload::EventPayload(
           "Launch", {2026, 12, 8, 14, 5, 9}, {2026, 12, 8, 15, 0, 0},
           {.timeZone = "Europe/Vienna", .remindMinutes = 60, .repeat = payload::Repeat::kYearly})},
      {{"event", "--summary", "Leap", "--start", "2024-02-29", "--end", "2024-02-29", "--all-day"},
       payload::EventPayload("Leap", {2024, 2, 29}, {2024, 2, 29}, {.allDay = true})},
      {{"mecard", "--family-name", "Li", "--given-name", "Lei", "--first-url", "http://a.org",
        "--second-url", "http://b.org", "--birthday", "1990-07-04"},
       payload::MecardPayload(
           "Li", "Lei",
           {.firstUrl = "http://a.org", .secondUrl = "http://b.org", .birthday = {{1990, 7, 4}}})},
      {{"mecard", "--family-name", "Li", "--url", "http://a.org", "--note", "n"},
       payload::MecardPayload("Li", "", {.firstUrl = "http://a.org", .note = "n"})},
      // A repeatable flag given several times: one field each, in order.
      {{"mecard", "--family-name", "Li", "--phone", "2", "--email", "b@x.org", "--phone", "1",
        "--email=a@x.org"},
       payload::MecardPayload("Li", "", {.emails = {"b@x.org", "a@x.org"}, .phones = {"2", "1"}})},
      {{"vcard", "--family-name", "Li", "--given-name", "Lei", "--company", "--title", "CTO",
        "--street", "Hauptstr. 1", "--city", "Wien"},
       payload::VcardPayload("Li", "Lei", true,
                             {.title = "CTO", .street = "Hauptstr. 1", .city = "Wien"})},
      {{"vcard", "--formatted-name", "Acme"},
       payload::VcardPayload("", "", false, {.formattedName = "Acme"})},
      {{"vcard", "--family-name", "Li", "--work-phone", "1", "--mobile-phone", "2", "--work-phone",
        "3", "--home-email", "a@x.org", "--home-email", "b@x.org"},
       payload::VcardPayload("Li", "", false,
                             {.mobilePhones = {"2"},
                              .workPhones = {"1", "3"},
                              .homeEmails = {"a@x.org", "b@x.org"}})},
      {{"bbm", "--first", "Li", "--second", "Lei", "--third", "2A3B"},
       payload::BbmPayload("Li", "Lei", "2A3B")},
      {{"market", "--search", "qr tools"}, payload::MarketSearchPayload("qr tools")},
      {{"bookmark", "--title", "X", "--url", "http://x.org"},
       payload::BookmarkPayload("X", "http://x.org")},
      {{"app-store", "--id", "42"}, payload::AppStoreLink(42)},
      {{"epc", "--name", "Franz Mustermann", "--iban", "de89 3704 0044 0532 0130 00", "--amount",
        "EUR12.34", "--reference", "RF18 5390 0754 7034"},
       payload::EpcPayload(epc)},
      {{"swiss-qr-bill", "--qr-iban", "CH44 3199 9123 0008 8901 2", "--creditor-name", "Muster AG",
        "--creditor-street", "Rue du Lac", "--creditor-building", "1268", "--creditor-postcode",
        "2501", "--creditor-town", "Biel", "--creditor-country", "CH", "--amount", "CHF1949.75",
        "--reference", "21 00000 00003 13947 14300 09017"},
       payload::SwissQrBillPayload(bill)},
  };
  for (const auto& c : cases) {
    std::string err;
    EXPECT_EQ(Content(c.args, err), c.expected) << c.args.front() << ": " << err;
  }
}

TEST(CliPayloads, EveryCommandsHelpComesBeforeItsChecks) {
  for (const cli::PayloadCommand& command : cli::PayloadCommands()) {
    for (const std::string help : {"--help", "-h"}) {
      const ProcessResult r = RunTool({command.name, help});
      EXPECT_EQ(r.status, 0) << command.name << ": " << r.err;
      EXPECT_EQ(r.out.rfind("Usage: qrsmith " + command.name + " ", 0), 0u) << command.name;
      for (const cli::PayloadFlag& flag : command.flags) {
        EXPECT_NE(r.out.find("--" + flag.name), std::string::npos) << command.name;
      }
    }
  }
  EXPECT_NE(RunTool({"wifi", "--help"}).out.find("A password without a protection flag means WPA"),
            std::string::npos);
  EXPECT_NE(RunTool({"vcard", "--help"}).out.find("Standard: vCard 3.0, RFC 2426"),
            std::string::npos);
  EXPECT_NE(RunTool({"event", "-h"}).out.find("YYYY-MM-DDTHH:MM:SS"), std::string::npos);
  EXPECT_NE(RunTool({"--help"}).out.find("--encryption-password"), std::string::npos);
}

TEST(CliPayloads, RefusalsNameTheProblem) {
  const std::string start = "--start takes YYYY-MM-DD, YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS";
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"wifi", "--password", "x"}, "wifi needs --network-name"},
      {{"wifi", "--ssid", ""}, "wifi needs a --network-name that is not empty"},
      {{"wifi", "--ssid", "H", "--wpa"}, "wifi --wpa needs --network-password"},
      {{"wifi", "--ssid", "H", "--wep"}, "wifi --wep needs --network-password"},
      {{"wifi", "--ssid", "H", "--wep", "--wpa", "--password", "k"}, "not --wep and --wpa"},
      {{"wifi", "--ssid", "H", "--password", "1234567"}, "8 to 63 printable ASCII"},
      {{"wifi", "--ssid", "H", "--eap", "PEAP"}, "--eap belongs to an --enterprise network"},
      {{"mail", "--address", ""}, "mail needs a --address that is not empty"},
      {{"bbm", "--first", "", "--second", "L", "--third", "1"}, "needs a --first-name that is"},
      {{"tel", "--number", "1\n2"}, "tel --number cannot hold a line break"},
      {{"app-store", "--id", "-5"}, "--application-id takes a whole number from 1, not '-5'"},
      {{"geo", "--latitude", "48,2", "--longitude", "16,37"},
       "geo: the latitude '48,2' has a decimal comma, which readers take for the separator: "
       "write '48.2'"},
      {{"map-view", "--latitude", "1&lvl=1", "--longitude", "2"}, "not a decimal number"},
      {{"vcard", "--organisation", "Acme"}, "vcard needs a name"},
      {{"event", "--summary", "x", "--start", "2015-03-10T10:00", "--end", "2015-03-10T09:00"},
       "event --end must be after --start"},
      {{"event", "--summary", "x", "--start", "2015-03-10", "--end", "2015-03-10T09:00",
        "--all-day"},
       "--all-day takes days alone"},
      {{"event", "--summary", "x", "--start", "2015-03-10", "--end", "2015-03-11", "--time-zone",
        "Mars;X"},
       "event --time-zone: takes a zone name"},
      {{"event", "--summary", "x", "--start", "2015-03-10", "--end", "2015-03-11", "--remind", "5"},
       "--remind takes minutes, hours or days"},
      {{"epc", "--name", "F", "--iban", "DE89370400440532013000", "--amount", "12,30"},
       "epc --amount: '12,30' has a decimal comma"},
      {{"epc", "--name", "F", "--iban", "DE89370400440532013000", "--text", "a", "--reference",
        "RF18539007547034"},
       "a reference or a text, not both"},
      {{"epc", "--name", "F", "--iban", "DE89370400440532013000", "-l", "H"},
       "epc is made at level M"},
      {{"swiss-qr-bill", "--iban", "CH5800791123000889012", "--creditor-name", "A",
        "--creditor-postcode", "1", "--creditor-town", "B", "--creditor-country", "CH",
        "--reference", "210000000003139471430009017"},
       "a QR reference (27 digits) needs a QR-IBAN"},
      {{"wifi", "--ssid", "H", "--password", ""}, "--network-password is empty"},
      {{"wifi", "--ssid", "A", "--network-name", "B"}, "--network-name is given twice"},
      {{"mecard", "--family-name", "A", "--note", "a", "--note", "b"}, "--note is given twice"},
      {{"wifi", "--ssid", "H", "--password", "a", "--network-password", "b"},
       "--network-password is given twice"},
      {{"-o", "a.png", "--output", "b.png", "x"}, "--output is given twice"},
      {{"--fg", "000000", "--foreground", "112233", "x"}, "--foreground is given twice"},
      {{"--password", "a", "--encryption-password", "b", "x"},
       "--encryption-password is given twice"},
      {{"-8", "vcard", "--family-name", "\x81\x5C", "--given-name", "x"}, "vcard takes text: -8"},
      {{"--encoding", "binary", "tel", "--number", "1"}, "tel takes text: -8"},
      {{"smtp", "--address", "a@x.org", "--subject", "Re: hi"}, "smtp --subject cannot hold ':'"},
      {{"smtp", "--address", "a:b@x.org"}, "smtp --address cannot hold ':'"},
      {{"sms", "--number", "1:2"}, "sms --number cannot hold ':'"},
      {{"market"}, "market takes either --package-name or --query"},
      {{"market", "--package", "a", "--query", "b"}, "market takes either"},
      {{"event", "--summary", "x", "--start", "2015-03-10T14:30junk", "--end", "2015-03-10"},
       start + " (a real date, years 0001 to 9999), not '2015-03-10T14:30junk'"},
      {{"event", "--summary", "x", "--start", "2015-02-31", "--end", "2015-03-10"},
       "not '2015-02-31'"},
      {{"event", "--summary", "x", "--start", "-100-03-10", "--end", "2015-03-10"},
       "not '-100-03-10'"},
      {{"event", "--summary", "x", "--start", "2015- 3- 1", "--end", "2015-03-10"},
       "not '2015- 3- 1'"},
      {{"event", "--summary", "x", "--start", "2015-03-10", "--end", "2015-03-10T24:00"},
       "--end takes"},
      {{"vcard", "--family-name", "L", "--given-name", "x", "--birthday", "1990-07-04T10:00"},
       "--birthday takes YYYY-MM-DD (a real date"},
  };
  for (const auto& c : cases) {
    const ProcessResult r = RunTool(c.args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(r.err.rfind("qrsmith: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << c.message;
  }
}

TEST(CliPayloads, PaymentCodesAreMadeAtLevelM) {
  const std::vector<std::string> epc = {"epc", "--name", "F", "--iban", "DE89370400440532013000"};
  const std::vector<std::string> swiss = {"swiss-qr-bill",
                                          "--iban",
                                          "CH5800791123000889012",
                                          "--creditor-name",
                                          "A",
                                          "--creditor-postcode",
                                          "1",
                                          "--creditor-town",
                                          "B",
                                          "--creditor-country",
                                          "CH"};
  for (const auto& args : {epc, swiss}) {
    for (const std::vector<std::string>& level : {std::vector<std::string>{}, {"-l", "M"}}) {
      std::vector<std::string> all = args;
      all.insert(all.end(), level.begin(), level.end());
      const cli::ParseResult parsed = cli::ParseCommandLine(all);
      ASSERT_TRUE(parsed.options.has_value()) << args.front() << ": " << parsed.error;
      EXPECT_EQ(parsed.options->level, 2) << args.front();
    }
  }
}

}  // namespace
}  // namespace qrsmith
