#pragma once
// The outside services that the link builders address, in one place. Each
// service has one host; the two microblog links share theirs. Web addresses
// use the unencrypted web scheme, as the services' own QR links always did.

#include <string_view>

namespace qrsmith::payload {

inline constexpr std::string_view kWebScheme = "http://";

// Map search by position and label: "/maps?f=q&q=lat%2Clon+%28label%29".
inline constexpr std::string_view kMapSearchHost = "maps.google.com";
// Map view centred on a position: "/maps/?v=2&cp=lat~lon&lvl=16&dir=0&sty=r".
inline constexpr std::string_view kMapViewHost = "www.bing.com";
// Application store, reached through its own "itms" scheme: "/app/id<number>".
inline constexpr std::string_view kAppStoreScheme = "itms://";
inline constexpr std::string_view kAppStoreHost = "itunes.apple.com";
// Venue pages: "/v/<venue id>".
inline constexpr std::string_view kVenueHost = "foursquare.com";
// Social-network profiles: "/<profile name>".
inline constexpr std::string_view kSocialNetworkHost = "www.facebook.com";
// Microblog profiles "/<user name>" and status drafts "/home?status=<text>".
inline constexpr std::string_view kMicroblogHost = "twitter.com";

}  // namespace qrsmith::payload
