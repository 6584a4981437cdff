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
      {"tel, # and % encoded", TelPayload("*100#%"), "tel:*100%23%25"},
      {"mailto, header fields",
       MailtoPayload("a@x.org", {.subject = "a&b=c", .body = "1\n2 3", .cc = "b@x.org,c@x.org"}),
       "mailto:a@x.org?cc=b@x.org%2Cc@x.org&subject=a%26b%3Dc&body=1%0D%0A2%203"},
      {"sms uri", SmsUriPayload("+4312", "a&b"), "sms:+4312?body=a%26b"},
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
      {"youtube", YoutubePayload("a:b"), "youtube://a%3Ab"},
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
      {"WPA", WifiPayload("home", false, "pw"), "WIFI:S:home;T:WPA;P:pw;;"},
      {"WEP", WifiPayload("home", true, "pw"), "WIFI:S:home;T:WEP;P:pw;;"},
      {"WPA, password omitted", WifiPayload("home", false), "WIFI:S:home;T:WPA;P:;;"},
      {"open, hidden", WifiPayload("home", std::nullopt, std::nullopt, true),
       "WIFI:S:home;H:True;T:nopass;;"},
      {"open, not hidden", WifiPayload("home", std::nullopt, std::nullopt, false),
       "WIFI:S:home;H:False;T:nopass;;"},
      {"open drops a supplied password", WifiPayload("home", std::nullopt, "pw"),
       "WIFI:S:home;T:nopass;;"},
      {"hidden before type and password", WifiPayload("home", false, "pw", true),
       "WIFI:S:home;H:True;T:WPA;P:pw;;"},
      {"escaped name and password", WifiPayload(R"(my;"net")", false, R"(p:w\d)"),
       R"(WIFI:S:my\;\"net\";T:WPA;P:p\:w\\d;;)"},
      {"WPA3, hidden", WifiPayload("home", {WifiSecurity::kSae, "pw", true}),
       "WIFI:S:home;T:SAE;P:pw;H:true;;"},
      {"enterprise",
       WifiPayload("eduroam", {.security = WifiSecurity::kEnterprise,
                               .password = "p;w",
                               .eapMethod = "PEAP",
                               .anonymousIdentity = "anon@x.org",
                               .identity = "li@x.org",
                               .phase2Method = "MSCHAPV2"}),
       R"(WIFI:S:eduroam;T:WPA2-EAP;P:p\;w;E:PEAP;A:anon@x.org;I:li@x.org;PH2:MSCHAPV2;;)"},
  });
}

const DateTime kStart{2015, 3, 10, 14, 5, 9};
const DateTime kEnd{2015, 3, 10, 16, 0, 0};

TEST(EventPayload, WritesCrlfLinesInTheEventsClock) {
  ExpectAll({
      {"local times, escaped texts",
       EventPayload("A, B", kStart, kEnd, {.location = "Room 1; 2nd\nfloor", .description = ""}),
       "BEGIN:VEVENT\r\nSUMMARY:A\\, B\r\nLOCATION:Room 1\\; 2nd\\nfloor\r\nDESCRIPTION:\r\n"
       "DTSTART:20150310T140509\r\nDTEND:20150310T160000\r\nEND:VEVENT\r\n"},
      {"UTC", EventPayload("S", kStart, kEnd, {.timeZone = "UTC"}),
       "BEGIN:VEVENT\r\nSUMMARY:S\r\nDTSTART:20150310T140509Z\r\nDTEND:20150310T160000Z\r\n"
       "END:VEVENT\r\n"},
      {"zone, alarm and rule",
       EventPayload("S", kStart, kEnd,
                    {.timeZone = "Europe/Vienna", .remindMinutes = 90, .repeat = Repeat::kWeekly}),
       "BEGIN:VEVENT\r\nSUMMARY:S\r\nDTSTART;TZID=Europe/Vienna:20150310T140509\r\n"
       "DTEND;TZID=Europe/Vienna:20150310T160000\r\nRRULE:FREQ=WEEKLY\r\nBEGIN:VALARM\r\n"
       "ACTION:DISPLAY\r\nDESCRIPTION:S\r\nTRIGGER:-PT90M\r\nEND:VALARM\r\nEND:VEVENT\r\n"},
      {"all day: the end is exclusive, across a year",
       EventPayload("S", {2024, 12, 30}, {2024, 12, 31}, {.allDay = true}),
       "BEGIN:VEVENT\r\nSUMMARY:S\r\nDTSTART;VALUE=DATE:20241230\r\n"
       "DTEND;VALUE=DATE:20250101\r\nEND:VEVENT\r\n"},
  });
}

TEST(MecardPayload, WritesSecondUrlBeforeAndFirstUrlAfterTheBirthday) {
  ExpectAll({
      {"names only", MecardPayload("Li", "Lei"), "MECARD:N:Li,Lei;;"},
      {"escaped names", MecardPayload("O,Neil", "A;B"), R"(MECARD:N:O\,Neil,A\;B;;)"},
      {"every field",
       MecardPayload("Li", "Lei",
                     {.emails = {"li@x.org", "lei@x.org"},
                      .phones = {"123", "789"},
                      .videoPhone = "456",
                      .firstUrl = "http://one.org",
                      .secondUrl = "http://two.org",
                      .birthday = DateTime{1990, 7, 4, 0, 0, 0}}),
       R"(MECARD:N:Li,Lei;TEL:123;TEL:789;TEL-AV:456;EMAIL:li@x.org;EMAIL:lei@x.org;)"
       R"(URL:http\://two.org;)"
       R"(BDAY:19900704;URL:http\://one.org;;)"},
      {"empty e-mail keeps its label", MecardPayload("Li", "Lei", {.emails = {""}}),
       "MECARD:N:Li,Lei;EMAIL:;;"},
  });
}

TEST(VcardPayload, WritesVersion3CrlfLinesWithAShownName) {
  ExpectAll({
      {"names only: FN derived", VcardPayload("Li", "Lei", false),
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Li;Lei;;;\r\nFN:Lei Li\r\nEND:VCARD\r\n"},
      {"family name alone", VcardPayload("Acme", "", true, {.organisation = ""}),
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Acme;;;;\r\nX-ABShowAs:COMPANY\r\nFN:Acme\r\nORG:\r\n"
       "END:VCARD\r\n"},
      {"addresses: one text is the street, parts are structured",
       VcardPayload("Li", "Lei", false,
                    {.formattedName = "Dr. Li",
                     .workAddress = "Hauptstr. 1, 1010 Wien",
                     .workUrl = "http://acme.org/a,b;c\nd",
                     .street = "Hauptstr. 1",
                     .city = "Wien",
                     .country = "AT"}),
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Li;Lei;;;\r\nFN:Dr. Li\r\n"
       "ADR;type=WORK:;;Hauptstr. 1\\, 1010 Wien\r\nADR:;;Hauptstr. 1;Wien;;;AT\r\n"
       "URL;type=WORK:http://acme.org/a,b;c%0Ad\r\nEND:VCARD\r\n"},
  });
}

}  // namespace
}  // namespace qrsmith::payload
