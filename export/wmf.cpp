#include "export/wmf.h"

#include "export/record_writer.h"

namespace qrsmith {

namespace {

// Record functions ([MS-WMF] 2.1.1.1 RecordType).
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaDeleteObject = 0x01F0;
constexpr std::uint16_t kMetaCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kMetaCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kMetaRectangle = 0x041B;

constexpr std::uint16_t kMemoryMetafile = 0x0001;  // 2.1.1.15 MetafileType
constexpr std::uint16_t kMetaVersion300 = 0x0300;  // 2.1.1.19 MetafileVersion
constexpr std::uint16_t kHeaderWords = 9;          // 2.3.2.2 META_HEADER, 18 bytes
constexpr std::uint16_t kBrushSolid = 0;           // 2.1.1.4 BS_SOLID
constexpr std::uint16_t kPenNull = 5;              // 2.1.1.23 PS_NULL

// The drawing selects one null pen first, then each fill is four records:
//   CREATEBRUSHINDIRECT (object 1), SELECTOBJECT 1, RECTANGLE, DELETEOBJECT 1.
// A rectangle is outlined with the current pen, and an outline is drawn
// centred on the edges: when a reader scales the picture, a pen one unit wide
// reaches half a unit into every neighbour and its round joins bite the
// corners of dark modules. With no outline the figure is the fill's area,
// left..right by top..bottom, at any scale.
constexpr std::uint32_t kBrushRecordWords = 7;
constexpr std::uint32_t kPenRecordWords = 8;
constexpr std::uint32_t kObjectIndexRecordWords = 4;
constexpr std::uint32_t kRectangleRecordWords = 7;
constexpr std::uint32_t kEofRecordWords = 3;
constexpr std::uint32_t kLargestRecordWords = kPenRecordWords;
constexpr std::uint16_t kObjectsAtOnce = 2;
constexpr std::uint16_t kPenIndex = 0;
constexpr std::uint16_t kBrushIndex = 1;
constexpr std::uint32_t kPenWords = kPenRecordWords + 2 * kObjectIndexRecordWords;
constexpr std::uint32_t kFillWords =
    kBrushRecordWords + 2 * kObjectIndexRecordWords + kRectangleRecordWords;

void RecordStart(RecordWriter& w, std::uint32_t words, std::uint16_t function) {
  w.U32(words);  // RecordSize, in 16-bit words, the 6-byte record head included
  w.U16(function);
}

void ObjectIndexRecord(RecordWriter& w, std::uint16_t function, std::uint16_t index) {
  RecordStart(w, kObjectIndexRecordWords, function);
  w.U16(index);
}

void SelectNullPen(RecordWriter& w) {
  RecordStart(w, kPenRecordWords, kMetaCreatePenIndirect);
  w.U16(kPenNull);
  w.I16(0);  // width and its unused y
  w.I16(0);
  w.U32(0);  // ColorRef, unused by a null pen
  ObjectIndexRecord(w, kMetaSelectObject, kPenIndex);
}

// Coordinates are 16-bit in this format; the grid bound keeps them within it.
void Fill(RecordWriter& w, std::int32_t left, std::int32_t top, std::int32_t right,
          std::int32_t bottom, Colour colour) {
  RecordStart(w, kBrushRecordWords, kMetaCreateBrushIndirect);
  w.U16(kBrushSolid);
  w.U32(colour & 0xFFFFFFu);  // ColorRef: red, green, blue, reserved 0
  w.U16(0);                   // BrushHatch, ignored for a solid brush
  ObjectIndexRecord(w, kMetaSelectObject, kBrushIndex);

  RecordStart(w, kRectangleRecordWords, kMetaRectangle);
  w.I16(static_cast<std::int16_t>(bottom));  // the edges come last to first
  w.I16(static_cast<std::int16_t>(right));
  w.I16(static_cast<std::int16_t>(top));
  w.I16(static_cast<std::int16_t>(left));

  ObjectIndexRecord(w, kMetaDeleteObject, kBrushIndex);
}

}  // namespace

Bytes WriteWindowsMetafile(const ModuleGrid& grid) {
  const std::uint64_t fills = static_cast<std::uint64_t>(grid.width) * grid.height + 1;
  const std::uint64_t words = kHeaderWords + kPenWords + fills * kFillWords + kEofRecordWords;

  Bytes out;
  out.reserve(static_cast<std::size_t>(words * 2));
  RecordWriter w(out);
  // META_HEADER ([MS-WMF] 2.3.2.2).
  w.U16(kMemoryMetafile);
  w.U16(kHeaderWords);
  w.U16(kMetaVersion300);
  w.U32(static_cast<std::uint32_t>(words));  // Size: SizeLow, then SizeHigh
  w.U16(kObjectsAtOnce);                     // NumberOfObjects
  w.U32(kLargestRecordWords);                // MaxRecord
  w.U16(0);                                  // NumberOfMembers, unused

  SelectNullPen(w);
  FillBackgroundThenEveryPosition(grid, grid.width, grid.height,
                                  [&](auto... edges) { Fill(w, edges...); });
  ObjectIndexRecord(w, kMetaDeleteObject, kPenIndex);
  RecordStart(w, kEofRecordWords, kMetaEof);
  return out;
}

}  // namespace qrsmith
