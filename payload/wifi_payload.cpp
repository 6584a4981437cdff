#include "payload/wifi_payload.h"

namespace qrsmith::payload {

std::string WifiPayload(std::string_view networkName, std::optional<bool> useWep,
                        const OptionalText& password, std::optional<bool> hidden) {
  std::string out = "WIFI:S:" + EscapeField(networkName) + ";";
  if (hidden) out += *hidden ? "H:True;" : "H:False;";
  if (useWep) {
    out += *useWep ? "T:WEP;" : "T:WPA;";
    out += "P:";
    if (password) out += EscapeField(*password);
  } else {
    // An open network carries no password: a supplied one would only
    // mislead the reader into offering a key.
    out += "T:nopass;";
  }
  out += ';';
  return out;
}

}  // namespace qrsmith::payload
