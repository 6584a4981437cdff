#include "api/qrsmith.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>

#include "export/output_forms.h"
#include "generator/qr_generator.h"
#include "platform/file.h"

namespace qrsmith {

namespace {

constexpr const char* kLevelNames[] = {"M", "L", "M", "Q", "H"};

// An option as the generator takes it; one it can only refuse when it does
// not fit a 16-bit value.
std::int16_t Narrow(int value) {
  constexpr int kOutOfRange = std::numeric_limits<std::int16_t>::min();
  return value < std::numeric_limits<std::int16_t>::min() ||
                 value > std::numeric_limits<std::int16_t>::max()
             ? static_cast<std::int16_t>(kOutOfRange)
             : static_cast<std::int16_t>(value);
}

std::string WhyNot(GenerateFailure failure, const SymbolOptions& options) {
  const int level = static_cast<int>(options.level);
  const std::string levelName = level >= 0 && level <= 4 ? kLevelNames[level] : "?";
  switch (failure) {
    case GenerateFailure::kContentTooLong:
      return options.version == 0
                 ? "the text does not fit any QR Code symbol at level " + levelName
                 : "the text does not fit a version " + std::to_string(options.version) +
                       " symbol at level " + levelName;
    case GenerateFailure::kSymbolTooLarge:
      return "a quiet zone of " + std::to_string(options.quietZone) +
             " modules makes the symbol picture too large";
    case GenerateFailure::kContentNotRepresentable:
      return "the text cannot be encoded";
    case GenerateFailure::kRenderingFailed:
    case GenerateFailure::kNone:
      return "the symbol picture could not be made";
    case GenerateFailure::kOptionOutOfRange:
      break;
  }
  return "an option is out of range: version 0 to 40, level L, M, Q or H, mask 0 to 7, "
         "quiet zone 0 or more";
}

// A printed module size turned into whole pixels at the raster forms'
// resolution; a size too small for one pixel is refused.
std::optional<std::string> SizeRequest(const QrGenerator& g, const OutputForm& form,
                                       const WriteOptions& options, FormRequest& request) {
  if (options.moduleMm) {
    request.print.moduleMm = options.moduleMm;
    // Vector forms draw at the printed size itself.
    if (!form.IsRaster()) return std::nullopt;
  }
  if (!form.can.pixelSize) return std::nullopt;
  std::int64_t pixels = options.modulePixels;
  if (options.moduleMm) pixels = request.print.RasterPixelsPerModule().value_or(0);
  if (pixels < 1) return std::string("a module must be at least one pixel wide");
  const std::int64_t width = g.SymbolWidth() * pixels, height = g.SymbolHeight() * pixels;
  if (width > std::numeric_limits<std::int32_t>::max()) {
    return "a picture of " + std::to_string(width) + " pixels a side is too large";
  }
  request.layout.width = static_cast<std::int32_t>(width);
  request.layout.height = static_cast<std::int32_t>(height);
  return std::nullopt;
}

}  // namespace

Symbol::Symbol(std::shared_ptr<const QrGenerator> generator) : generator_(std::move(generator)) {}

int Symbol::QuietZone() const { return generator_->MarginLeft(); }
int Symbol::Width() const { return generator_->SymbolWidth() - 2 * QuietZone(); }
int Symbol::Height() const { return generator_->SymbolHeight() - 2 * QuietZone(); }

bool Symbol::IsDark(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
  return generator_->IsDark(y + 1 + QuietZone(), x + 1 + QuietZone());
}

int Symbol::Version() const { return generator_->SymbolVersion(); }
ErrorCorrection Symbol::Level() const { return static_cast<ErrorCorrection>(generator_->Level()); }
int Symbol::Mask() const { return generator_->Mask(); }

EncodeResult Encode(const std::string& text, const SymbolOptions& options) {
  auto generator = std::make_shared<QrGenerator>();
  const std::int16_t level = Narrow(static_cast<int>(options.level));
  const std::int16_t mask = options.mask ? Narrow(*options.mask) : std::int16_t{0};
  const std::int32_t zone = options.quietZone;
  // Level 0 and mask -1 mean defaults to the generator; here they are out of range.
  if (level < 1 || mask < 0 ||
      !generator->Generate(text, false, Narrow(options.version), level, mask, options.foreground,
                           options.background, std::nullopt, zone, zone, zone, zone,
                           !options.mask.has_value())) {
    const GenerateFailure failure =
        level < 1 || mask < 0 ? GenerateFailure::kOptionOutOfRange : generator->LastFailure();
    return {std::nullopt, WhyNot(failure, options)};
  }
  return {Symbol(std::move(generator)), ""};
}

WriteResult Write(const Symbol& symbol, const std::string& path, const WriteOptions& options) {
  const OutputForm* form = options.form.empty() ? FormOfPath(path) : FormNamed(options.form);
  if (form == nullptr) {
    return {options.form.empty()
                ? "cannot tell the form of '" + path + "' from its extension; name one of " +
                      FormNames()
                : "no form is called '" + options.form + "'; the forms are " + FormNames()};
  }
  const QrGenerator& g = symbol.Generator();
  FormRequest request;
  if (auto refused = SizeRequest(g, *form, options, request)) return {*refused};
  if (std::string refused = RequestRefusal(*form, request); !refused.empty()) return {refused};
  const Bytes bytes = ExportForm(g, *form, request);
  if (bytes.empty()) {
    return {"cannot make the " + std::string(form->name) + " form of this symbol" +
            (request.layout.width > 0 ? " at " + std::to_string(request.layout.width) + " x " +
                                            std::to_string(request.layout.height) + " pixels"
                                      : "")};
  }
  if (!platform::WriteFileAtomically(path, bytes)) {
    return {"cannot write '" + path + "': " + std::strerror(errno != 0 ? errno : EIO)};
  }
  return {};
}

}  // namespace qrsmith
