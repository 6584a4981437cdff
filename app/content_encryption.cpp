#include "app/content_encryption.h"

#include <numeric>
#include <utility>

#include "platform/colour.h"

namespace qrsmith::app {

Rc4Permutation Rc4KeySchedule(std::span<const std::uint8_t> key) {
  Rc4Permutation s;
  std::iota(s.begin(), s.end(), std::uint8_t{0});
  if (key.empty()) return s;
  std::uint8_t j = 0;
  std::size_t k = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    j = static_cast<std::uint8_t>(j + s[i] + key[k]);
    std::swap(s[i], s[j]);
    k = (k + 1) % key.size();
  }
  return s;
}

Bytes Rc4Apply(Rc4Permutation permutation, std::span<const std::uint8_t> data) {
  Rc4Permutation& s = permutation;
  Bytes out(data.size());
  std::uint8_t i = 0;
  std::uint8_t j = 0;
  for (std::size_t n = 0; n < data.size(); ++n) {
    i = static_cast<std::uint8_t>(i + 1);
    j = static_cast<std::uint8_t>(j + s[i]);
    std::swap(s[i], s[j]);
    const auto t = static_cast<std::uint8_t>(s[i] + s[j]);
    out[n] = data[n] ^ s[t];
  }
  return out;
}

std::string HexText(std::span<const std::uint8_t> bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) platform::AppendHexByte(out, b);
  return out;
}

EncryptionResult EncryptContent(std::string_view content, std::string_view password,
                                std::string_view codePage) {
  if (content.empty()) return {std::string(), EncryptionFailure::kNone};
  if (password.empty()) return {std::string(content), EncryptionFailure::kNone};
  // Conversions never substitute "?" for a character the code page lacks:
  // that would encrypt, or key with, something other than what was typed.
  const std::optional<Bytes> contentBytes = platform::Utf8ToCodePage(content, codePage);
  if (!contentBytes) return {std::nullopt, EncryptionFailure::kContentNotRepresentable};
  const std::optional<Bytes> key = platform::Utf8ToCodePage(password, codePage);
  if (!key) return {std::nullopt, EncryptionFailure::kPasswordNotRepresentable};
  const Bytes cipher = Rc4Apply(Rc4KeySchedule(*key), *contentBytes);
  std::string out(kEncryptedMarker);
  out += HexText(cipher);
  return {std::move(out), EncryptionFailure::kNone};
}

}  // namespace qrsmith::app
