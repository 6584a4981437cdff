#include "platform/codecs/jpeg.h"

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/codecs/limits.h"
#include "platform/codecs/pixels.h"

// libjpeg reports errors through the error manager, which longjmps back to
// the setjmp of the calling function. Those functions hold no C++ objects
// with destructors; the compress/decompress objects and every buffer are
// owned by their callers.

namespace qrsmith::platform::codecs {
namespace {

constexpr int kQuality = 75;
// A progressive file may hold any number of scans, each a pass over the
// whole picture; real files have about ten. More than this is refused, so
// that a small hostile file cannot keep the decoder busy for minutes.
constexpr int kMaxScans = 500;

struct JpegErrorManager {
  jpeg_error_mgr manager;  // first, so that cinfo->err points at the whole
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings about metadata are harmless; warnings about the data (a premature
// end, bad Huffman codes, a lost marker) mean the picture would be partly
// made up, so they end the decoding like errors.
bool IsHarmlessWarning(int code) {
  return code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC || code == JWRN_EXTRANEOUS_DATA ||
         code == JWRN_JFIF_MAJOR;
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && !IsHarmlessWarning(cinfo->err->msg_code)) OnJpegError(cinfo);
}

void OnJpegProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    OnJpegError(cinfo);
  }
}

void InstallErrorManager(jpeg_error_mgr* manager) {
  jpeg_std_error(manager);
  manager->error_exit = OnJpegError;
  manager->emit_message = OnJpegMessage;
}

// ---- Reading ----

// Reads the markers up to the first scan, checks the declared size and
// starts decompressing (which, for a progressive file, reads every scan).
// Colour pictures come out as B, G, R, X bytes, the Bitmap layout.
bool StartDecompress(j_decompress_ptr cinfo, JpegErrorManager* error, jpeg_progress_mgr* progress,
                     const std::uint8_t* data, std::size_t size) {
  if (setjmp(error->jump)) return false;
  jpeg_create_decompress(cinfo);
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!ImageSizeAllowed(cinfo->image_width, cinfo->image_height)) return false;
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  jpeg_start_decompress(cinfo);
  return cinfo->output_components == 4;
}

bool ReadScanlines(j_decompress_ptr cinfo, JpegErrorManager* error, JSAMPARRAY rows) {
  if (setjmp(error->jump)) return false;
  while (cinfo->output_scanline < cinfo->output_height) {
    if (jpeg_read_scanlines(cinfo, rows + cinfo->output_scanline, 1) != 1) return false;
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

// C, M, Y, K bytes to R, G, B. Adobe's files (the common kind) store the
// inks inverted, 255 meaning no ink.
void ConvertCmykRows(Bitmap& bitmap, bool inverted) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = reinterpret_cast<std::uint8_t*>(bitmap.Row(y));
    for (int x = 0; x < bitmap.Width(); ++x) {
      std::uint32_t ink[4];
      for (int i = 0; i < 4; ++i) ink[i] = inverted ? row[4 * x + i] : 255u - row[4 * x + i];
      const auto channel = [&](int i) { return (ink[i] * ink[3] + 127) / 255; };
      bitmap.Row(y)[x] = PackRgb(channel(0), channel(1), channel(2));
    }
  }
}

// ---- Writing ----

bool WriteJpegStream(j_compress_ptr cinfo, JpegErrorManager* error, const Bitmap* bitmap,
                     unsigned char** buffer, unsigned long* size) {
  if (setjmp(error->jump)) return false;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = static_cast<JDIMENSION>(bitmap->Width());
  cinfo->image_height = static_cast<JDIMENSION>(bitmap->Height());
  cinfo->input_components = 4;
  cinfo->in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, kQuality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  const JDIMENSION row_bytes = cinfo->image_width * 4;
  JSAMPARRAY row =
      (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, row_bytes, 1);
  while (cinfo->next_scanline < cinfo->image_height) {
    std::memcpy(row[0], bitmap->Row(static_cast<int>(cinfo->next_scanline)), row_bytes);
    jpeg_write_scanlines(cinfo, row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

Bytes EncodeJpeg(const Bitmap& bitmap) {
  if (bitmap.Empty() || !bitmap.IsOpaque()) return {};
  jpeg_compress_struct cinfo{};
  JpegErrorManager error{};
  InstallErrorManager(&error.manager);
  cinfo.err = &error.manager;
  unsigned char* buffer = nullptr;  // grown by libjpeg with malloc
  unsigned long size = 0;
  const bool written = WriteJpegStream(&cinfo, &error, &bitmap, &buffer, &size);
  jpeg_destroy_compress(&cinfo);
  Bytes out;
  if (written && buffer) out.assign(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::optional<Bitmap> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8) return std::nullopt;
  jpeg_decompress_struct cinfo{};
  JpegErrorManager error{};
  InstallErrorManager(&error.manager);
  cinfo.err = &error.manager;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnJpegProgress;

  std::optional<Bitmap> bitmap;
  if (StartDecompress(&cinfo, &error, &progress, bytes.data(), bytes.size())) {
    bitmap =
        Bitmap::Create(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  }
  if (bitmap) {
    std::vector<JSAMPROW> rows(static_cast<std::size_t>(bitmap->Height()));
    for (int y = 0; y < bitmap->Height(); ++y) {
      rows[static_cast<std::size_t>(y)] = reinterpret_cast<JSAMPROW>(bitmap->Row(y));
    }
    if (!ReadScanlines(&cinfo, &error, rows.data())) bitmap.reset();
  }
  const bool cmyk = cinfo.out_color_space == JCS_CMYK;
  const bool inverted = cinfo.saw_Adobe_marker;
  jpeg_destroy_decompress(&cinfo);
  if (!bitmap) return std::nullopt;
  if (cmyk) {
    ConvertCmykRows(*bitmap, inverted);
  } else {
    ClearTopBytes(*bitmap);  // the X byte that libjpeg fills with 0xFF
  }
  return bitmap;
}

}  // namespace qrsmith::platform::codecs
