#include "cli/cli_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <set>
#include <string_view>

#include "cli/payload_commands.h"
#include "encoder/qr_encoder.h"
#include "encoder/rmqr_tables.h"
#include "encoder/stream_header.h"
#include "platform/colour.h"

namespace qrsmith::cli {

namespace {

// Applies one option's value; returns an error message, or "" when it is fine.
using Apply = std::function<std::string(CliOptions&, const std::string&)>;

struct OptionRule {
  std::string_view longName;
  char shortName;  // 0: none
  bool takesValue;
  Apply apply;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Bad(std::string_view option, const std::string& value, std::string_view expected) {
  return "--" + std::string(option) + " takes " + std::string(expected) + ", not '" + value + "'";
}

// "RRGGBB" or "RRGGBBAA" with an optional leading '#' (platform::ParseColourText).
std::optional<platform::ColourWithAlpha> ParseColour(std::string_view text) {
  if (!text.empty() && text[0] == '#') text.remove_prefix(1);
  return platform::ParseColourText(text);
}

// "A,B" or "AxB" (separator given) of integers within [low, high].
std::optional<std::vector<std::int32_t>> ParseList(const std::string& text, char separator,
                                                   std::size_t count, std::int64_t low,
                                                   std::int64_t high) {
  std::vector<std::int32_t> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    const auto value = ParseInteger(text.substr(start, end - start), low, high);
    if (!value) return std::nullopt;
    out.push_back(static_cast<std::int32_t>(*value));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (out.size() != count) return std::nullopt;
  return out;
}

// A plain decimal number such as "0.4" or "12" within [low, high]: digits
// with at most one point, no sign, no exponent, as a user types a size.
std::optional<double> ParseDecimal(const std::string& text, double low, double high) {
  if (text.empty() || text.size() > 12 || text.front() == '.' || text.back() == '.' ||
      std::count(text.begin(), text.end(), '.') > 1 ||
      !std::all_of(text.begin(), text.end(),
                   [](char c) { return c == '.' || (c >= '0' && c <= '9'); })) {
    return std::nullopt;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// Bounds of the numeric options: generous, but far from overflow anywhere.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxMargin = 8000;

// An option without a value that switches `flag` on.
OptionRule Switch(std::string_view name, char shortName, bool CliOptions::*flag) {
  return {name, shortName, false, [flag](CliOptions& o, const std::string&) {
            o.*flag = true;
            return std::string();
          }};
}

// An option whose value is kept as typed: a file name or a password.
OptionRule Text(std::string_view name, char shortName,
                std::optional<std::string> CliOptions::*field) {
  return {name, shortName, true, [field](CliOptions& o, const std::string& v) {
            o.*field = v;
            return std::string();
          }};
}

// A colour with its alpha, RRGGBB or RRGGBBAA, kept in `colour` and `alpha`.
OptionRule ColourOption(std::string_view name, Colour CliOptions::*colour,
                        std::uint8_t Opacity::*alpha) {
  return {name, 0, true, [name, colour, alpha](CliOptions& o, const std::string& v) {
            const auto c = ParseColour(v);
            if (!c) return Bad(name, v, "a colour RRGGBB or RRGGBBAA");
            o.*colour = c->colour;
            o.opacity.*alpha = c->alpha;
            return std::string();
          }};
}

// A number of pixels from 1 to kMaxSide; `expected` says so when it is not.
OptionRule Pixels(std::string_view name, char shortName,
                  std::optional<std::int32_t> CliOptions::*field, std::string_view expected) {
  return {name, shortName, true, [name, field, expected](CliOptions& o, const std::string& v) {
            const auto n = ParseInteger(v, 1, kMaxSide);
            if (!n) return Bad(name, v, expected);
            o.*field = static_cast<std::int32_t>(*n);
            return std::string();
          }};
}

const std::vector<OptionRule>& Options() {
  static const std::vector<OptionRule> options = {
      Text("output", 'o', &CliOptions::output),
      {"type", 't', true,
       [](CliOptions& o, const std::string& v) {
         o.form = FormNamed(v);
         if (o.form == nullptr) return Bad("type", v, FormNames());
         // The tool writes SVG compact; the rectangle form only when named.
         if (o.form->id == FormId::kSvg && o.form != FormNamedExactly(v)) {
           o.form = &FormOf(FormId::kSvgPath);
         }
         return std::string();
       }},
      Pixels("size", 's', &CliOptions::moduleSize, "pixels per module from 1 to 16384"),
      Pixels("width", 'w', &CliOptions::width, "pixels from 1 to 16384"),
      Pixels("height", 0, &CliOptions::height, "pixels from 1 to 16384"),
      {"module-mm", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto mm = ParseDecimal(v, kMinModuleMm, kMaxModuleMm);
         if (!mm) return Bad("module-mm", v, "millimetres per module from 0.05 to 100");
         o.print.moduleMm = *mm;
         return std::string();
       }},
      {"dpi", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto n = ParseInteger(v, kMinDpi, kMaxDpi);
         if (!n) return Bad("dpi", v, "dots per inch from 1 to 10000");
         o.print.dpi = static_cast<std::int32_t>(*n);
         return std::string();
       }},
      {"cmyk", 0, false,
       [](CliOptions& o, const std::string&) {
         o.print.cmyk = true;
         return std::string();
       }},
      {"level", 'l', true,
       [](CliOptions& o, const std::string& v) {
         const std::optional<Level> level =
             v.size() == 1 ? LevelOfLetter(v[0]) : std::optional<Level>();
         if (!level) return Bad("level", v, "L, M, Q or H");
         o.level = static_cast<std::int16_t>(*level);
         o.levelGiven = true;
         return std::string();
       }},
      {"symversion", 'v', true,
       [](CliOptions& o, const std::string& v) {
         // M1..M4 name the Micro QR versions.
         if (v.size() == 2 && (v[0] == 'M' || v[0] == 'm') && v[1] >= '1' && v[1] <= '4') {
           o.kind = SymbolKind::kMicroQr;
           o.version = static_cast<std::int16_t>(v[1] - '0');
           return std::string();
         }
         // R7x43..R17x139 name the rMQR sizes.
         if (const auto size = encoder::FindRmqrSize(v)) {
           o.kind = SymbolKind::kRmqr;
           o.rmqrSize = static_cast<std::int16_t>(size->number);
           return std::string();
         }
         const auto n = ParseInteger(v, 1, 40);
         if (!n)
           return Bad("symversion", v, "a version from 1 to 40, M1 to M4 or R7x43 to R17x139");
         o.version = static_cast<std::int16_t>(*n);
         return std::string();
       }},
      {"mask", 0, true,
       [](CliOptions& o, const std::string& v) {
         if (Lower(v) == "auto") {
           o.mask.reset();
           return std::string();
         }
         const auto n = ParseInteger(v, 0, 7);
         if (!n) return Bad("mask", v, "0 to 7 or auto");
         o.mask = static_cast<std::int16_t>(*n);
         return std::string();
       }},
      {"margin", 'm', true,
       [](CliOptions& o, const std::string& v) {
         const auto n = ParseInteger(v, 0, kMaxMargin);
         if (!n) return Bad("margin", v, "modules from 0 to 8000");
         o.marginsGiven = true;
         o.marginLeft = o.marginTop = o.marginRight = o.marginBottom =
             static_cast<std::int32_t>(*n);
         return std::string();
       }},
      {"margins", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto list = ParseList(v, ',', 4, 0, kMaxMargin);
         if (!list) return Bad("margins", v, "L,T,R,B in modules from 0 to 8000");
         o.marginsGiven = true;
         o.marginLeft = (*list)[0];
         o.marginTop = (*list)[1];
         o.marginRight = (*list)[2];
         o.marginBottom = (*list)[3];
         return std::string();
       }},
      ColourOption("foreground", &CliOptions::foreground, &Opacity::foreground),
      ColourOption("background", &CliOptions::background, &Opacity::background),
      {"encoding", 0, true,
       [](CliOptions& o, const std::string& v) {
         const std::string e = Lower(v);
         o.characterSet = nullptr;
         if (e == "utf8" || e == "utf-8") {
           o.encoding = TextEncoding::kUtf8;
         } else if (e == "ansi") {
           o.encoding = TextEncoding::kAnsi;
         } else if (e == "binary") {
           o.encoding = TextEncoding::kBinary;
         } else if (const auto* set = encoder::FindCharacterSet(e)) {
           o.encoding = TextEncoding::kUtf8;
           o.characterSet = set;
         } else {
           return Bad("encoding", v,
                      "utf8, ansi, binary or a character set such as iso-8859-1, shift_jis or "
                      "gbk (see --help)");
         }
         return std::string();
       }},
      {"8bit", '8', false,
       [](CliOptions& o, const std::string&) {
         o.encoding = TextEncoding::kBinary;
         o.characterSet = nullptr;
         return std::string();
       }},
      Text("encryption-password", 0, &CliOptions::password),
      Text("icon", 0, &CliOptions::iconPath),
      Text("picture", 0, &CliOptions::picturePath),
      {"picture-size", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto list = ParseList(Lower(v), 'x', 2, 1, kMaxSide);
         if (!list) return Bad("picture-size", v, "WxH in pixels from 1 to 16384");
         o.pictureWidth = (*list)[0];
         o.pictureHeight = (*list)[1];
         return std::string();
       }},
      {"offset", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto list = ParseList(v, ',', 2, -kMaxSide, kMaxSide);
         if (!list) return Bad("offset", v, "DX,DY in pixels");
         o.offsetX = (*list)[0];
         o.offsetY = (*list)[1];
         o.offsetGiven = true;
         return std::string();
       }},
      {"micro", 0, false,
       [](CliOptions& o, const std::string&) {
         o.kind = SymbolKind::kMicroQr;
         return std::string();
       }},
      {"rmqr", 0, false,
       [](CliOptions& o, const std::string&) {
         o.kind = SymbolKind::kRmqr;
         return std::string();
       }},
      {"rmqr-height", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto n = ParseInteger(v, 7, 17);
         if (!n || *n % 2 == 0) return Bad("rmqr-height", v, "7, 9, 11, 13, 15 or 17");
         o.kind = SymbolKind::kRmqr;
         o.rmqrHeight = static_cast<std::int16_t>(*n);
         return std::string();
       }},
      Switch("noise", 0, &CliOptions::noise),
      Switch("circles", 0, &CliOptions::circles),
      Switch("svg-path", 0, &CliOptions::svgPath),
      Switch("pdfx", 0, &CliOptions::pdfx),
      Text("title", 0, &CliOptions::title),
      {"verify", 0, false,
       [](CliOptions& o, const std::string& v) {
         // --verify alone or --verify=text prints the grade line, --verify=json the object.
         if (!v.empty() && v != "text" && v != "json") return Bad("verify", v, "text or json");
         o.verify = true;
         if (v == "json") o.gradeJson = true;
         return std::string();
       }},
      {"grade-format", 0, true,
       [](CliOptions& o, const std::string& v) {
         if (v != "text" && v != "json") return Bad("grade-format", v, "text or json");
         o.gradeJson = v == "json";
         return std::string();
       }},
      {"verify-dpi", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto n = ParseInteger(v, kMinVerifyDpi, kMaxVerifyDpi);
         if (!n) return Bad("verify-dpi", v, "dots per inch from 72 to 1200");
         o.verifyDpi = static_cast<std::int32_t>(*n);
         return std::string();
       }},
      {"min-grade", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto letter = verify::ParseLetter(v);
         if (!letter) return Bad("min-grade", v, "A, B, C, D or F");
         o.minGrade = *letter;
         return std::string();
       }},
      Switch("keep-newline", 0, &CliOptions::keepNewline),
      Text("batch", 0, &CliOptions::batchFile),
      // Header segments and the level boost.
      {"eci", 0, true,
       [](CliOptions& o, const std::string& v) {
         if (Lower(v) == "auto") {
           o.eci = kEciAuto;
           return std::string();
         }
         const auto n = ParseInteger(v, 0, encoder::kMaxEciAssignment);
         if (!n || v[0] == '+' || v[0] == '-') return Bad("eci", v, "0 to 999999 or auto");
         o.eci = static_cast<std::int32_t>(*n);
         return std::string();
       }},
      Text("gs1", 0, &CliOptions::gs1),
      {"fnc1-second", 0, true,
       [](CliOptions& o, const std::string& v) {
         // Two digits stand for themselves, a letter for its ASCII value + 100.
         if (v.size() == 2 && std::isdigit(static_cast<unsigned char>(v[0])) &&
             std::isdigit(static_cast<unsigned char>(v[1]))) {
           o.fnc1Application = static_cast<std::uint8_t>((v[0] - '0') * 10 + (v[1] - '0'));
         } else if (v.size() == 1 && std::isalpha(static_cast<unsigned char>(v[0]))) {
           o.fnc1Application = static_cast<std::uint8_t>(v[0] + 100);
         } else {
           return Bad("fnc1-second", v, "two digits 00-99 or one letter");
         }
         return std::string();
       }},
      {"structured-append", 0, true,
       [](CliOptions& o, const std::string& v) {
         const auto n = ParseInteger(v, 2, encoder::kMaxStructuredAppendSymbols);
         if (!n) return Bad("structured-append", v, "2 to 16 symbols");
         if (o.structuredAppend)
           return std::string("--split and --structured-append exclude each other");
         o.structuredAppend = static_cast<std::int32_t>(*n);
         return std::string();
       }},
      {"split", 0, true,
       [](CliOptions& o, const std::string& v) {
         if (Lower(v) != "auto") return Bad("split", v, "auto");
         if (o.structuredAppend)
           return std::string("--split and --structured-append exclude each other");
         o.structuredAppend = kSplitAuto;
         return std::string();
       }},
      Switch("boost", 0, &CliOptions::boost),
      Switch("help", 'h', &CliOptions::help),
      Switch("version", 'V', &CliOptions::version_),
  };
  return options;
}

// Long names that stand for another option.
struct Alias {
  std::string_view alias;
  std::string_view name;
};
constexpr Alias kAliases[] = {
    {"fg", "foreground"}, {"bg", "background"}, {"password", "encryption-password"}};

std::string_view Canonical(std::string_view name) {
  for (const Alias& a : kAliases) {
    if (a.alias == name) return a.name;
  }
  return name;
}

const OptionRule* FindLong(std::string_view name) {
  name = Canonical(name);
  for (const OptionRule& o : Options()) {
    if (o.longName == name) return &o;
  }
  return nullptr;
}

const OptionRule* FindShort(char c) {
  for (const OptionRule& o : Options()) {
    if (o.shortName == c) return &o;
  }
  return nullptr;
}

ParseResult Parse(CliOptions options, const std::vector<std::string>& args, bool allowCommand) {
  const PayloadCommand* command = nullptr;
  PayloadValues payloadValues;
  std::vector<std::string> positional;
  bool onlyPositional = false;
  std::set<std::string_view> given;  // options seen so far: a second one is refused

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyPositional || arg == "-" || arg.size() < 2 || arg[0] != '-') {
      if (allowCommand && command == nullptr && positional.empty() && !onlyPositional &&
          options.payloadCommand == std::nullopt) {
        command = FindPayloadCommand(arg);
        if (command != nullptr) {
          options.payloadCommand = arg;
          continue;
        }
      }
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyPositional = true;
      continue;
    }
    std::string name;
    std::optional<std::string> inlineValue;
    const OptionRule* rule = nullptr;
    if (arg[1] == '-') {
      name = arg.substr(2);
      if (const auto eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name.erase(eq);
      }
      // A payload subcommand's own flags come first: "wifi --password" is the
      // network's password, not the content encryption's.
      if (const PayloadFlag* flag = command ? FindPayloadFlag(*command, name) : nullptr) {
        if (payloadValues.count(flag->name) && !flag->repeatable) {
          return {std::nullopt, "--" + flag->name + " is given twice"};
        }
        if (flag->TakesValue()) {
          if (!inlineValue) {
            if (i + 1 >= args.size()) return {std::nullopt, "--" + name + " needs a value"};
            inlineValue = args[++i];
          }
          payloadValues.emplace(flag->name, *inlineValue);
        } else {
          if (inlineValue) return {std::nullopt, "--" + name + " takes no value"};
          payloadValues.emplace(flag->name, "");
        }
        continue;
      }
      rule = FindLong(name);
      if (rule == nullptr) return {std::nullopt, "unknown option '" + arg + "'"};
    } else {
      rule = FindShort(arg[1]);
      if (rule == nullptr) return {std::nullopt, "unknown option '" + arg + "'"};
      name = std::string(rule->longName);
      if (arg.size() > 2) {
        if (!rule->takesValue) return {std::nullopt, "unknown option '" + arg + "'"};
        inlineValue = arg.substr(2);
      }
    }
    if (!given.insert(rule->longName).second) {
      return {std::nullopt, "--" + std::string(rule->longName) + " is given twice"};
    }
    std::string value;
    if (rule->takesValue) {
      if (inlineValue) {
        value = *inlineValue;
      } else {
        if (i + 1 >= args.size()) return {std::nullopt, "--" + name + " needs a value"};
        value = args[++i];
      }
    } else if (inlineValue) {
      // --verify=json: the one switch with an optional value.
      if (rule->longName != "verify") return {std::nullopt, "--" + name + " takes no value"};
      value = *inlineValue;
    }
    if (std::string error = rule->apply(options, value); !error.empty()) {
      return {std::nullopt, error};
    }
  }

  if (command != nullptr) {
    // "qrsmith wifi --help": the command's help, whatever else is missing.
    if (options.help) return {std::move(options), {}};
    if (options.encoding == TextEncoding::kBinary) {
      // The flags are text: taking their bytes raw could split a double-byte
      // character where the form adds its escapes.
      return {std::nullopt, options.payloadCommand.value() +
                                " takes text: -8 and --encoding binary cannot be used with it "
                                "(--encoding ansi writes the system code page)"};
    }
    if (!positional.empty()) {
      return {std::nullopt, options.payloadCommand.value() + " takes no text argument ('" +
                                positional.front() + "')"};
    }
    if (command->level != 0) {
      // The form's readers expect this level: another would be a code that
      // banking apps may refuse.
      if (given.count("level") && options.level != command->level) {
        return {std::nullopt, command->name + " is made at level M, which its readers expect"};
      }
      options.level = command->level;
    }
    options.swissCross = command->swissCross;
    BuiltPayload built = BuildPayload(*command, payloadValues);
    if (!built.content) return {std::nullopt, built.error};
    options.text = std::move(built.content);
  } else if (positional.size() > 1) {
    return {std::nullopt, "more than one text given ('" + positional[1] + "'); quote the text"};
  } else if (positional.size() == 1 && positional[0] != "-") {
    options.text = positional[0];
  }
  return {std::move(options), {}};
}

}  // namespace

std::optional<std::int64_t> ParseInteger(const std::string& text, std::int64_t low,
                                         std::int64_t high) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::vector<std::string> OptionLongNames() {
  std::vector<std::string> names;
  for (const OptionRule& o : Options()) names.emplace_back(o.longName);
  for (const Alias& a : kAliases) names.emplace_back(a.alias);
  return names;
}

std::optional<bool> OptionTakesValue(std::string_view longName) {
  const OptionRule* rule = FindLong(longName);
  if (rule == nullptr) return std::nullopt;
  return rule->takesValue;
}

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
  return Parse(CliOptions{}, args, true);
}

ParseResult ParseOptionsOver(const CliOptions& base, const std::vector<std::string>& args) {
  CliOptions fresh = base;
  fresh.text.reset();
  fresh.payloadCommand.reset();
  return Parse(fresh, args, true);
}

}  // namespace qrsmith::cli
