// The payload commands of the real binary: what they write (read back by
// zxing-cpp from the PNG on standard output), their help, and what they refuse.

#include <gtest/gtest.h>

#include "app/content_encryption.h"
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
  const std::string wifi = payload::WifiPayload("Home;Net", false, std::string("p:w"), true);
  const struct {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{"wifi", "--network-name", "Home;Net", "--wpa", "--network-password", "p:w", "--hidden"},
       wifi},
      {{"wifi", "--ssid", "Home;Net", "--password", "p:w", "--hidden"}, wifi},  // WPA when untyped
      {{"wifi", "--ssid", "Home", "--wep", "--password", "k"},
       payload::WifiPayload("Home", true, std::string("k"))},
      {{"wifi", "--ssid", "Open"}, payload::WifiPayload("Open")},
      // Both passwords at once: the network's in the payload, which is then encrypted.
      {{"wifi", "--ssid", "Home", "--password", "pw", "--encryption-password", "Key"},
       *app::EncryptContent(payload::WifiPayload("Home", false, std::string("pw")), "Key").text},
      {{"tel", "--number", "+8613800000000"}, payload::TelPayload("+8613800000000")},
      {{"sms", "--number", "10086", "--message", "hi: there"},
       payload::SmsPayload("10086", std::string("hi: there"))},
      {{"geo", "--latitude", "39.9", "--longitude", "116.4"}, payload::GeoPayload("39.9", "116.4")},
      {{"event", "--summary", "Launch", "--start", "2026-12-08T14:05:09", "--end",
        "2026-12-08T15:00"},
       payload::EventPayload("Launch", {2026, 12, 8, 14, 5, 9}, {2026, 12, 8, 15, 0, 0})},
      {{"event", "--summary", "Leap", "--start", "2024-02-29", "--end", "9999-12-31T23:59:59"},
       payload::EventPayload("Leap", {2024, 2, 29}, {9999, 12, 31, 23, 59, 59})},
      {{"mecard", "--family-name", "Li", "--given-name", "Lei", "--first-url", "http://a.org",
        "--second-url", "http://b.org", "--birthday", "1990-07-04"},
       payload::MecardPayload(
           "Li", "Lei",
           {.firstUrl = "http://a.org", .secondUrl = "http://b.org", .birthday = {{1990, 7, 4}}})},
      {{"mecard", "--family-name", "Li", "--given-name", "Lei", "--url", "http://a.org"},
       payload::MecardPayload("Li", "Lei", {.firstUrl = "http://a.org"})},
      {{"vcard", "--family-name", "Li", "--given-name", "Lei", "--company", "--title", "CTO"},
       payload::VcardPayload("Li", "Lei", true, {.title = "CTO"})},
      {{"bbm", "--first-name", "Li", "--last-name", "Lei", "--pin", "2A3B"},
       payload::BbmPayload("Li", "Lei", "2A3B")},
      {{"bbm", "--first", "Li", "--second", "Lei", "--third", "2A3B"},
       payload::BbmPayload("Li", "Lei", "2A3B")},
      {{"market", "--search", "qr tools"}, payload::MarketSearchPayload("qr tools")},
      {{"market", "--package-name", "org.x"}, payload::MarketDetailsPayload("org.x")},
      {{"bookmark", "--title", "X", "--url", "http://x.org"},
       payload::BookmarkPayload("X", "http://x.org")},
      {{"app-store", "--id", "42"}, payload::AppStoreLink(42)},
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
  EXPECT_NE(RunTool({"wifi", "--help"}).out.find("A password without --wep or --wpa means WPA"),
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
      {{"wifi", "--ssid", "H", "--wep", "--wpa", "--password", "k"}, "not both"},
      {{"wifi", "--ssid", "H", "--password", ""}, "--network-password is empty"},
      {{"wifi", "--ssid", "A", "--network-name", "B"}, "--network-name is given twice"},
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

}  // namespace
}  // namespace qrsmith
