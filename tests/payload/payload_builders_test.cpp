#include <gtest/gtest.h>

#include <string>

#include "payload/payloads.h"

namespace qrsmith::payload {
namespace {

struct Case {
  const char* what;
  std::string actual;
  std::string expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(MessagePayloads, OmittedPartsAreLeftOutAndEmptyOnesKeepTheirLabel) {
  ExpectAll({
      {"mailto", MailtoPayload("a:b+c@x.org"), "mailto:a:b%2Bc@x.org"},
      {"mailto, RFC 6068 encodes", MailtoPayload(R"("a b,c"?#%@x.org)"),
       "mailto:%22a%20b%2Cc%22%3F%23%25@x.org"},
      {"tel, unescaped", TelPayload("+86 10,123;4"), "tel:+86 10,123;4"},
      {"sms, message omitted", SmsPayload("12345"), "smsto:12345"},
      {"sms, message empty", SmsPayload("12345", ""), "smsto:12345:"},
      {"sms, message unescaped", SmsPayload("12345", R"(hi\, at 5:30; ok)"),
       R"(smsto:12345:hi\, at 5:30; ok)"},
      {"mms, message omitted", MmsPayload("12345"), "mmsto:12345"},
      {"mms, message empty", MmsPayload("12345", ""), "mmsto:12345:"},
      {"smtp, address only", SmtpPayload("a@x.org"), "SMTP:a@x.org"},
      {"smtp, subject only", SmtpPayload("a@x.org", "Hi"), "SMTP:a@x.org:Hi"},
      {"smtp, both", SmtpPayload("a@x.org", "Hi", "Body: yes, \\o/"),
       R"(SMTP:a@x.org:Hi:Body: yes, \o/)"},
      {"smtp, body only", SmtpPayload("a@x.org", std::nullopt, "B"), "SMTP:a@x.org::B"},
      {"smtp, empty subject", SmtpPayload("a@x.org", "", "B"), "SMTP:a@x.org::B"},
      {"smtp, empty body", SmtpPayload("a@x.org", "S", ""), "SMTP:a@x.org:S:"},
      {"bbm, unescaped", BbmPayload("Li;", "Lei,", "2A3B4C5D"), "bbm://2A3B4C5D00000000Li; Lei,"},
  });
}

TEST(LinkPayloads, EscapeOnlyWhereTheFormatHasFields) {
  ExpectAll({
      {"geo", GeoPayload("39.9", "116.4"), "geo:39.9,116.4"},
      {"geo, altitude", GeoPayload("39.9", "116.4", "43.5"), "geo:39.9,116.4,43.5"},
      {"geo, empty altitude left out", GeoPayload("39.9", "116.4", ""), "geo:39.9,116.4"},
      {"geo, comma kept", GeoPayload("39,9", "116;4"), "geo:39,9,116;4"},
      {"market details", MarketDetailsPayload("com.x:y"), "market://details?id=com.x%3Ay"},
      {"market search", MarketSearchPayload("qr code"), "market://search?q=qr+code"},
      {"market search, comma and plus", MarketSearchPayload("a, b+c"),
       "market://search?q=a%2C+b%2Bc"},
      {"urlto, empty title, unescaped", UrltoPayload("http://x.org/a;b"),
       "urlto::http://x.org/a;b"},
      {"bookmark", BookmarkPayload("My; site", "http://x.org"),
       R"(MEBKM:TITLE:My\; site;URL:http\://x.org;;)"},
      {"bookmark, empty", BookmarkPayload("", ""), "MEBKM:TITLE:;URL:;;"},
      {"youtube", YoutubePayload("a:b"), R"(youtube://a\:b)"},
  });
}

TEST(LinkPayloads, WebAddressesPercentEncodeTheirValues) {
  ExpectAll({
      {"map search", MapSearchLink("39.9", "116.4", "Tian an men"),
       "http://maps.google.com/maps?f=q&q=39.9%2C116.4+%28Tian+an+men%29"},
      {"map view", MapViewLink("39.9", "116.4"),
       "http://www.bing.com/maps/?v=2&cp=39.9~116.4&lvl=16&dir=0&sty=r"},
      {"app store", AppStoreLink(284417350), "itms://itunes.apple.com/app/id284417350"},
      {"app store, zero", AppStoreLink(0), "itms://itunes.apple.com/app/id0"},
      {"app store, negative", AppStoreLink(-2147483647 - 1),
       "itms://itunes.apple.com/app/id-2147483648"},
      {"venue", VenueLink("4b0;x y"), "http://foursquare.com/v/4b0%3Bx%20y"},
      {"social", SocialProfileLink("some.one"), "http://www.facebook.com/some.one"},
      {"microblog", MicroblogProfileLink("some_one/\xE4\xB8\xAD"),
       "http://twitter.com/some_one%2F%E4%B8%AD"},
      {"microblog status", MicroblogStatusLink("a b&c #d:e;f"),
       "http://twitter.com/home?status=a+b%26c+%23d%3Ae%3Bf"},
  });
}

TEST(WifiPayload, WritesFieldsInTheOrderSsidHiddenTypePassword) {
  ExpectAll({
      {"WPA", WifiPayload("home", false, "pw"), "WIFI:S:home;T:WPA;P:pw;"},
      {"WEP", WifiPayload("home", true, "pw"), "WIFI:S:home;T:WEP;P:pw;"},
      {"WPA, password omitted", WifiPayload("home", false), "WIFI:S:home;T:WPA;P:;"},
      {"open, hidden", WifiPayload("home", std::nullopt, std::nullopt, true),
       "WIFI:S:home;H:True;T:nopass;;"},
      {"open, not hidden", WifiPayload("home", std::nullopt, std::nullopt, false),
       "WIFI:S:home;H:False;T:nopass;;"},
      {"open drops a supplied password", WifiPayload("home", std::nullopt, "pw"),
       "WIFI:S:home;T:nopass;;"},
      {"hidden before type and password", WifiPayload("home", false, "pw", true),
       "WIFI:S:home;H:True;T:WPA;P:pw;"},
      {"escaped name and password", WifiPayload(R"(my;"net")", false, R"(p:w\d)"),
       R"(WIFI:S:my\;\"net\";T:WPA;P:p\:w\\d;)"},
  });
}

const DateTime kStart{2015, 3, 10, 14, 5, 9};
const DateTime kEnd{2015, 3, 10, 16, 0, 0};

TEST(EventPayload, WritesOneVeventWithLocalTimes) {
  ExpectAll({
      {"summary only", EventPayload("Talk", kStart, kEnd),
       "BEGIN:VEVENT\nSUMMARY:Talk\nDTSTART:20150310T140509\nDTEND:20150310T160000\nEND:VEVENT"},
      {"all fields, escaped",
       EventPayload("A, B", kStart, kEnd, "Room 1; 2nd floor", "Bring: laptop"),
       "BEGIN:VEVENT\nSUMMARY:A\\, B\nLOCATION:Room 1\\; 2nd floor\n"
       "DESCRIPTION:Bring: laptop\nDTSTART:20150310T140509\nDTEND:20150310T160000\n"
       "END:VEVENT"},
      {"line breaks and backslashes escaped, quotes not",
       EventPayload("a\nb\r\nc\rd", kStart, kEnd, R"(C:\"x")"),
       "BEGIN:VEVENT\nSUMMARY:a\\nb\\nc\\nd\nLOCATION:C:\\\\\"x\"\nDTSTART:20150310T140509\n"
       "DTEND:20150310T160000\nEND:VEVENT"},
      {"description without location", EventPayload("S", kStart, kEnd, std::nullopt, ""),
       "BEGIN:VEVENT\nSUMMARY:S\nDESCRIPTION:\nDTSTART:20150310T140509\n"
       "DTEND:20150310T160000\nEND:VEVENT"},
  });
}

TEST(MecardPayload, WritesSecondUrlBeforeAndFirstUrlAfterTheBirthday) {
  ExpectAll({
      {"names only", MecardPayload("Li", "Lei"), "MECARD:N:Li,Lei;;"},
      {"escaped names", MecardPayload("O,Neil", "A;B"), R"(MECARD:N:O\,Neil,A\;B;;)"},
      {"every field",
       MecardPayload("Li", "Lei",
                     {.email = "li@x.org",
                      .phone = "123",
                      .videoPhone = "456",
                      .firstUrl = "http://one.org",
                      .secondUrl = "http://two.org",
                      .birthday = DateTime{1990, 7, 4, 0, 0, 0}}),
       R"(MECARD:N:Li,Lei;TEL:123;TEL-AV:456;EMAIL:li@x.org;URL:http\://two.org;)"
       R"(BDAY:19900704;URL:http\://one.org;;)"},
      {"empty e-mail keeps its label", MecardPayload("Li", "Lei", {.email = ""}),
       "MECARD:N:Li,Lei;EMAIL:;;"},
  });
}

TEST(VcardPayload, WritesVersion3LinesInFixedOrder) {
  ExpectAll({
      {"names only", VcardPayload("Li", "Lei", false),
       "BEGIN:VCARD\nVERSION:3.0\nN:Li;Lei;;\nEND:VCARD"},
      {"company", VcardPayload("Li", "Lei", true, {.organisation = ""}),
       "BEGIN:VCARD\nVERSION:3.0\nN:Li;Lei;;\nX-ABShowAs:COMPANY\nORG:\nEND:VCARD"},
      {"every field",
       VcardPayload("Li", "Lei", true,
                    {.formattedName = "Lei Li",
                     .organisation = "Acme, Inc.",
                     .title = "Boss",
                     .workEmail = "li@acme.org",
                     .mobilePhone = "1",
                     .workPhone = "2",
                     .homePhone = "3",
                     .workFax = "4",
                     .homeFax = "5",
                     .workAddress = "1 Main St; Springfield\nTEL:999",
                     .homeAddress = "2 Side St",
                     .workUrl = "http://acme.org/a,b;c\nd",
                     .homeUrl = "http://li.org",
                     .birthday = DateTime{1990, 7, 4, 23, 59, 59}}),
       "BEGIN:VCARD\nVERSION:3.0\nN:Li;Lei;;\nX-ABShowAs:COMPANY\nFN:Lei Li\n"
       "ORG:Acme\\, Inc.\nTITLE:Boss\nEMAIL;type=INTERNET;type=WORK:li@acme.org\n"
       "TEL;type=CELL:1\nTEL;type=WORK:2\nTEL;type=HOME:3\nTEL;type=WORK,FAX:4\n"
       "TEL;type=HOME,FAX:5\nADR;type=WORK:1 Main St\\; Springfield\\nTEL:999\n"
       "ADR;type=HOME:2 Side St\nBDAY;value=date:1990-07-04\n"
       "URL;type=WORK:http://acme.org/a,b;c%0Ad\nURL;type=HOME:http://li.org\nEND:VCARD"},
  });
}

}  // namespace
}  // namespace qrsmith::payload
