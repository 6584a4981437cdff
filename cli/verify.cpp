#include "cli/verify.h"

namespace qrsmith::cli {

Outcome VerifyOutput(const Symbol& symbol, const OutputForm& form, const Bytes& bytes,
                     bool onPicture) {
  verify::FileCheckResult checked = verify::CheckWrittenFile(symbol.generator, symbol.carried, form,
                                                             bytes, onPicture, symbol.opacity);
  switch (checked.result) {
    case verify::FileCheck::kPassed:
      break;
    case verify::FileCheck::kFailed:
      return Failure{kExitVerify, std::move(checked.message)};
    case verify::FileCheck::kCannotCheck:
      return Failure{kExitInputOutput, std::move(checked.message)};
  }
  return std::nullopt;
}

}  // namespace qrsmith::cli
