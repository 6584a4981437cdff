#pragma once
// Password protection of a symbol's content: the content's code-page bytes
// encrypted with RC4 under the password's code-page bytes, written as the
// marker "&&&" and upper-case hexadecimal digits. There is no salt, no
// initialisation vector, no key derivation and no integrity check: the same
// content and password always give the same text. A reader that knows the
// password drops the marker, turns the digit pairs back into bytes and
// applies RC4 with the same key.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <qrsmith/platform/codepage.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::app {

// Put in front of the hexadecimal ciphertext.
inline constexpr std::string_view kEncryptedMarker = "&&&";

// Why EncryptContent gave no text.
enum class EncryptionFailure {
  kNone,
  // The content holds a character the code page cannot represent (or is not
  // valid UTF-8): encrypting a stand-in would protect something other than
  // what was typed.
  kContentNotRepresentable,
  // The same for the password: a stand-in would give a key the user cannot type.
  kPasswordNotRepresentable,
};

struct EncryptionResult {
  std::optional<std::string> text;  // set exactly when failure is kNone
  EncryptionFailure failure = EncryptionFailure::kNone;
};

// The content as a symbol carries it under `password`, both UTF-8:
// - content empty: the empty text;
// - password empty: the content unchanged, without marker (no encryption);
// - otherwise "&&&" + HexText(RC4 of the content's bytes in `codePage`, keyed
//   with the password's bytes in `codePage`), pure ASCII.
// Fails, without text, when either cannot be converted to `codePage`.
EncryptionResult EncryptContent(std::string_view content, std::string_view password,
                                std::string_view codePage = platform::SystemCodePage());

// The RC4 state permutation of the 256 byte values.
using Rc4Permutation = std::array<std::uint8_t, 256>;

// The RC4 key schedule over `key`, used byte for byte; bytes after the
// 256th have no effect. An empty key gives the identity permutation (RC4 is
// undefined for it; EncryptContent never asks for it).
Rc4Permutation Rc4KeySchedule(std::span<const std::uint8_t> key);

// `data` with the RC4 keystream of `permutation` XORed onto it, from the
// keystream's first byte; as long as `data`. Encryption and decryption alike.
Bytes Rc4Apply(Rc4Permutation permutation, std::span<const std::uint8_t> data);

// Two upper-case hexadecimal digits per byte, high half first, no separators.
std::string HexText(std::span<const std::uint8_t> bytes);

}  // namespace qrsmith::app
