// Payloads as the programs that import them read them: vCards through
// vobject (with its validation), vcf and ical.js; events through icalendar,
// vobject and ical.js; EPC transfers against segno's own builder; QR-bills
// against swissqrbill's builder and validation; mailto: and tel: links
// through Python's urllib. Every field must come back as typed, for values
// full of the characters the formats reserve. One Python and one Node
// process read all cases.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "payload/payloads.h"
#include "tests/cli/process.h"
#include "tests/payload/hex_text.h"

namespace qrsmith::payload {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

struct ParserCase {
  std::string kind;  // what the scripts read it as: vcard, event, calendar, epc, swiss, mailto, tel
  std::string text;
  Fields typed;
};

const std::vector<std::string> kHostile = {
    "",
    R"(; , : \ ")",
    "line\nbreak",
    "crlf\r\nbreak",
    "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9 \xF0\x9F\x98\x80",
    "two  words ",
    "http://x.org/a?b=c&d=%20#top",
    std::string(1000, 'x'),
};

// What a reader gives back: every line break is one LF.
std::string Read(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

void AddCardAndEventCases(std::vector<ParserCase>& cases) {
  const DateTime start{2015, 3, 10, 14, 5, 9};
  const DateTime end{2015, 3, 10, 16, 0, 0};
  for (const std::string& h : kHostile) {
    const std::string r = Read(h);
    cases.push_back({"vcard",
                     VcardPayload(h, "Lei", false,
                                  {.title = h,
                                   .workEmails = {h, "lei@x.org"},
                                   .mobilePhones = {"+43 1 234#5", "+43 660 1"},
                                   .workAddress = h,
                                   .birthday = DateTime{1990, 7, 4},
                                   .nickname = h,
                                   .homeEmails = {"li@x.org"},
                                   .note = h,
                                   .photoUrl = "http://x.org/p.jpg",
                                   .latitude = "48.2082",
                                   .longitude = "-16.37",
                                   .street = "Hauptstr. 1",
                                   .city = h,
                                   .postcode = "1010",
                                   .country = h}),
                     {{"fn", r.empty() ? "Lei" : "Lei " + r},
                      {"family", r},
                      {"given", "Lei"},
                      {"title", r},
                      {"email", r},
                      {"email", "lei@x.org"},
                      {"email", "li@x.org"},
                      {"tel", "+43 1 234#5"},
                      {"tel", "+43 660 1"},
                      {"street", r},
                      {"street", "Hauptstr. 1"},
                      {"city", r},
                      {"postcode", "1010"},
                      {"country", r},
                      {"note", r},
                      {"nickname", r},
                      {"photo", "http://x.org/p.jpg"},
                      {"geo", "48.2082;-16.37"}}});
    cases.push_back({"event",
                     EventPayload(h, start, end, {.location = h, .description = h}),
                     {{"summary", r},
                      {"location", r},
                      {"description", r},
                      {"start", "20150310T140509"},
                      {"end", "20150310T160000"}}});
    cases.push_back({"mailto",
                     MailtoPayload("a%b&c=d#e?f@x.org",
                                   {.subject = h, .body = h, .cc = "b@x.org", .bcc = "c@x.org"}),
                     {{"to", "a%b&c=d#e?f@x.org"},
                      {"subject", r},
                      {"body", r},
                      {"cc", "b@x.org"},
                      {"bcc", "c@x.org"}}});
  }
  const EventFields everything{.location = "Wien",
                               .timeZone = "Europe/Vienna",
                               .remindMinutes = 15,
                               .repeat = Repeat::kWeekly};
  const Fields zoned = {{"summary", "S"},
                        {"start", "20150310T140509@Europe/Vienna"},
                        {"end", "20150310T160000@Europe/Vienna"},
                        {"rrule", "WEEKLY"},
                        {"trigger", "-PT15M"}};
  cases.push_back({"event", EventPayload("S", start, end, everything), zoned});
  Fields withUid = zoned;
  withUid.emplace_back("uid", "0123@x.org");
  cases.push_back(
      {"calendar",
       CalendarPayload("S", start, end, everything, "0123@x.org", {2026, 1, 2, 3, 4, 5}), withUid});
  cases.push_back({"event",
                   EventPayload("S", start, end, {.timeZone = "UTC"}),
                   {{"start", "20150310T140509Z"}, {"end", "20150310T160000Z"}}});
  cases.push_back({"event",
                   EventPayload("S", {2024, 2, 28}, {2024, 2, 29}, {.allDay = true}),
                   {{"start", "20240228"}, {"end", "20240301"}}});
  cases.push_back({"tel", TelPayload("*100#"), {{"number", "*100#"}}});
}

void AddPaymentCases(std::vector<ParserCase>& cases) {
  const std::string names[] = {"Franz Musterm\xC3\xA4nn", R"(A; B, C: "D" \E)",
                               "\xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", std::string(70, 'n')};
  int n = 0;
  for (const std::string& name : names) {
    EpcTransfer t{.name = name, .iban = "DE89370400440532013000"};
    Fields typed = {{"name", name}, {"iban", t.iban}};
    const auto add = [&](const char* field, const std::string& value) {
      typed.emplace_back(field, value);
      return value;
    };
    const char* amounts[] = {"12.3", "0.01", "999999999.99", "5"};
    const std::int64_t cents[] = {1230, 1, 99999999999, 500};
    t.amountCents = cents[n];
    add("amount", amounts[n]);
    if (n % 2 == 0) {
      t.text = add("text", "Invoice 7 http://x.org/?a=1&b=%20#x " + name);
    } else {
      t.reference = add("reference", "RF18539007547034");
    }
    if (n >= 2) t.bic = add("bic", "COBADEFFXXX");
    if (n == 3) t.purpose = add("purpose", "GDDS");
    EXPECT_EQ(EpcProblem(t), "") << name;
    cases.push_back({"epc", EpcPayload(t), typed});
    ++n;
  }

  const SwissAddress creditor{"Robert Schneider AG", "Rue du Lac", "1268", "2501", "Biel", "CH"};
  const SwissAddress debtor{R"(Pia-Maria Rutschmann-Schnyder; "B", C: \D)",
                            "Grosse Marktgasse",
                            "28",
                            "9400",
                            "Rorschach",
                            "CH"};
  const auto address = [](const std::string& party, const SwissAddress& a) {
    return Fields{{party + "-name", a.name},         {party + "-street", a.street},
                  {party + "-building", a.building}, {party + "-postcode", a.postcode},
                  {party + "-town", a.town},         {party + "-country", a.country}};
  };
  const struct {
    SwissBill bill;
    Fields extra;
  } bills[] = {
      // SIX's example: QR-IBAN and QR reference, with a debtor.
      {{.iban = "CH4431999123000889012",
        .creditor = creditor,
        .debtor = debtor,
        .amountCents = 194975,
        .reference = "210000000003139471430009017",
        .message = "Auftrag vom 15.06.2020 \xE2\x82\xAC \xC3\xA9",
        .billing = "//S1/10/10201409/11/200701/20/140.000-53/30/102673831/31/200615"},
       {{"amount", "1949.75"},
        {"currency", "CHF"},
        {"reference", "210000000003139471430009017"},
        {"message", "Auftrag vom 15.06.2020 \xE2\x82\xAC \xC3\xA9"},
        {"billing", "//S1/10/10201409/11/200701/20/140.000-53/30/102673831/31/200615"}}},
      // An IBAN with a creditor reference, in euros.
      {{.iban = "CH5800791123000889012",
        .creditor = creditor,
        .amountCents = 1,
        .currency = "EUR",
        .reference = "RF18539007547034"},
       {{"amount", "0.01"}, {"currency", "EUR"}, {"reference", "RF18539007547034"}}},
      // No amount, no reference, no debtor: the payer fills them in.
      {{.iban = "CH5800791123000889012", .creditor = creditor}, {{"currency", "CHF"}}},
  };
  for (const auto& b : bills) {
    EXPECT_EQ(SwissQrBillProblem(b.bill), "") << b.bill.iban;
    Fields typed = address("creditor", b.bill.creditor);
    if (b.bill.debtor) {
      for (auto& f : address("debtor", *b.bill.debtor)) typed.push_back(f);
    }
    typed.emplace_back("iban", b.bill.iban);
    for (const auto& f : b.extra) typed.push_back(f);
    cases.push_back({"swiss", SwissQrBillPayload(b.bill), typed});
  }
}

// Runs one parser script over the cases of the kinds it reads and expects
// "ok" for each.
void ExpectParsersAgree(const std::vector<ParserCase>& cases, const std::string& program,
                        const std::string& script, std::initializer_list<std::string_view> kinds) {
  std::string input;
  std::vector<const ParserCase*> sent;
  for (const ParserCase& c : cases) {
    if (std::find(kinds.begin(), kinds.end(), c.kind) == kinds.end()) continue;
    input += c.kind + "\t" + Hex(c.text);
    for (const auto& [name, value] : c.typed) input += "\t" + name + "=" + Hex(value);
    input += "\n";
    sent.push_back(&c);
  }
  const testing::ProcessResult run = testing::RunProcess(program, {script}, input);
  ASSERT_EQ(run.status, 0) << program << " " << script << ": " << run.err;
  std::istringstream lines(run.out);
  for (const ParserCase* c : sent) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << script << " answered fewer cases than it was given";
    EXPECT_EQ(line, "ok") << script << " on " << c->kind << ":\n" << c->text;
  }
}

TEST(PayloadParsers, ImportingProgramsReadEveryFieldAsTyped) {
  namespace fs = std::filesystem;
  const fs::path here = QRSMITH_PAYLOAD_TEST_DIR;
  ASSERT_TRUE(fs::exists(here / "../node_modules/swissqrbill") &&
              fs::exists(here / "../node_modules/ical.js") &&
              fs::exists(here / "../node_modules/vcf"))
      << "the Node parsers are missing: run scripts/install-deps (npm install in tests/)";
  std::vector<ParserCase> cases;
  AddCardAndEventCases(cases);
  AddPaymentCases(cases);
  ExpectParsersAgree(cases, QRSMITH_PYTHON3, (here / "payload_parsers.py").string(),
                     {"vcard", "event", "calendar", "epc", "mailto", "tel"});
  ExpectParsersAgree(cases, QRSMITH_NODE, (here / "payload_parsers.cjs").string(),
                     {"vcard", "event", "calendar", "swiss"});
}

}  // namespace
}  // namespace qrsmith::payload
