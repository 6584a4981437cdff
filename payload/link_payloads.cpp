#include "payload/link_payloads.h"

#include "payload/service_hosts.h"

namespace qrsmith::payload {
namespace {

// "http://" + host, ready for the path.
std::string WebAddress(std::string_view host) {
  std::string out(kWebScheme);
  out += host;
  return out;
}

// WebAddress(host) + separator + the name percent-encoded as one path segment.
std::string AddressWithName(std::string_view host, std::string_view separator,
                            std::string_view name) {
  std::string out = WebAddress(host);
  out += separator;
  out += PercentEncode(name, UriPart::kPathSegment);
  return out;
}

}  // namespace

std::string GeoPayload(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude) {
  std::string out = "geo:";
  out += latitude;
  out += ',';
  out += longitude;
  if (altitude && !altitude->empty()) {
    out += ',';
    out += *altitude;
  }
  return out;
}

std::string MapSearchLink(std::string_view latitude, std::string_view longitude,
                          std::string_view label) {
  std::string out = WebAddress(kMapSearchHost);
  out += "/maps?f=q&q=";
  out += latitude;
  out += "%2C";
  out += longitude;
  out += "+%28";
  out += PercentEncode(label, UriPart::kQueryValue);
  out += "%29";
  return out;
}

std::string MapViewLink(std::string_view latitude, std::string_view longitude) {
  std::string out = WebAddress(kMapViewHost);
  out += "/maps/?v=2&cp=";
  out += latitude;
  out += '~';
  out += longitude;
  out += "&lvl=16&dir=0&sty=r";
  return out;
}

std::string MarketDetailsPayload(std::string_view packageName) {
  return "market://details?id=" + PercentEncode(packageName, UriPart::kQueryValue);
}

std::string MarketSearchPayload(std::string_view query) {
  return "market://search?q=" + PercentEncode(query, UriPart::kQueryValue);
}

std::string AppStoreLink(std::int32_t applicationId) {
  std::string out(kAppStoreScheme);
  out += kAppStoreHost;
  out += "/app/id";
  out += std::to_string(applicationId);
  return out;
}

std::string UrltoPayload(std::string_view address) {
  // The empty title: a reader takes the text up to the next colon for one.
  std::string out = "urlto::";
  out += address;
  return out;
}

std::string VenueLink(std::string_view venueId) {
  return AddressWithName(kVenueHost, "/v/", venueId);
}

std::string BookmarkPayload(std::string_view title, std::string_view address) {
  return "MEBKM:TITLE:" + EscapeField(title) + ";URL:" + EscapeField(address) + ";;";
}

std::string YoutubePayload(std::string_view videoId) { return "youtube://" + EscapeField(videoId); }

std::string SocialProfileLink(std::string_view profileName) {
  return AddressWithName(kSocialNetworkHost, "/", profileName);
}

std::string MicroblogProfileLink(std::string_view userName) {
  return AddressWithName(kMicroblogHost, "/", userName);
}

std::string MicroblogStatusLink(std::string_view statusText) {
  return WebAddress(kMicroblogHost) +
         "/home?status=" + PercentEncode(statusText, UriPart::kQueryValue);
}

}  // namespace qrsmith::payload
