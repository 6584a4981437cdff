#include "payload/wifi_payload.h"

#include <algorithm>

#include "platform/colour.h"

namespace qrsmith::payload {
namespace {

constexpr std::string_view kTypes[] = {"nopass", "WEP", "WPA", "SAE", "WPA2-EAP"};

bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return platform::HexDigitValue(c) >= 0; });
}

bool AllPrintableAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

}  // namespace

std::string WifiPayload(std::string_view networkName, const WifiFields& fields) {
  std::string out = Joined(
      {"WIFI:S:", EscapeField(networkName), ";T:", kTypes[static_cast<int>(fields.security)], ";"});
  if (fields.security != WifiSecurity::kOpen)
    AppendEscapedField(out, "P:", fields.password.value_or(""));
  if (fields.hidden.value_or(false)) out += "H:true;";
  if (fields.security == WifiSecurity::kEnterprise) {
    AppendEscapedField(out, "E:", fields.eapMethod);
    AppendEscapedField(out, "A:", fields.anonymousIdentity);
    AppendEscapedField(out, "I:", fields.identity);
    AppendEscapedField(out, "PH2:", fields.phase2Method);
  }
  out += ';';
  return out;
}

std::string WifiPayload(std::string_view networkName, std::optional<bool> useWep,
                        const OptionalText& password, std::optional<bool> hidden) {
  std::string out = "WIFI:S:" + EscapeField(networkName) + ";";
  if (hidden) out += *hidden ? "H:True;" : "H:False;";
  if (useWep) {
    out += *useWep ? "T:WEP;" : "T:WPA;";
    out += "P:";
    if (password) out += EscapeField(*password);
    out += ';';
  } else {
    // An open network carries no password: a supplied one would only
    // mislead the reader into offering a key.
    out += "T:nopass;";
  }
  out += ';';
  return out;
}

std::string WifiProblem(std::string_view networkName, const WifiFields& fields) {
  if (networkName.empty() || networkName.size() > 32) {
    return "the network name (SSID) must be 1 to 32 bytes, not " +
           std::to_string(networkName.size());
  }
  const std::string_view key = fields.password ? std::string_view(*fields.password) : "";
  switch (fields.security) {
    case WifiSecurity::kWpa:
    case WifiSecurity::kSae:
      if (fields.security == WifiSecurity::kWpa && key.size() == 64 && AllHex(key)) return {};
      if (key.size() < 8 || key.size() > 63 || !AllPrintableAscii(key)) {
        return "a WPA passphrase is 8 to 63 printable ASCII characters (or 64 hexadecimal "
               "digits for WPA): devices cannot join with this one";
      }
      return {};
    case WifiSecurity::kWep:
      if (((key.size() == 5 || key.size() == 13) && AllPrintableAscii(key)) ||
          ((key.size() == 10 || key.size() == 26) && AllHex(key))) {
        return {};
      }
      return "a WEP key is 5 or 13 characters, or 10 or 26 hexadecimal digits";
    case WifiSecurity::kEnterprise:
      if (!fields.eapMethod || fields.eapMethod->empty()) {
        return "an enterprise network needs its EAP method (PEAP, TTLS, TLS, PWD, ...)";
      }
      return {};
    case WifiSecurity::kOpen:
      return {};
  }
  return {};
}

}  // namespace qrsmith::payload
