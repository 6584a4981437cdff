#pragma once
// rMQR symbols from content bytes: the size choice, the data codewords with
// their padding, Reed-Solomon parity in blocks and the module matrix. The bit
// stream, the field, the Reed-Solomon encoder and the interleaving are QR
// Code's own.

#include <cstdint>
#include <optional>
#include <vector>

#include <qrsmith/encoder/bit_stream.h>
#include <qrsmith/encoder/galois_field.h>
#include <qrsmith/encoder/reed_solomon_encoder.h>

namespace qrsmith::encoder {

struct RmqrRequest {
  // 1..32 for R7x43 .. R17x139; 0 the smallest that holds the content (by
  // area, then by height).
  std::int32_t size = 0;
  // 7, 9, 11, 13, 15 or 17: with size 0, the smallest of that height; 0 any.
  std::int32_t height = 0;
  std::int32_t level = 2;  // 2 M or 4 H
  bool allowKanji = true;
  // An ECI designator (assignment 0..999999) ahead of the data, or none.
  std::optional<std::int32_t> eci;
};

struct RmqrSymbolMade {
  std::int32_t size = 0;  // 1..32
  std::int32_t level = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Encodes n bytes of data into `matrix` (height + 3 rows of width + 3 bytes,
// 0 light and 1 dark), measuring with `segmenter`. Nullopt, with `matrix`
// unchanged, when the content fits no allowed size or the request is out of
// range.
std::optional<RmqrSymbolMade> EncodeRmqr(const std::uint8_t* data, std::int32_t n,
                                         const RmqrRequest& request, const GaloisField& field,
                                         ReedSolomonEncoder& rs, Segmenter& segmenter,
                                         std::vector<std::uint8_t>& matrix);

// The stream length in bits of the content in a size 1..32, terminator left
// out; 0 when no mode can hold it.
std::int32_t RmqrStreamBits(const std::uint8_t* data, std::int32_t n, std::int32_t size,
                            bool allowKanji);

}  // namespace qrsmith::encoder
