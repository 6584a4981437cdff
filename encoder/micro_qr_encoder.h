#pragma once
// Micro QR Code symbols from content bytes: the version and symbol choice,
// the data codewords with their padding, Reed-Solomon parity and the module
// matrix. The bit stream, the field and the Reed-Solomon encoder are QR
// Code's own.

#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/encoder/bit_stream.h>
#include <qrsmith/encoder/galois_field.h>
#include <qrsmith/encoder/reed_solomon_encoder.h>

namespace qrsmith::encoder {

struct MicroQrRequest {
  std::int32_t version = 0;  // 1..4 for M1..M4; 0 the smallest that holds the content
  std::int32_t level = 1;    // 1 L, 2 M, 3 Q; M1 serves L
  std::int32_t mask = 0;     // 0..3, unless chosen
  bool chooseMask = false;   // the mask with the highest evaluation, the lowest on ties
  bool allowKanji = true;
};

struct MicroQrSymbolMade {
  std::int32_t version = 0;
  std::int32_t level = 0;
  std::int32_t mask = 0;
  std::int32_t side = 0;
};

// Encodes n bytes of data into `matrix` (side + 3 rows of side + 3 bytes, 0
// light and 1 dark), measuring with `segmenter`. Nullopt, with `matrix`
// unchanged, when the content fits no allowed symbol or the request is out
// of range.
std::optional<MicroQrSymbolMade> EncodeMicroQr(const std::uint8_t* data, std::int32_t n,
                                               const MicroQrRequest& request,
                                               const GaloisField& field, ReedSolomonEncoder& rs,
                                               Segmenter& segmenter,
                                               std::vector<std::uint8_t>& matrix);

// The stream length in bits of the content in a version 1..4, terminator left
// out; 0 when the version's modes cannot hold it.
std::int32_t MicroQrStreamBits(const std::uint8_t* data, std::int32_t n, std::int32_t version,
                               bool allowKanji);

}  // namespace qrsmith::encoder
