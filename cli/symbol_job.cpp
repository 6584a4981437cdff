#include "cli/symbol_job.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/content_encryption.h"
#include "encoder/eci.h"
#include "encoder/gs1.h"
#include "encoder/micro_qr_encoder.h"
#include "encoder/micro_qr_tables.h"
#include "encoder/qr_tables.h"
#include "encoder/rmqr_encoder.h"
#include "encoder/rmqr_tables.h"
#include "encoder/structured_append.h"
#include "platform/codecs/image.h"
#include "platform/codepage.h"

namespace qrsmith::cli {

std::string LevelName(std::int16_t level) {
  const bool named = level >= static_cast<std::int16_t>(Level::kL) &&
                     level <= static_cast<std::int16_t>(Level::kH);
  return std::string(1, LevelLetter(named ? static_cast<Level>(level) : Level::kM));
}

namespace {

Failure InputError(std::string message) { return {kExitInputOutput, std::move(message)}; }

// "content does not fit version 5 at level H (needs 1203 bits, holds 1088)":
// measured the way the encoder measures, for the version asked for or, when
// automatic, for version 40.
std::string DescribeTooLong(const Bytes& bytes, std::int16_t version, std::int16_t level,
                            bool allowKanji, std::int32_t headerBits = 0) {
  const std::int32_t v = version == 0 ? encoder::kMaxVersion : version;
  QrEncoder encoder;
  std::vector<std::uint8_t> unused;
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
  // The measure includes the 4-bit terminator, and is 0 past the encoder's
  // bit arrays: content that long needs more bits than they hold.
  const std::int32_t measured = encoder.BuildBitStream(unused, bytes, n, v, true, allowKanji);
  const std::string needs = measured > 0
                                ? std::to_string(measured - 4 + headerBits)
                                : "more than " + std::to_string(encoder::kBitArrayLength - 4);
  encoder::QrTables tables;
  tables.Fill();
  const std::int32_t holds = 8 * tables.DataCodewords(v, level == 0 ? 2 : level);
  const std::string where = version == 0 ? "any version" : "version " + std::to_string(version);
  return "content does not fit " + where + " at level " + LevelName(level) + " (needs " + needs +
         " bits, holds " + std::to_string(holds) + ")";
}

// "M3": a Micro QR version's name. Appended, not prefixed: GCC 12 at -O3
// warns falsely (-Wrestrict) on a literal + std::to_string.
std::string MicroVersionName(std::int32_t version) {
  std::string name = "M";
  name += std::to_string(version);
  return name;
}

// The same for Micro QR: the bits the content needs in the version asked for
// (or M4), against what that symbol holds at the level.
std::string DescribeTooLongForMicro(const Bytes& bytes, std::int16_t version, std::int16_t level,
                                    bool allowKanji) {
  const std::int32_t v = version == 0 ? encoder::kMicroVersionCount : version;
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), 4096));
  const std::int32_t needs = encoder::MicroQrStreamBits(bytes.data(), n, v, allowKanji);
  const auto symbol = encoder::FindMicroQrSymbol(v, level == 0 ? 1 : level);
  const std::string where = version == 0 ? "any Micro QR version" : MicroVersionName(version);
  std::string message = "content does not fit " + where + " at level " + LevelName(level);
  if (!symbol) return message + " (" + MicroVersionName(v) + " has no such level)";
  if (needs == 0)
    return message + " (it has characters that " + MicroVersionName(v) + " cannot hold)";
  return message + " (needs " + (bytes.size() > 4096 ? "more than " : "") + std::to_string(needs) +
         " bits, holds " + std::to_string(symbol->dataBits) + ")";
}

// The same for rMQR: the bits the content needs in the size asked for (or
// the largest, of the height asked for), against what it holds at the level.
std::string DescribeTooLongForRmqr(const Bytes& bytes, std::int16_t size, std::int16_t height,
                                   std::int16_t level, bool allowKanji,
                                   const std::optional<encoder::StreamHeader>& header) {
  std::int32_t number = size;
  if (number == 0) {
    // The sizes of one height are numbered by width: the last of a height is the widest.
    for (std::int32_t n = 1; n <= encoder::kRmqrSizeCount; ++n) {
      if (height == 0 || encoder::FindRmqrSize(n)->height == height) number = n;
    }
  }
  const encoder::RmqrSize largest = *encoder::FindRmqrSize(number);
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), 4096));
  std::int32_t needs = encoder::RmqrStreamBits(bytes.data(), n, number, allowKanji);
  // An ECI designator follows its 3-bit mode indicator.
  if (needs != 0 && header && header->eci) needs += 3 + encoder::EciDesignatorBits(*header->eci);
  const std::string name = encoder::RmqrSizeName(largest);
  const std::string where = size != 0     ? name
                            : height != 0 ? "any rMQR size of height " + std::to_string(height)
                                          : std::string("any rMQR size");
  const std::int32_t holds = 8 * encoder::RmqrCodewordsAt(largest, level).data;
  // A stream too long to measure needs more than any size holds.
  return "content does not fit " + where + " at level " + LevelName(level) + " (needs " +
         (bytes.size() > 4096 || needs == 0 ? "more than " : "") +
         std::to_string(needs == 0 ? holds : needs) + " bits, " + name + " holds " +
         std::to_string(holds) + ")";
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
  if (options.gs1) {
    content.clear();  // --gs1 carries the content
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

namespace {

// The content as the symbol carries it and how the encoder is to write it.
struct PreparedContent {
  std::string text;  // what Generate takes: UTF-8 text, or the bytes themselves
  bool ansi = false;
  Bytes carried;  // the bytes a reader reads back
  EncodeExtras extras;
  bool rawBytes = false;  // text holds the carried bytes (a named set, GS1)
};

// Where each character of `utf8` starts among the bytes of its conversion to
// `codePage` (one character at a time, as iconv converts these sets).
std::vector<std::uint8_t> CharacterStarts(const std::string& utf8, const std::string& codePage) {
  std::vector<std::uint8_t> starts;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t next = i + 1;
    while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
    const auto bytes =
        platform::Utf8ToCodePage(std::string_view(utf8).substr(i, next - i), codePage);
    if (!bytes || bytes->empty()) return {};
    starts.push_back(1);
    starts.insert(starts.end(), bytes->size() - 1, 0);
    i = next;
  }
  return starts;
}

Outcome Prepare(const CliOptions& options, const std::string& given, PreparedContent& prepared) {
  std::string content = given;
  encoder::StreamHeader header;
  if (options.gs1) {
    if (!given.empty()) return Failure{kExitUsage, "--gs1 carries the content: give no TEXT"};
    if (options.fnc1Application)
      return Failure{kExitUsage, "--gs1 and --fnc1-second exclude each other"};
    if (options.password) return Failure{kExitUsage, "--gs1 data cannot be encrypted"};
    encoder::Gs1Parse parsed = encoder::ParseGs1(*options.gs1);
    if (!parsed.elementString) return Failure{kExitUsage, "--gs1: " + parsed.error};
    content = *parsed.elementString;
    header.fnc1 = encoder::Fnc1{};
  } else if (options.fnc1Application) {
    header.fnc1 = encoder::Fnc1{false, *options.fnc1Application};
  }
  if (content.empty()) return InputError("no content to encode");
  if (options.encoding != TextEncoding::kBinary && !platform::IsValidUtf8(content)) {
    return InputError("the input is not valid UTF-8 (use --encoding binary for raw bytes)");
  }
  if (Outcome failed = Encrypt(options, content)) return failed;

  const encoder::NamedCharacterSet* set = options.characterSet;
  prepared.ansi = options.encoding == TextEncoding::kAnsi;
  bool kanji = prepared.ansi && platform::IsShiftJis(platform::SystemCodePage());
  if (set != nullptr) {
    auto bytes = platform::Utf8ToCodePage(content, set->codePage);
    if (!bytes) {
      return InputError("the content has a character that " + std::string(set->name) +
                        " cannot represent");
    }
    prepared.carried = std::move(*bytes);
    kanji = platform::IsShiftJis(set->codePage);
    header.eci = set->eci;
  } else {
    // The bytes the symbol carries, as Generate makes them.
    prepared.carried =
        ContentBytes(content, prepared.ansi).value_or(Bytes(content.begin(), content.end()));
  }
  if (options.eci == kEciAuto) {
    // Plain ASCII reads the same everywhere; raw bytes have no known set.
    if (!encoder::IsAscii(prepared.carried) && options.encoding != TextEncoding::kBinary &&
        set == nullptr) {
      header.eci = prepared.ansi ? encoder::EciOfCodePage(platform::SystemCodePage())
                                 : std::optional<std::int32_t>(encoder::kUtf8Eci);
    }
  } else if (options.eci) {
    header.eci = options.eci;
  }
  prepared.rawBytes = set != nullptr || options.gs1.has_value();
  prepared.text =
      prepared.rawBytes ? std::string(prepared.carried.begin(), prepared.carried.end()) : content;
  if (prepared.rawBytes) prepared.ansi = false;
  if (header.eci || header.fnc1) prepared.extras.header = header;
  prepared.extras.boostLevel = options.boost;
  prepared.extras.allowKanji = kanji;
  return std::nullopt;
}

// Generates one symbol of prepared content (a whole or a part).
Outcome Generate(const CliOptions& options, const PreparedContent& prepared, Symbol& symbol,
                 std::int16_t version, std::int16_t level, const Bytes* iconOverride = nullptr) {
  std::optional<Bytes> icon;
  if (iconOverride != nullptr) {
    icon = *iconOverride;
  } else if (options.iconPath) {
    icon.emplace();
    if (Outcome failed = ReadPicture(*options.iconPath, *icon, "icon")) return failed;
  }
  QrGenerator& g = symbol.generator;
  const bool micro = options.kind == SymbolKind::kMicroQr;
  if (micro) {
    if (version > 4) return Failure{kExitUsage, "--micro takes versions M1 to M4"};
    if (level > 3) return Failure{kExitUsage, "Micro QR has levels L, M and Q, not H"};
    if (options.mask.value_or(0) > 3) return Failure{kExitUsage, "Micro QR has masks 0 to 3"};
    if (prepared.extras.header || options.structuredAppend || options.boost) {
      return Failure{kExitUsage,
                     "Micro QR carries no ECI, FNC1 or structured append, and --boost is for QR"};
    }
  }
  const bool rmqr = options.kind == SymbolKind::kRmqr;
  EncodeExtras extras = prepared.extras;
  if (rmqr) {
    if (version != 0) return Failure{kExitUsage, "--rmqr takes sizes R7x43 to R17x139"};
    if (options.levelGiven && level != 2 && level != 4) {
      return Failure{kExitUsage, "rMQR has levels M and H"};
    }
    if (options.mask.value_or(0) != 0) return Failure{kExitUsage, "rMQR has one mask, 0"};
    if ((prepared.extras.header && prepared.extras.header->fnc1) || options.structuredAppend) {
      return Failure{kExitUsage, "rMQR carries no FNC1 or structured append"};
    }
    if (options.rmqrSize != 0 && options.rmqrHeight != 0) {
      return Failure{kExitUsage, "-v names an rMQR size, so --rmqr-height has nothing to choose"};
    }
    version = options.rmqrSize;
    level = options.levelGiven ? level : std::int16_t{2};
    extras.rmqrHeight = options.rmqrHeight;
  }
  g.SetKind(options.kind);
  g.SetEncodeExtras(extras);
  // Micro QR and rMQR need a quiet zone of 2 modules, QR of 4.
  const std::int32_t quiet = (micro || rmqr) && !options.marginsGiven ? 2 : -1;
  auto margin = [&](std::int32_t m) { return quiet >= 0 ? quiet : m; };
  // Without --mask the encoder chooses the mask by its penalty rules.
  GenerateOptions generate{.ansi = prepared.ansi,
                           .version = version,
                           .level = static_cast<Level>(level),
                           .mask = options.mask,
                           .foreground = options.foreground,
                           .background = options.background,
                           .icon = std::move(icon),
                           .marginLeft = margin(options.marginLeft),
                           .marginTop = margin(options.marginTop),
                           .marginRight = margin(options.marginRight),
                           .marginBottom = margin(options.marginBottom)};
  if (!g.Generate(prepared.text, generate)) {
    const bool kanji = prepared.extras.allowKanji.value_or(false);
    switch (g.LastFailure()) {
      case GenerateFailure::kContentNotRepresentable:
        return InputError("the content has a character that " + platform::SystemCodePage() +
                          " cannot represent (use --encoding utf8)");
      case GenerateFailure::kContentTooLong:
        if (rmqr) {
          return InputError(DescribeTooLongForRmqr(prepared.carried, version, options.rmqrHeight,
                                                   level, kanji, prepared.extras.header));
        }
        return InputError(micro ? DescribeTooLongForMicro(prepared.carried, version, level, kanji)
                                : DescribeTooLong(prepared.carried, version, level, kanji,
                                                  prepared.extras.header
                                                      ? encoder::HeaderBits(*prepared.extras.header)
                                                      : 0));
      case GenerateFailure::kSymbolTooLarge:
        return InputError(
            "the margins make the symbol picture too large (at most 16384 pixels a side and "
            "16777216 pixels in all)");
      default:
        return InputError("cannot make the symbol");
    }
  }
  symbol.carried = prepared.carried;
  if (prepared.extras.header && prepared.extras.header->fnc1 &&
      !prepared.extras.header->fnc1->firstPosition) {
    // Readers pass the application indicator on before the data: two digits,
    // or the letter whose ASCII value + 100 was written.
    const std::uint8_t indicator = prepared.extras.header->fnc1->applicationIndicator;
    const std::string prefix = indicator < 100
                                   ? std::string{static_cast<char>('0' + indicator / 10),
                                                 static_cast<char>('0' + indicator % 10)}
                                   : std::string(1, static_cast<char>(indicator - 100));
    symbol.carried.insert(symbol.carried.begin(), prefix.begin(), prefix.end());
  }
  symbol.opacity = options.opacity;
  return std::nullopt;
}

}  // namespace

Outcome MakeSymbol(const CliOptions& options, const std::string& text, Symbol& symbol,
                   const Bytes* iconOverride) {
  PreparedContent prepared;
  if (Outcome failed = Prepare(options, text, prepared)) return failed;
  return Generate(options, prepared, symbol, options.version, options.level, iconOverride);
}

Outcome MakeSequence(const CliOptions& options, const std::string& text,
                     std::vector<Symbol>& symbols, Bytes& carried) {
  PreparedContent whole;
  if (Outcome failed = Prepare(options, text, whole)) return failed;
  carried = whole.carried;
  std::vector<std::uint8_t> starts;
  if (options.encoding != TextEncoding::kBinary) {
    if (options.characterSet != nullptr || whole.ansi) {
      const std::string codePage = options.characterSet != nullptr
                                       ? std::string(options.characterSet->codePage)
                                       : platform::SystemCodePage();
      // Encrypted content is ASCII: every byte starts a character.
      if (!options.password) starts = CharacterStarts(text, codePage);
    } else {
      for (const std::uint8_t b : whole.carried) starts.push_back((b & 0xC0) != 0x80);
    }
  }
  encoder::SplitRequest request;
  request.symbols = *options.structuredAppend;
  request.version = options.version;
  request.level = options.level;
  request.allowKanji = whole.extras.allowKanji.value_or(false);
  if (whole.extras.header) request.header = *whole.extras.header;
  if (starts.size() == whole.carried.size()) request.startsCharacter = starts;
  encoder::StructuredAppendPlan plan = encoder::PlanStructuredAppend(whole.carried, request);
  const std::size_t characters =
      request.startsCharacter.empty()
          ? whole.carried.size()
          : static_cast<std::size_t>(std::count(starts.begin(), starts.end(), 1));
  if (request.symbols > 0 && characters < static_cast<std::size_t>(request.symbols)) {
    return InputError("the content has fewer characters than the " +
                      std::to_string(request.symbols) + " symbols asked for");
  }
  if (plan.Parts() == 0) {
    const std::string count =
        request.symbols == kSplitAuto ? "16 symbols" : std::to_string(request.symbols) + " symbols";
    return InputError(
        "the content does not fit " + count +
        (options.version == 0 ? "" : " of version " + std::to_string(options.version)) +
        " at level " + LevelName(options.level));
  }
  symbols = std::vector<Symbol>(plan.Parts());
  if (plan.Parts() == 1)
    return Generate(options, whole, symbols[0], options.version, options.level);
  // Every symbol of a sequence has the same level: the boost raises it only
  // as far as the same split still fits the same version.
  std::int16_t level = options.level;
  for (auto higher = static_cast<std::int16_t>(Level::kH); options.boost && higher > level;
       --higher) {
    encoder::SplitRequest raised = request;
    raised.symbols = static_cast<std::int32_t>(plan.Parts());
    raised.version = plan.version;
    raised.level = higher;
    encoder::StructuredAppendPlan tighter = encoder::PlanStructuredAppend(whole.carried, raised);
    if (tighter.Parts() == plan.Parts()) {
      plan = std::move(tighter);
      level = higher;
      break;
    }
  }
  whole.extras.boostLevel = false;
  std::size_t start = 0;
  for (std::size_t k = 0; k < plan.Parts(); ++k) {
    PreparedContent part = whole;
    part.carried.assign(whole.carried.begin() + static_cast<std::ptrdiff_t>(start),
                        whole.carried.begin() + static_cast<std::ptrdiff_t>(plan.ends[k]));
    part.text.assign(part.carried.begin(), part.carried.end());
    part.ansi = false;  // the part's bytes as they are
    encoder::StreamHeader header = whole.extras.header.value_or(encoder::StreamHeader{});
    header.structuredAppend = encoder::PartHeader(plan, k);
    part.extras.header = header;
    if (Outcome failed =
            Generate(options, part, symbols[k], static_cast<std::int16_t>(plan.version), level))
      return failed;
    start = plan.ends[k];
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
