#include "payload/link_payloads.h"

#include <cmath>

#include "payload/service_hosts.h"

namespace qrsmith::payload {
namespace {

// "http://" + host + separator + the name percent-encoded as one path segment.
std::string AddressWithName(std::string_view host, std::string_view separator,
                            std::string_view name) {
  return Joined({kWebScheme, host, separator, PercentEncode(name, UriPart::kPathSegment)});
}

// Why `text` is not an RFC 5870 number within +-limit, or "".
std::string CoordinateProblem(std::string_view what, std::string_view text, double limit) {
  const std::string quoted = Joined({what, " '", text, "'"});
  if (text.find(',') != std::string_view::npos) {
    return quoted + " has a decimal comma, which readers take for the separator: write '" + [&] {
      std::string dotted(text);
      for (char& c : dotted) c = c == ',' ? '.' : c;
      return dotted;
    }() + "'";
  }
  std::size_t at = text.starts_with('-') ? 1 : 0;
  const std::size_t firstDigit = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
  bool ok = at > firstDigit;
  if (ok && at < text.size() && text[at] == '.') {
    const std::size_t fraction = ++at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
    ok = at > fraction;
  }
  if (!ok || at != text.size()) {
    return quoted + " is not a decimal number such as 48.2082 or -16.37";
  }
  if (limit > 0 && std::abs(std::stod(std::string(text))) > limit) {
    return quoted + " is beyond " + std::to_string(static_cast<int>(limit)) + " degrees";
  }
  return {};
}

}  // namespace

std::string GeoProblem(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude) {
  if (std::string p = CoordinateProblem("latitude", latitude, 90); !p.empty()) return p;
  if (std::string p = CoordinateProblem("longitude", longitude, 180); !p.empty()) return p;
  if (altitude && !altitude->empty()) return CoordinateProblem("altitude", *altitude, 0);
  return {};
}

std::string GeoPayload(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude) {
  std::string out = Joined({"geo:", latitude, ",", longitude});
  if (altitude && !altitude->empty()) out += Joined({",", *altitude});
  return out;
}

std::string MapSearchLink(std::string_view latitude, std::string_view longitude,
                          std::string_view label) {
  return Joined({kWebScheme, kMapSearchHost, "/maps?f=q&q=", latitude, "%2C", longitude, "+%28",
                 PercentEncode(label, UriPart::kQueryValue), "%29"});
}

std::string MapViewLink(std::string_view latitude, std::string_view longitude) {
  return Joined({kWebScheme, kMapViewHost, "/maps/?v=2&cp=", latitude, "~", longitude,
                 "&lvl=16&dir=0&sty=r"});
}

std::string MarketDetailsPayload(std::string_view packageName) {
  return "market://details?id=" + PercentEncode(packageName, UriPart::kQueryValue);
}

std::string MarketSearchPayload(std::string_view query) {
  return "market://search?q=" + PercentEncode(query, UriPart::kQueryValue);
}

std::string AppStoreLink(std::int32_t applicationId) {
  return Joined({kAppStoreScheme, kAppStoreHost, "/app/id", std::to_string(applicationId)});
}

std::string UrltoPayload(std::string_view address) {
  // The empty title: a reader takes the text up to the next colon for one.
  return Joined({"urlto::", address});
}

std::string VenueLink(std::string_view venueId) {
  return AddressWithName(kVenueHost, "/v/", venueId);
}

std::string BookmarkPayload(std::string_view title, std::string_view address) {
  return "MEBKM:TITLE:" + EscapeField(title) + ";URL:" + EscapeField(address) + ";;";
}

std::string YoutubePayload(std::string_view videoId) {
  return "youtube://" + PercentEncode(videoId, UriPart::kPathSegment);
}

std::string SocialProfileLink(std::string_view profileName) {
  return AddressWithName(kSocialNetworkHost, "/", profileName);
}

std::string MicroblogProfileLink(std::string_view userName) {
  return AddressWithName(kMicroblogHost, "/", userName);
}

std::string MicroblogStatusLink(std::string_view statusText) {
  return Joined({kWebScheme, kMicroblogHost,
                 "/home?status=", PercentEncode(statusText, UriPart::kQueryValue)});
}

}  // namespace qrsmith::payload
