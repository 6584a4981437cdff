#pragma once
// A symbol's modules as rows of '0' and '1' without its quiet zone, the form
// Zint's dumps are compared in; empty when the encoder refuses the content.

#include <cstdint>
#include <string>
#include <vector>

#include "encoder/qr_encoder.h"

namespace qrsmith::testing {

using ModuleRows = std::vector<std::string>;

inline ModuleRows EncodedRows(QrEncoder& encoder, const std::string& content,
                              const EncodeOptions& options) {
  const Bytes bytes(content.begin(), content.end());
  if (!encoder.Encode(bytes, static_cast<std::int32_t>(bytes.size()), options)) return {};
  ModuleRows rows(static_cast<std::size_t>(encoder.Height()));
  for (std::int32_t r = 0; r < encoder.Height(); ++r) {
    for (std::int32_t c = 0; c < encoder.Width(); ++c) {
      rows[static_cast<std::size_t>(r)] += encoder.ModuleAt(r + 1, c + 1, true) != 0 ? '1' : '0';
    }
  }
  return rows;
}

}  // namespace qrsmith::testing
