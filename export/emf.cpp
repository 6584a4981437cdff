#include "export/emf.h"

#include "export/record_writer.h"

namespace qrsmith {

namespace {

// A record's type ([MS-EMF] 2.1.1 RecordType) and its size in bytes: every
// record starts with the two.
struct RecordKind {
  std::uint32_t type;
  std::uint32_t bytes;
};
constexpr RecordKind kEmrEof{14, 20};
constexpr RecordKind kEmrSelectObject{37, 12};
constexpr RecordKind kEmrCreateBrushIndirect{39, 24};
constexpr RecordKind kEmrDeleteObject{40, 12};
constexpr RecordKind kEmrBitBlt{76, 100};  // without a source bitmap
// EMR_HEADER with both header extensions: 108 bytes before the description.
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kHeaderFixedBytes = 108;

constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfVersion = 0x00010000;
constexpr std::uint32_t kBrushSolid = 0;                // BS_SOLID
constexpr std::uint32_t kPatCopy = 0x00F00021;          // ternary raster operation PATCOPY
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;  // 2.1.31 StockObject WHITE_BRUSH
constexpr std::uint32_t kBrushIndex = 1;                // index 0 of the table is reserved

// The reference device the frame is measured on: a 96-dpi screen of
// 1920 x 1080 pixels, 508 x 285.75 mm.
constexpr std::int32_t kDevicePixelsX = 1920;
constexpr std::int32_t kDevicePixelsY = 1080;
constexpr std::int32_t kDeviceMicrometresX = 508000;
constexpr std::int32_t kDeviceMicrometresY = 285750;

// A fill is CREATEBRUSHINDIRECT, SELECTOBJECT (the brush), BITBLT with PATCOPY
// (the brush painted over the rectangle: what a rectangle fill records),
// SELECTOBJECT (the stock white brush, so the new brush is no longer
// selected) and DELETEOBJECT.
constexpr std::uint32_t kFillRecords = 5;
constexpr std::uint32_t kFillBytes = kEmrCreateBrushIndirect.bytes + 2 * kEmrSelectObject.bytes +
                                     kEmrBitBlt.bytes + kEmrDeleteObject.bytes;

// Device units (pixels) to hundredths of a millimetre on the reference device.
std::int32_t FrameX(std::int64_t pixels) {
  return static_cast<std::int32_t>((pixels * kDeviceMicrometresX / 10 + kDevicePixelsX / 2) /
                                   kDevicePixelsX);
}
std::int32_t FrameY(std::int64_t pixels) {
  return static_cast<std::int32_t>((pixels * kDeviceMicrometresY / 10 + kDevicePixelsY / 2) /
                                   kDevicePixelsY);
}

// A RectL with inclusive edges.
void RectL(RecordWriter& w, std::int32_t left, std::int32_t top, std::int32_t right,
           std::int32_t bottom) {
  w.I32(left);
  w.I32(top);
  w.I32(right);
  w.I32(bottom);
}

void RecordStart(RecordWriter& w, RecordKind kind) {
  w.U32(kind.type);
  w.U32(kind.bytes);
}

void ObjectRecord(RecordWriter& w, RecordKind kind, std::uint32_t index) {
  RecordStart(w, kind);
  w.U32(index);
}

// Fills left..right-1 by top..bottom-1 with a new solid brush of `colour`.
void Fill(RecordWriter& w, std::int32_t left, std::int32_t top, std::int32_t right,
          std::int32_t bottom, Colour colour) {
  RecordStart(w, kEmrCreateBrushIndirect);  // 2.3.7.1
  w.U32(kBrushIndex);
  w.U32(kBrushSolid);         // LogBrush
  w.U32(colour & 0xFFFFFFu);  // ColorRef: red, green, blue, reserved 0
  w.U32(0);                   // BrushHatch, ignored for a solid brush
  ObjectRecord(w, kEmrSelectObject, kBrushIndex);

  RecordStart(w, kEmrBitBlt);                  // 2.3.1.2, with no source: the pattern alone
  RectL(w, left, top, right - 1, bottom - 1);  // Bounds
  w.I32(left);                                 // xDest, yDest, cxDest, cyDest
  w.I32(top);
  w.I32(right - left);
  w.I32(bottom - top);
  w.U32(kPatCopy);
  w.I32(0);  // xSrc, ySrc
  w.I32(0);
  for (const float m : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) w.F32(m);  // XformSrc: identity
  w.U32(0);                                                             // BkColorSrc
  w.U32(0);                                                             // UsageSrc (DIB_RGB_COLORS)
  for (int i = 0; i < 4; ++i) w.U32(0);  // offBmiSrc, cbBmiSrc, offBitsSrc, cbBitsSrc: none

  ObjectRecord(w, kEmrSelectObject, kStockWhiteBrush);
  ObjectRecord(w, kEmrDeleteObject, kBrushIndex);
}

}  // namespace

Bytes WriteEnhancedMetafile(const ModuleGrid& grid, std::u16string_view description) {
  // The description ends with two zero characters; the record is padded to
  // a multiple of four bytes.
  const std::uint32_t descriptionChars = static_cast<std::uint32_t>(description.size()) + 2;
  const std::uint32_t headerBytes = (kHeaderFixedBytes + descriptionChars * 2 + 3) & ~3u;
  const std::uint64_t fills = static_cast<std::uint64_t>(grid.width) * grid.height + 1;
  const std::uint64_t totalBytes = headerBytes + fills * kFillBytes + kEmrEof.bytes;
  const std::uint64_t records = 1 + fills * kFillRecords + 1;

  Bytes out;
  out.reserve(static_cast<std::size_t>(totalBytes));
  RecordWriter w(out);

  // EMR_HEADER (2.3.4.2). The drawing covers device units 0..Wm by 0..Hm,
  // the background's extra column and row included.
  RecordStart(w, {kEmrHeader, headerBytes});
  RectL(w, 0, 0, grid.width, grid.height);  // Bounds, inclusive
  // Frame, inclusive, in hundredths of a millimetre: the same area,
  // Wm + 1 by Hm + 1 pixels of the reference device.
  RectL(w, 0, 0, FrameX(std::int64_t{grid.width} + 1) - 1,
        FrameY(std::int64_t{grid.height} + 1) - 1);
  w.U32(kEmfSignature);
  w.U32(kEmfVersion);
  w.U32(static_cast<std::uint32_t>(totalBytes));  // Bytes
  w.U32(static_cast<std::uint32_t>(records));     // Records
  w.U16(2);                                       // Handles: the reserved index 0 and one brush
  w.U16(0);                                       // Reserved
  w.U32(descriptionChars);                        // nDescription
  w.U32(kHeaderFixedBytes);                       // offDescription
  w.U32(0);                                       // nPalEntries
  w.I32(kDevicePixelsX);                          // Device
  w.I32(kDevicePixelsY);
  w.I32((kDeviceMicrometresX + 500) / 1000);  // Millimeters
  w.I32((kDeviceMicrometresY + 500) / 1000);
  w.U32(0);  // cbPixelFormat, offPixelFormat, bOpenGL: no pixel format
  w.U32(0);
  w.U32(0);
  w.I32(kDeviceMicrometresX);  // MicrometersX, MicrometersY
  w.I32(kDeviceMicrometresY);
  for (const char16_t ch : description) w.U16(ch);
  w.U16(0);
  w.U16(0);
  while (w.Position() < headerBytes) w.U16(0);

  FillBackgroundThenEveryPosition(grid, grid.width + 1, grid.height + 1,
                                  [&](auto... edges) { Fill(w, edges...); });

  RecordStart(w, kEmrEof);  // 2.3.4.1
  w.U32(0);                 // nPalEntries
  w.U32(16);                // offPalEntries: where a palette would start
  w.U32(kEmrEof.bytes);     // SizeLast
  return out;
}

}  // namespace qrsmith
