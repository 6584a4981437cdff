#pragma once
// Payloads that point somewhere: a geographic position, map, store, venue,
// social-network and microblog addresses, a bookmark and a video.
//
// The values put into web addresses are percent-encoded for their place
// (PercentEncode), so that a reader still sees a link and a server gets the
// value back whole; coordinates are written as given. The hosts are in
// payload/service_hosts.h.

#include <cstdint>
#include <string>
#include <string_view>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// "geo:" + latitude + "," + longitude, then "," + altitude when supplied and
// not empty (readers refuse "geo:lat,lon,"). Coordinates are written as
// given: GeoProblem says whether they are numbers a reader understands.
std::string GeoPayload(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude = std::nullopt);

// Why a position cannot be written, or "" when it can: each coordinate
// must be a decimal number as RFC 5870 writes them ("-" digits ["." digits]),
// the latitude within -90..90 and the longitude within -180..180. The
// message names the coordinate ("latitude '48,2' ...") and gives a hint for
// a decimal comma, which a reader would take for the separator.
std::string GeoProblem(std::string_view latitude, std::string_view longitude,
                       const OptionalText& altitude = std::nullopt);

// Map search at a position with a label:
// http://<map search host>/maps?f=q&q=<lat>%2C<lon>+%28<label>%29, the label
// percent-encoded as a query value.
std::string MapSearchLink(std::string_view latitude, std::string_view longitude,
                          std::string_view label);

// Map view centred on a position:
// http://<map view host>/maps/?v=2&cp=<lat>~<lon>&lvl=16&dir=0&sty=r
std::string MapViewLink(std::string_view latitude, std::string_view longitude);

// "market://details?id=" + the package name percent-encoded as a query value.
std::string MarketDetailsPayload(std::string_view packageName);

// "market://search?q=" + the query percent-encoded as a query value (a
// space becomes "+").
std::string MarketSearchPayload(std::string_view query);

// itms://<app store host>/app/id<applicationId>, the id in decimal (a
// negative one with its minus sign).
std::string AppStoreLink(std::int32_t applicationId);

// "urlto::" (an empty title) + address, unescaped.
std::string UrltoPayload(std::string_view address);

// http://<venue host>/v/<venueId>, the id percent-encoded as a path segment.
std::string VenueLink(std::string_view venueId);

// "MEBKM:TITLE:" + E(title) + ";URL:" + E(address) + ";;": the address's
// field ends in ";" as every MEBKM field must, and ";" ends the record.
std::string BookmarkPayload(std::string_view title, std::string_view address);

// "youtube://" + the id percent-encoded as a path segment.
std::string YoutubePayload(std::string_view videoId);

// http://<social network host>/<profileName>, the name percent-encoded as a
// path segment; the same for the microblog user name.
std::string SocialProfileLink(std::string_view profileName);

// http://<microblog host>/<userName>
std::string MicroblogProfileLink(std::string_view userName);

// http://<microblog host>/home?status=<statusText>, the text percent-encoded
// as a query value ("&" and "#" would end it early).
std::string MicroblogStatusLink(std::string_view statusText);

}  // namespace qrsmith::payload
