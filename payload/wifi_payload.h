#pragma once
// Wi-Fi network credentials in the "WIFI:" form that phone cameras join from.

#include <optional>
#include <string>
#include <string_view>

#include <qrsmith/payload/field_format.h>

namespace qrsmith::payload {

// The protection of a network, as the T: field names it.
enum class WifiSecurity {
  kOpen,        // "nopass"
  kWep,         // "WEP"
  kWpa,         // "WPA": WPA and WPA2 Personal
  kSae,         // "SAE": WPA3 Personal
  kEnterprise,  // "WPA2-EAP": WPA2/WPA3 Enterprise
};

// Everything of a network but its name. Each member starts out left out.
struct WifiFields {
  WifiSecurity security = WifiSecurity::kOpen;
  OptionalText password{};
  std::optional<bool> hidden{};
  // Enterprise networks: E: the EAP method (PEAP, TTLS, TLS, PWD, ...),
  // A: the anonymous (outer) identity, I: the identity, PH2: the inner method.
  OptionalText eapMethod{};
  OptionalText anonymousIdentity{};
  OptionalText identity{};
  OptionalText phase2Method{};
};

// "WIFI:S:" + E(networkName) + ";", then "T:" + the type, "P:" + E(password)
// (an open network has none), "H:true;" for a hidden network, the enterprise
// fields E:, A:, I:, PH2:, each field ending in ";", and a closing ";", so
// that the record ends in ";;" as readers expect.
std::string WifiPayload(std::string_view networkName, const WifiFields& fields);

// The older entry: "WIFI:S:" + E(networkName) + ";", then, always in the
// order S, H, T, P:
// - hidden supplied: "H:True;" or "H:False;";
// - useWep supplied: "T:WEP;" or "T:WPA;", then "P:" + E(password) + ";"
//   (empty when the password is left out); useWep left out: "T:nopass;" and
//   no password, even a supplied one;
// and a closing ";".
std::string WifiPayload(std::string_view networkName, std::optional<bool> useWep = std::nullopt,
                        const OptionalText& password = std::nullopt,
                        std::optional<bool> hidden = std::nullopt);

// Why a network cannot be joined with these fields, or "": a name of 1 to
// 32 bytes; a WPA or WPA3 passphrase of 8 to 63 printable ASCII characters,
// or 64 hexadecimal digits for WPA; a WEP key of 5 or 13 characters or 10
// or 26 hexadecimal digits; an enterprise network needs its EAP method.
std::string WifiProblem(std::string_view networkName, const WifiFields& fields);

}  // namespace qrsmith::payload
