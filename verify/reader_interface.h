#pragma once
// The C interface of the QR Code readers (zxing-cpp and zbar): the module
// libqrsmith_reader.so that the command-line tool loads when it verifies, or
// the same function linked into a program (the window) through
// qrsmith::linked_reader.

#include <stddef.h>
#include <stdint.h>

#define QRSMITH_READ_FOUND 1
#define QRSMITH_READ_NOTHING 0
#define QRSMITH_READ_TOO_LONG (-1)
#define QRSMITH_READER_MODULE "libqrsmith_reader.so"
#define QRSMITH_READER_FUNCTION "qrsmith_read_qr_code"
#define QRSMITH_ZBAR_FUNCTION "qrsmith_read_qr_code_zbar"

#ifdef __cplusplus
extern "C" {
#endif

// Reads the first QR Code in a width x height grey picture (one byte per
// pixel, rows after each other) into out[0..capacity); *length is the
// content's length. Returns one of the QRSMITH_READ_ values.
typedef int (*QrsmithReadQrCode)(const uint8_t* grey, int width, int height, uint8_t* out,
                                 size_t capacity, size_t* length);

// The readers themselves, for programs that link them in: zxing-cpp and zbar.
int qrsmith_read_qr_code(const uint8_t* grey, int width, int height, uint8_t* out, size_t capacity,
                         size_t* length);
int qrsmith_read_qr_code_zbar(const uint8_t* grey, int width, int height, uint8_t* out,
                              size_t capacity, size_t* length);

#ifdef __cplusplus
}
#endif
