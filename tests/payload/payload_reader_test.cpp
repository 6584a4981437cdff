// Payloads as a phone shows them: each builder's text is encoded, read back
// by zxing-cpp and handed to ZXing's result parsers (the code Android reader
// apps are built on, run in one JVM for all cases), which must give back
// every field that went in, for inputs full of the characters the formats
// reserve. Absent and empty fields count as the same: a phone shows neither.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "encoder/qr_encoder.h"
#include "payload/payloads.h"
#include "tests/cli/process.h"
#include "tests/payload/hex_text.h"
#include "tests/support/qr_decode.h"

namespace qrsmith::payload {
namespace {

// Field name and value; a list field repeats its name.
using Fields = std::vector<std::pair<std::string, std::string>>;

struct ReaderCase {
  std::string payload;
  Fields expected;
};

// Text fields get all of these; each stands for an input left out too.
const std::vector<std::string> kHostile = {
    R"(back\slash)",
    "semi;colon",
    "com,ma",
    "co:lon",
    R"(say "hi")",
    "line\nbreak",
    "two  words",
    "#hash &amp %pct +plus ?q =eq",
    "\xE4\xB8\xAD\xE6\x96\x87",  // CJK
    "emoji \xF0\x9F\x98\x80",
    "",
};
const std::vector<std::string> kNumbers = {"+86 (10) 1234-5678", "*31#5551234", "5551234,,9;2"};
const std::vector<std::string> kAddresses = {"li@x.org",
                                             "li+tag@x.org",
                                             "a%b&c=d#e?f@x.org",
                                             R"("two words"@x.org)",
                                             R"("back\slash;semi"@x.org)",
                                             "\xE4\xB8\xAD@x.org"};
const std::vector<std::string> kUrls = {"http://x.org/p", "https://x.org/a;b,c:d?q=a+b&r=%20#top",
                                        "http://x.org/\xE4\xB8\xAD?k=\xF0\x9F\x98\x80"};
const DateTime kStart{2015, 3, 10, 14, 5, 9};
const DateTime kEnd{2015, 3, 10, 16, 0, 0};

bool HasChar(const std::string& text, char c) { return text.find(c) != std::string::npos; }

// Cases of the builders that address web services: the inserted value comes
// back from the decoded path or query parameter.
void AddLinkCases(std::vector<ReaderCase>& cases) {
  for (const std::string& h : kHostile) {
    const auto link = [&](std::string payload, std::string name, std::string value) {
      cases.push_back({std::move(payload), {{"type", "URI"}, {std::move(name), std::move(value)}}});
    };
    link(MapSearchLink("39.9", "116.4", h), "q:q", "39.9,116.4 (" + h + ")");
    link(MarketDetailsPayload(h), "q:id", h);
    link(MarketSearchPayload(h), "q:q", h);
    link(VenueLink(h), "path", "/v/" + h);
    link(SocialProfileLink(h), "path", "/" + h);
    link(MicroblogProfileLink(h), "path", "/" + h);
    link(MicroblogStatusLink(h), "q:status", h);
  }
  cases.push_back({MapViewLink("39.9", "116.4"), {{"type", "URI"}, {"q:cp", "39.9~116.4"}}});
  cases.push_back({AppStoreLink(284417350),
                   {{"type", "URI"}, {"uri", "itms://itunes.apple.com/app/id284417350"}}});
  cases.push_back(
      {YoutubePayload("dQw4w9WgXcQ"), {{"type", "URI"}, {"uri", "youtube://dQw4w9WgXcQ"}}});
  for (const std::string& url : kUrls) {
    cases.push_back({UrltoPayload(url), {{"type", "URI"}, {"uri", url}, {"title", ""}}});
    for (const std::string& h : kHostile) {
      cases.push_back({BookmarkPayload(h, url), {{"type", "URI"}, {"uri", url}, {"title", h}}});
    }
  }
  cases.push_back({GeoPayload("39.9", "116.4"),
                   {{"type", "GEO"}, {"latitude", "39.9"}, {"longitude", "116.4"}}});
  cases.push_back({GeoPayload("39.9", "116.4", ""), {{"type", "GEO"}, {"latitude", "39.9"}}});
  cases.push_back({GeoPayload("-33.86", "151.2", "58"),
                   {{"type", "GEO"}, {"longitude", "151.2"}, {"altitude", "58.0"}}});
}

void AddMessageCases(std::vector<ReaderCase>& cases) {
  for (const std::string& address : kAddresses) {
    cases.push_back({MailtoPayload(address), {{"type", "EMAIL_ADDRESS"}, {"to", address}}});
  }
  for (const std::string& number : kNumbers) {
    // ZXing hands the dialler the link as written: "#" stays "%23" there.
    std::string dialled = number;
    if (const auto hash = dialled.find('#'); hash != std::string::npos) {
      dialled.replace(hash, 1, "%23");
    }
    cases.push_back({TelPayload(number), {{"type", "TEL"}, {"number", dialled}}});
    cases.push_back({SmsPayload(number), {{"type", "SMS"}, {"number", number}, {"body", ""}}});
  }
  for (const std::string& h : kHostile) {
    const std::string& number = kNumbers[h.size() % kNumbers.size()];
    cases.push_back({SmsPayload(number, h), {{"type", "SMS"}, {"number", number}, {"body", h}}});
    // A mail program gets every line break as CR LF, as RFC 6068 writes it.
    std::string crlf = h;
    if (const auto lf = crlf.find('\n'); lf != std::string::npos) crlf.replace(lf, 1, "\r\n");
    cases.push_back(
        {SmsUriPayload("+4312345", h), {{"type", "SMS"}, {"number", "+4312345"}, {"body", crlf}}});
    cases.push_back({MailtoPayload("li@x.org", {.subject = h, .body = h, .cc = "a@x.org"}),
                     {{"type", "EMAIL_ADDRESS"},
                      {"to", "li@x.org"},
                      {"cc", "a@x.org"},
                      {"subject", crlf},
                      {"body", crlf}}});
    cases.push_back({MmsPayload(number, h), {{"type", "SMS"}, {"number", number}, {"body", h}}});
    // An SMTP subject cannot hold a colon: the command-line tool refuses one.
    const std::string subject = HasChar(h, ':') ? "plain" : h;
    const std::string& address = kAddresses[h.size() % kAddresses.size()];
    cases.push_back(
        {SmtpPayload(address, subject, h),
         {{"type", "EMAIL_ADDRESS"}, {"to", address}, {"subject", subject}, {"body", h}}});
    cases.push_back({SmtpPayload(address, std::nullopt, h),
                     {{"type", "EMAIL_ADDRESS"}, {"subject", ""}, {"body", h}}});
  }
}

void AddRecordCases(std::vector<ReaderCase>& cases) {
  for (const std::string& h : kHostile) {
    const std::string given = h.empty() ? "Lei" : "Lei " + h;  // readers trim names
    if (!h.empty()) {                                          // a network needs a name
      const std::string key = "k" + h + "2345678";             // a passphrase of 8 or more
      cases.push_back({WifiPayload(h, {WifiSecurity::kWpa, key, true}),
                       {{"type", "WIFI"},
                        {"ssid", h},
                        {"password", key},
                        {"encryption", "WPA"},
                        {"hidden", "true"}}});
      cases.push_back({WifiPayload(h, {WifiSecurity::kSae, key}),
                       {{"type", "WIFI"}, {"password", key}, {"encryption", "SAE"}}});
      cases.push_back({WifiPayload(h, {.security = WifiSecurity::kEnterprise,
                                       .password = key,
                                       .eapMethod = "PEAP",
                                       .anonymousIdentity = h,
                                       .identity = h,
                                       .phase2Method = "MSCHAPV2"}),
                       {{"type", "WIFI"},
                        {"ssid", h},
                        {"password", key},
                        {"encryption", "WPA2-EAP"},
                        {"eap", "PEAP"},
                        {"anonymous", h},
                        {"identity", h},
                        {"phase2", "MSCHAPV2"}}});
      cases.push_back(
          {WifiPayload(h, WifiFields{}),
           {{"type", "WIFI"}, {"ssid", h}, {"encryption", "nopass"}, {"hidden", "false"}}});
    }
    cases.push_back({EventPayload(h, kStart, kEnd, {.location = h, .description = h}),
                     {{"type", "CALENDAR"},
                      {"summary", h},
                      {"start", "20150310T140509"},
                      {"end", "20150310T160000"},
                      {"location", h},
                      {"description", h}}});
    cases.push_back(
        {EventPayload(h, kStart, kEnd), {{"type", "CALENDAR"}, {"summary", h}, {"location", ""}}});
    const std::string& url = kUrls[h.size() % kUrls.size()];
    // ZXing splits a MECARD name at its first comma, escaped or not.
    const std::string family = HasChar(h, ',') || h.empty() ? "Li" : h;
    cases.push_back({MecardPayload(family, given,
                                   {.emails = {h, "li@x.org"},
                                    .phones = {kNumbers[0], kNumbers[1]},
                                    .firstUrl = url,
                                    .secondUrl = kUrls[0],
                                    .birthday = DateTime{1990, 7, 4},
                                    .note = h,
                                    .address = h}),
                     {{"type", "ADDRESSBOOK"},
                      {"name", given + " " + family},
                      {"note", h},
                      {"address", h},
                      {"email", h},
                      {"email", "li@x.org"},
                      {"phone", kNumbers[0]},
                      {"phone", kNumbers[1]},
                      {"url", kUrls[0]},
                      {"url", url},
                      {"birthday", "19900704"}}});
    cases.push_back({VcardPayload("Li", "Lei", false,
                                  {.formattedName = given,
                                   .organisation = h,
                                   .title = h,
                                   .workEmails = {h},
                                   .mobilePhones = {kNumbers[0], kNumbers[2]},
                                   .workPhones = {h},
                                   .homePhones = {kNumbers[1]},
                                   .workFax = h,
                                   .homeFax = kNumbers[2],
                                   .workAddress = h,
                                   .homeAddress = "1 Main St\nTEL:999",
                                   .workUrl = url,
                                   .homeUrl = kUrls[0],
                                   .birthday = DateTime{1990, 7, 4}}),
                     {{"type", "ADDRESSBOOK"},
                      {"name", given},
                      {"org", h},
                      {"title", h},
                      {"email", h},
                      {"phone", kNumbers[0]},
                      {"phone", kNumbers[2]},
                      {"phone", h},
                      {"phone", kNumbers[1]},
                      {"phone", h},
                      {"phone", kNumbers[2]},
                      {"address", h},
                      {"address", "1 Main St\nTEL:999"},
                      {"url", url},
                      {"url", kUrls[0]},
                      {"birthday", "1990-07-04"}}});
    // Without a formatted name the card shows the given and family names.
    cases.push_back({VcardPayload(h, "Lei", true),
                     {{"type", "ADDRESSBOOK"}, {"name", h.empty() ? "Lei" : "Lei " + h}}});
  }
  cases.push_back({BbmPayload("Li", "Lei", "2A3B4C5D"),
                   {{"type", "TEXT"}, {"text", "bbm://2A3B4C5D00000000Li Lei"}}});
}

// One output line of the Java program: tab-separated name=hex pairs.
Fields ParseFields(const std::string& line) {
  Fields fields;
  std::istringstream in(line);
  for (std::string pair; std::getline(in, pair, '\t');) {
    const std::size_t eq = pair.find('=');
    if (eq != std::string::npos)
      fields.emplace_back(pair.substr(0, eq), FromHex(pair.substr(eq + 1)));
  }
  return fields;
}

// The non-empty values of `name`, in order.
std::vector<std::string> Values(const Fields& fields, const std::string& name) {
  std::vector<std::string> out;
  for (const auto& [n, v] : fields) {
    if (n == name && !v.empty()) out.push_back(v);
  }
  return out;
}

TEST(PayloadReaders, ZxingShowsEveryFieldAsItWentIn) {
  namespace fs = std::filesystem;
  ASSERT_TRUE(fs::exists(QRSMITH_JAVA) && fs::exists(QRSMITH_ZXING_CORE_JAR))
      << "the ZXing oracle needs java and ZXing's core.jar (" << QRSMITH_JAVA << ", "
      << QRSMITH_ZXING_CORE_JAR << "): run scripts/install-deps";
  std::vector<ReaderCase> cases;
  AddLinkCases(cases);
  AddMessageCases(cases);
  AddRecordCases(cases);

  std::string texts;
  for (const ReaderCase& c : cases) {
    const Bytes content(c.payload.begin(), c.payload.end());
    QrEncoder encoder;
    EncodeOptions options;
    options.allowKanji = false;  // UTF-8 content: Kanji mode would mean Shift-JIS to readers
    const auto symbol = encoder.Encode(content, static_cast<std::int32_t>(content.size()), options);
    ASSERT_NE(symbol, nullptr) << c.payload;
    const auto decoded = testing::DecodeWithZxing(*symbol);
    ASSERT_TRUE(decoded.has_value()) << c.payload;
    ASSERT_EQ(decoded->text, c.payload);
    texts += Hex(decoded->text) + "\n";
  }
  const testing::ProcessResult run =
      testing::RunProcess(QRSMITH_JAVA,
                          {"-Duser.timezone=UTC", "-XX:TieredStopAtLevel=1", "-cp",
                           QRSMITH_ZXING_CORE_JAR, QRSMITH_ZXING_PARSER_SOURCE},
                          texts);
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  for (const ReaderCase& c : cases) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << "ZXing answered fewer texts than it was given";
    const Fields actual = ParseFields(line);
    std::set<std::string> names;
    for (const auto& field : c.expected) names.insert(field.first);
    for (const std::string& name : names) {
      EXPECT_EQ(Values(actual, name), Values(c.expected, name)) << "field " << name << " of\n"
                                                                << c.payload;
    }
  }
  std::cout << "ZXing read " << cases.size() << " payloads\n";
}

}  // namespace
}  // namespace qrsmith::payload
