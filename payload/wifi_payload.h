#pragma once
// Wi-Fi network credentials in the "WIFI:" form that phone cameras join from.

#include <optional>
#include <string>
#include <string_view>

#include "payload/field_format.h"

namespace qrsmith::payload {

// "WIFI:S:" + E(networkName) + ";", then, always in the order S, H, T, P:
// - hidden supplied: "H:True;" or "H:False;";
// - useWep supplied: "T:WEP;" or "T:WPA;", then "P:" + E(password) (empty
//   when the password is left out); useWep left out: "T:nopass;" and no
//   password, even a supplied one;
// and a closing ";". A protected network thus ends in "P:<password>;", an
// open one in "T:nopass;;".
std::string WifiPayload(std::string_view networkName, std::optional<bool> useWep = std::nullopt,
                        const OptionalText& password = std::nullopt,
                        std::optional<bool> hidden = std::nullopt);

}  // namespace qrsmith::payload
