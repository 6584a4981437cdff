#include "cli/symbol_job.h"

#include <cerrno>
#include <cstring>

#include "app/content_encryption.h"
#include "encoder/qr_tables.h"
#include "platform/codecs/image.h"
#include "platform/codepage.h"

namespace qrsmith::cli {

namespace {

Failure InputError(std::string message) { return {kExitInputOutput, std::move(message)}; }

const char* LevelName(std::int16_t level) {
  static constexpr const char* kNames[] = {"M", "L", "M", "Q", "H"};
  return level >= 0 && level <= 4 ? kNames[level] : "M";
}

// "content does not fit version 5 at level H (needs 1203 bits, holds 1088)":
// measured the way the encoder measures, for the version asked for or, when
// automatic, for version 40.
std::string DescribeTooLong(const Bytes& bytes, std::int16_t version, std::int16_t level,
                            bool allowKanji) {
  const std::int32_t v = version == 0 ? encoder::kMaxVersion : version;
  QrEncoder encoder;
  std::vector<std::uint8_t> unused;
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
  // The measure includes the 4-bit terminator, and is 0 past the encoder's
  // bit arrays: content that long needs more bits than they hold.
  const std::int32_t measured = encoder.BuildBitStream(unused, bytes, n, v, true, allowKanji);
  const std::string needs = measured > 0
                                ? std::to_string(measured - 4)
                                : "more than " + std::to_string(encoder::kBitArrayLength - 4);
  encoder::QrTables tables;
  tables.Fill();
  const std::int32_t holds = 8 * tables.DataCodewords(v, level == 0 ? 2 : level);
  const std::string where = version == 0 ? "any version" : "version " + std::to_string(version);
  return "content does not fit " + where + " at level " + LevelName(level) + " (needs " + needs +
         " bits, holds " + std::to_string(holds) + ")";
}

// The content as it goes into the symbol: with a password, "&&&" and the hex
// of its RC4 ciphertext, as the window makes it.
Outcome Encrypt(const CliOptions& options, std::string& content) {
  if (!options.password) return std::nullopt;
  // An empty password is most often an unset variable: refused, never a clear text.
  if (options.password->empty()) return Failure{kExitUsage, "the password is empty"};
  // The key is the password's code-page bytes, so it must first be text.
  if (!platform::IsValidUtf8(*options.password)) {
    return InputError("the password is not valid UTF-8");
  }
  if (options.encoding == TextEncoding::kBinary) {
    // Raw bytes have no code page: encrypt them as they are.
    const auto key = platform::Utf8ToCodePage(*options.password);
    if (!key)
      return InputError("the password has a character that " + platform::SystemCodePage() +
                        " cannot represent");
    const Bytes data(content.begin(), content.end());
    const Bytes cipher = app::Rc4Apply(app::Rc4KeySchedule(*key), data);
    content = std::string(app::kEncryptedMarker) + app::HexText(cipher);
    return std::nullopt;
  }
  const app::EncryptionResult result = app::EncryptContent(content, *options.password);
  switch (result.failure) {
    case app::EncryptionFailure::kNone:
      content = *result.text;
      return std::nullopt;
    case app::EncryptionFailure::kContentNotRepresentable:
      return InputError("the content has a character that " + platform::SystemCodePage() +
                        " cannot represent, so it cannot be encrypted");
    case app::EncryptionFailure::kPasswordNotRepresentable:
      return InputError("the password has a character that " + platform::SystemCodePage() +
                        " cannot represent");
  }
  return InputError("the content cannot be encrypted");
}

Outcome ReadPicture(const std::string& path, Bytes& bytes, const std::string& what) {
  if (Outcome failed = ReadFileBounded(path, kMaxPictureFileBytes, bytes, what)) return failed;
  if (!platform::codecs::DecodeImage(bytes)) {
    return InputError("cannot read " + what + " '" + path + "': not a picture");
  }
  return std::nullopt;
}

}  // namespace

Outcome ReadAll(std::FILE* in, std::string& content) {
  content.clear();
  char buffer[65536];
  while (true) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, in);
    if (content.size() + n > kMaxInputBytes) {
      return InputError("the input is longer than " + std::to_string(kMaxInputBytes) +
                        " bytes; no symbol holds that much");
    }
    content.append(buffer, n);
    if (n < sizeof buffer) break;
  }
  if (std::ferror(in))
    return InputError(std::string("cannot read the input: ") + std::strerror(errno));
  return std::nullopt;
}

Outcome ReadFileBounded(const std::string& path, std::size_t limit, Bytes& bytes,
                        const std::string& what) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    return InputError("cannot read " + what + " '" + path + "': " + std::strerror(errno));
  }
  bytes.clear();
  std::uint8_t buffer[65536];
  bool tooLarge = false;
  while (true) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
    if (bytes.size() + n > limit) {
      tooLarge = true;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (n < sizeof buffer) break;
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (tooLarge) {
    return InputError("cannot read " + what + " '" + path + "': larger than " +
                      std::to_string(limit) + " bytes");
  }
  if (failed) return InputError("cannot read " + what + " '" + path + "': read error");
  return std::nullopt;
}

Outcome ReadContent(const CliOptions& options, std::FILE* in, std::string& content) {
  if (options.text) {
    content = *options.text;
    return std::nullopt;
  }
  if (Outcome failed = ReadAll(in, content)) return failed;
  // A byte order mark that an editor put before the text is no part of it.
  if (options.encoding != TextEncoding::kBinary && content.starts_with(kByteOrderMark)) {
    content.erase(0, kByteOrderMark.size());
  }
  // The newline that ends a typed or echoed line is no part of the text;
  // binary input is taken byte for byte, its last byte included.
  const bool text = options.encoding != TextEncoding::kBinary;
  if (text && !options.keepNewline && !content.empty() && content.back() == '\n') {
    content.pop_back();
  }
  return std::nullopt;
}

Outcome MakeSymbol(const CliOptions& options, const std::string& text, Symbol& symbol) {
  if (text.empty()) return InputError("no content to encode");
  if (options.encoding != TextEncoding::kBinary && !platform::IsValidUtf8(text)) {
    return InputError("the input is not valid UTF-8 (use --encoding binary for raw bytes)");
  }
  std::string content = text;
  if (Outcome failed = Encrypt(options, content)) return failed;

  std::optional<Bytes> icon;
  if (options.iconPath) {
    icon.emplace();
    if (Outcome failed = ReadPicture(*options.iconPath, *icon, "icon")) return failed;
  }

  const bool ansi = options.encoding == TextEncoding::kAnsi;
  // The bytes the symbol carries, as Generate makes them.
  Bytes carried = ContentBytes(content, ansi).value_or(Bytes(content.begin(), content.end()));
  QrGenerator& g = symbol.generator;
  // Without --mask the encoder chooses the mask by its penalty rules.
  if (!g.Generate(content, ansi, options.version, options.level, options.mask.value_or(0),
                  options.foreground, options.background, icon, options.marginLeft,
                  options.marginBottom, options.marginTop, options.marginRight,
                  !options.mask.has_value())) {
    const bool kanji = ansi && platform::IsShiftJis(platform::SystemCodePage());
    switch (g.LastFailure()) {
      case GenerateFailure::kContentNotRepresentable:
        return InputError("the content has a character that " + platform::SystemCodePage() +
                          " cannot represent (use --encoding utf8)");
      case GenerateFailure::kContentTooLong:
        return InputError(DescribeTooLong(carried, options.version, options.level, kanji));
      case GenerateFailure::kSymbolTooLarge:
        return InputError(
            "the margins make the symbol picture too large (at most 16384 pixels a side and "
            "16777216 pixels in all)");
      default:
        return InputError("cannot make the symbol");
    }
  }
  symbol.carried = std::move(carried);
  symbol.opacity = options.opacity;
  return std::nullopt;
}

}  // namespace qrsmith::cli
