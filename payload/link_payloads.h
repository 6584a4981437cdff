#pragma once
// Payloads that point somewhere: a geographic position, map, store, venue,
// social-network and microblog addresses, a bookmark and a video.
//
// The web addresses are written as the services expect them in a symbol:
// their parts are put in as given, neither escaped nor percent-encoded
// (the microblog status only turns spaces into "+"). The hosts are in
// payload/service_hosts.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "payload/field_format.h"

namespace qrsmith::payload {

// "geo:" + latitude + "," + longitude, then "," + altitude when supplied.
// Coordinates are taken as they come, unescaped.
std::string GeoPayload(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude = std::nullopt);

// Map search at a position with a label:
// http://<map search host>/maps?f=q&q=<lat>%2C<lon>+%28<label>%29
std::string MapSearchLink(std::string_view latitude, std::string_view longitude,
                          std::string_view label);

// Map view centred on a position:
// http://<map view host>/maps/?v=2&cp=<lat>~<lon>&lvl=16&dir=0&sty=r
std::string MapViewLink(std::string_view latitude, std::string_view longitude);

// "market://details?id=" + E(packageName).
std::string MarketDetailsPayload(std::string_view packageName);

// "market://search?q=" + E(query), every space then turned into "+".
std::string MarketSearchPayload(std::string_view query);

// itms://<app store host>/app/id<applicationId>, the id in decimal (a
// negative one with its minus sign).
std::string AppStoreLink(std::int32_t applicationId);

// "urlto:" + address, unescaped.
std::string UrltoPayload(std::string_view address);

// http://<venue host>/v/<venueId>
std::string VenueLink(std::string_view venueId);

// "MEBKM:TITLE:" + E(title) + ";URL:" + E(address), no terminator after it.
std::string BookmarkPayload(std::string_view title, std::string_view address);

// "youtube://" + E(videoId).
std::string YoutubePayload(std::string_view videoId);

// http://<social network host>/<profileName>
std::string SocialProfileLink(std::string_view profileName);

// http://<microblog host>/<userName>
std::string MicroblogProfileLink(std::string_view userName);

// http://<microblog host>/home?status=<statusText>, every space turned into
// "+" and nothing else changed ("&" and "#" included).
std::string MicroblogStatusLink(std::string_view statusText);

}  // namespace qrsmith::payload
