#include "export/solid_metafile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <span>
#include <vector>

#include "export/record_writer.h"
#include "generator/print_settings.h"

namespace qrsmith {

namespace {

// At most this many rectangles go into one polygon record, which keeps every
// record well within what readers with 16-bit counts accept.
constexpr std::size_t kRectanglesPerRecord = 1000;
constexpr std::int32_t kMostUnitsPerModule = 100;
constexpr std::int32_t kLargestCoordinate = 32767;  // a 16-bit point
constexpr std::int32_t kLargestUnitsPerInch = 65535;

using Rectangles = std::vector<DarkBlock>;

// The rectangles in chunks of kRectanglesPerRecord.
template <typename Chunk>
void ForEachChunk(const Rectangles& all, Chunk chunk) {
  for (std::size_t at = 0; at < all.size(); at += kRectanglesPerRecord) {
    const std::size_t n = std::min(kRectanglesPerRecord, all.size() - at);
    chunk(std::span<const DarkBlock>(all.data() + at, n));
  }
}

// The four corners of a rectangle in logical units, clockwise from top left.
template <typename Point>
void Corners(const DarkBlock& b, std::int32_t u, Point point) {
  const std::int32_t l = b.column * u, t = b.row * u;
  const std::int32_t r = (b.column + b.width) * u, bt = (b.row + b.height) * u;
  point(l, t);
  point(r, t);
  point(r, bt);
  point(l, bt);
}

std::int16_t Short(std::int32_t v) { return static_cast<std::int16_t>(v); }

// A mark's rectangle (in modules, fractional) in whole logical units, as a
// block drawn at one unit a unit.
DarkBlock MarkUnits(const MarkRect& m, std::int32_t u) {
  const auto at = [&](double modules) {
    return static_cast<std::int32_t>(std::lround(modules * u));
  };
  const std::int32_t left = at(m.x), top = at(m.y);
  return {left, top, at(m.x + m.width) - left, at(m.y + m.height) - top};
}

// ---- EMF ([MS-EMF]) ----

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrSetPolyFillMode = 19;
constexpr std::uint32_t kEmrSelectObject = 37;
constexpr std::uint32_t kEmrCreateBrushIndirect = 39;
constexpr std::uint32_t kEmrDeleteObject = 40;
constexpr std::uint32_t kEmrPolyPolygon16 = 91;
constexpr std::uint32_t kEmrComment = 70;
constexpr std::uint32_t kEmfHeaderFixedBytes = 108;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfVersion = 0x00010000;
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;
constexpr std::uint32_t kStockNullPen = 0x80000008;
constexpr std::uint32_t kWinding = 2;
// The reference device: a sheet of 1000 x 1000 mm at the metafile's own
// resolution, so that one device unit is one logical unit.
constexpr std::int32_t kReferenceMm = 1000;

class EmfRecords {
 public:
  explicit EmfRecords(Bytes& out) : w_(out) {}
  RecordWriter& Writer() { return w_; }
  std::uint32_t Count() const { return records_; }

  void Start(std::uint32_t type, std::uint32_t bytes) {
    w_.U32(type);
    w_.U32(bytes);
    ++records_;
  }
  void Object(std::uint32_t type, std::uint32_t index) {
    Start(type, 12);
    w_.U32(index);
  }
  void Brush(Colour colour) {
    Start(kEmrCreateBrushIndirect, 24);
    w_.U32(1);  // ihBrush
    w_.U32(0);  // BS_SOLID
    w_.U32(colour & 0xFFFFFFu);
    w_.U32(0);
    Object(kEmrSelectObject, 1);
  }
  void DropBrush() {
    Object(kEmrSelectObject, kStockWhiteBrush);
    Object(kEmrDeleteObject, 1);
  }
  void Polygons(std::span<const DarkBlock> rects, std::int32_t u) {
    const auto n = static_cast<std::uint32_t>(rects.size());
    Start(kEmrPolyPolygon16, 32 + 4 * n + 16 * n);
    std::int32_t left = INT32_MAX, top = INT32_MAX, right = 0, bottom = 0;
    for (const DarkBlock& b : rects) {
      left = std::min(left, b.column * u);
      top = std::min(top, b.row * u);
      right = std::max(right, (b.column + b.width) * u - 1);
      bottom = std::max(bottom, (b.row + b.height) * u - 1);
    }
    for (const std::int32_t v : {left, top, right, bottom}) w_.I32(v);  // Bounds, inclusive
    w_.U32(n);
    w_.U32(4 * n);
    for (std::uint32_t i = 0; i < n; ++i) w_.U32(4);
    for (const DarkBlock& b : rects) {
      Corners(b, u, [&](std::int32_t x, std::int32_t y) {
        w_.I16(Short(x));
        w_.I16(Short(y));
      });
    }
  }

 private:
  RecordWriter w_;
  std::uint32_t records_ = 0;
};

// ---- WMF ([MS-WMF]) ----

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint16_t kMetaEof = 0x0000;
constexpr std::uint16_t kMetaSetPolyFillMode = 0x0106;
constexpr std::uint16_t kMetaSetWindowOrg = 0x020B;
constexpr std::uint16_t kMetaSetWindowExt = 0x020C;
constexpr std::uint16_t kMetaSelectObject = 0x012D;
constexpr std::uint16_t kMetaDeleteObject = 0x01F0;
constexpr std::uint16_t kMetaCreatePenIndirect = 0x02FA;
constexpr std::uint16_t kMetaCreateBrushIndirect = 0x02FC;
constexpr std::uint16_t kMetaPolyPolygon = 0x0538;
constexpr std::uint16_t kMetaEscape = 0x0626;
constexpr std::uint16_t kMfComment = 0x000F;

class WmfRecords {
 public:
  explicit WmfRecords(Bytes& out) : w_(out) {}

  void Start(std::uint32_t words, std::uint16_t function) {
    w_.U32(words);
    w_.U16(function);
    largest_ = std::max(largest_, words);
  }
  void Object(std::uint16_t function, std::uint16_t index) {
    Start(4, function);
    w_.U16(index);
  }
  void Pair(std::uint16_t function, std::int32_t x, std::int32_t y) {
    Start(5, function);
    w_.I16(Short(y));  // the fields come last to first
    w_.I16(Short(x));
  }
  void NullPen() {
    Start(8, kMetaCreatePenIndirect);
    w_.U16(5);  // PS_NULL
    w_.I16(0);
    w_.I16(0);
    w_.U32(0);
    Object(kMetaSelectObject, 0);
  }
  void Brush(Colour colour) {
    Start(7, kMetaCreateBrushIndirect);
    w_.U16(0);  // BS_SOLID
    w_.U32(colour & 0xFFFFFFu);
    w_.U16(0);
    Object(kMetaSelectObject, 1);
  }
  void Polygons(std::span<const DarkBlock> rects, std::int32_t u) {
    const auto n = static_cast<std::uint32_t>(rects.size());
    Start(4 + n + 8 * n, kMetaPolyPolygon);
    w_.U16(static_cast<std::uint16_t>(n));
    for (std::uint32_t i = 0; i < n; ++i) w_.U16(4);
    for (const DarkBlock& b : rects) {
      Corners(b, u, [&](std::int32_t x, std::int32_t y) {
        w_.I16(Short(x));
        w_.I16(Short(y));
      });
    }
  }
  std::uint32_t Largest() const { return largest_; }

 private:
  RecordWriter w_;
  std::uint32_t largest_ = 0;
};

}  // namespace

std::int32_t MetafileUnitsPerModule(std::int32_t side, double moduleMm) {
  const auto perInch =
      static_cast<std::int32_t>(kLargestUnitsPerInch * moduleMm / kMillimetresPerInch);
  return std::max(1,
                  std::min({kMostUnitsPerModule, kLargestCoordinate / std::max(side, 1), perInch}));
}

Bytes WriteSolidEnhancedMetafile(const ModuleGrid& grid, double moduleMm,
                                 std::u16string_view program, std::u16string_view name) {
  const std::int32_t u = MetafileUnitsPerModule(std::max(grid.width, grid.height), moduleMm);
  const std::int32_t width = grid.width * u, height = grid.height * u;
  const Rectangles dark = DarkBlocks(grid);
  const auto descriptionChars = static_cast<std::uint32_t>(program.size() + name.size() + 3);
  const std::uint32_t headerBytes = (kEmfHeaderFixedBytes + descriptionChars * 2 + 3) & ~3u;

  Bytes out;
  out.reserve(headerBytes + dark.size() * 20 + 512);
  EmfRecords emf(out);
  RecordWriter& w = emf.Writer();
  emf.Start(kEmrHeader, headerBytes);                                   // 2.3.4.2
  for (const std::int32_t v : {0, 0, width - 1, height - 1}) w.I32(v);  // Bounds, inclusive
  // Frame, inclusive, in hundredths of a millimetre: the printed grid.
  const auto hundredths = [&](std::int32_t modules) {
    return static_cast<std::int32_t>(std::lround(modules * moduleMm * 100)) - 1;
  };
  for (const std::int32_t v : {0, 0, hundredths(grid.width), hundredths(grid.height)}) w.I32(v);
  w.U32(kEmfSignature);
  w.U32(kEmfVersion);
  const std::size_t sizeField = w.Position();
  w.U32(0);  // Bytes and Records, patched at the end
  w.U32(0);
  w.U16(2);  // Handles: the reserved index 0 and one brush
  w.U16(0);
  w.U32(descriptionChars);
  w.U32(kEmfHeaderFixedBytes);
  w.U32(0);  // nPalEntries
  // Device units per millimetre = logical units per millimetre.
  const auto device = static_cast<std::int32_t>(std::lround(kReferenceMm * u / moduleMm));
  w.I32(device);
  w.I32(device);
  w.I32(kReferenceMm);
  w.I32(kReferenceMm);
  w.U32(0);  // no pixel format, no OpenGL
  w.U32(0);
  w.U32(0);
  w.I32(kReferenceMm * 1000);  // MicrometersX, MicrometersY
  w.I32(kReferenceMm * 1000);
  for (const char16_t ch : program) w.U16(ch);
  w.U16(0);
  for (const char16_t ch : name) w.U16(ch);
  w.U16(0);
  w.U16(0);
  while (w.Position() < headerBytes) w.U16(0);

  emf.Start(kEmrSetPolyFillMode, 12);
  w.U32(kWinding);
  emf.Object(kEmrSelectObject, kStockNullPen);  // no outline: the figure is its area
  if (grid.opacity.background != 0) {
    emf.Brush(grid.background);
    const DarkBlock all{0, 0, grid.width, grid.height};
    emf.Polygons(std::span(&all, 1), u);
    emf.DropBrush();
  }
  if (!dark.empty()) {
    emf.Brush(grid.foreground);
    ForEachChunk(dark, [&](std::span<const DarkBlock> chunk) { emf.Polygons(chunk, u); });
    emf.DropBrush();
  }
  if (!grid.mark.empty()) {
    emf.Start(kEmrComment, 12 + static_cast<std::uint32_t>(kMarkComment.size()));
    w.U32(static_cast<std::uint32_t>(kMarkComment.size()));
    for (const char ch : kMarkComment) w.U8(static_cast<std::uint8_t>(ch));
    for (const MarkRect& m : grid.mark) {
      emf.Brush(m.dark ? grid.foreground : grid.background);
      const DarkBlock units = MarkUnits(m, u);
      emf.Polygons(std::span(&units, 1), 1);
      emf.DropBrush();
    }
  }
  emf.Start(kEmrEof, 20);  // 2.3.4.1
  w.U32(0);
  w.U32(16);
  w.U32(20);
  platform::codecs::StoreLe32(&out[sizeField], static_cast<std::uint32_t>(out.size()));
  platform::codecs::StoreLe32(&out[sizeField + 4], emf.Count());
  return out;
}

Bytes WriteSolidWindowsMetafile(const ModuleGrid& grid, double moduleMm) {
  const std::int32_t u = MetafileUnitsPerModule(std::max(grid.width, grid.height), moduleMm);
  const std::int32_t width = grid.width * u, height = grid.height * u;
  const Rectangles dark = DarkBlocks(grid);
  const auto perInch = static_cast<std::uint16_t>(std::lround(u * kMillimetresPerInch / moduleMm));

  Bytes out;
  out.reserve(dark.size() * 20 + 512);
  RecordWriter w(out);
  // The placeable header (2.3.2.3): the picture's box in logical units and
  // the units per inch, which give its printed size.
  std::vector<std::uint16_t> placeable{static_cast<std::uint16_t>(kPlaceableKey & 0xFFFF),
                                       static_cast<std::uint16_t>(kPlaceableKey >> 16),
                                       0,
                                       0,
                                       0,
                                       static_cast<std::uint16_t>(width),
                                       static_cast<std::uint16_t>(height),
                                       perInch,
                                       0,
                                       0};
  std::uint16_t checksum = 0;
  for (const std::uint16_t v : placeable) {
    w.U16(v);
    checksum ^= v;
  }
  w.U16(checksum);
  const std::size_t header = w.Position();
  // META_HEADER (2.3.2.2); Size and MaxRecord patched at the end.
  for (const std::uint16_t v : {1, 9, 0x0300, 0, 0, 2, 0, 0, 0}) w.U16(v);

  WmfRecords wmf(out);
  wmf.Pair(kMetaSetWindowOrg, 0, 0);
  wmf.Pair(kMetaSetWindowExt, width, height);
  wmf.Start(4, kMetaSetPolyFillMode);
  w.U16(2);  // WINDING
  wmf.NullPen();
  if (grid.opacity.background != 0) {
    wmf.Brush(grid.background);
    const DarkBlock all{0, 0, grid.width, grid.height};
    wmf.Polygons(std::span(&all, 1), u);
    wmf.Object(kMetaDeleteObject, 1);
  }
  if (!dark.empty()) {
    wmf.Brush(grid.foreground);
    ForEachChunk(dark, [&](std::span<const DarkBlock> chunk) { wmf.Polygons(chunk, u); });
    wmf.Object(kMetaDeleteObject, 1);
  }
  if (!grid.mark.empty()) {
    const auto bytes = static_cast<std::uint32_t>(kMarkComment.size());
    wmf.Start(5 + bytes / 2, kMetaEscape);
    w.U16(kMfComment);
    w.U16(static_cast<std::uint16_t>(bytes));
    for (const char ch : kMarkComment) w.U8(static_cast<std::uint8_t>(ch));
    for (const MarkRect& m : grid.mark) {
      wmf.Brush(m.dark ? grid.foreground : grid.background);
      const DarkBlock units = MarkUnits(m, u);
      wmf.Polygons(std::span(&units, 1), 1);
      wmf.Object(kMetaDeleteObject, 1);
    }
  }
  wmf.Object(kMetaDeleteObject, 0);
  wmf.Start(3, kMetaEof);
  const auto words = static_cast<std::uint32_t>((out.size() - header) / 2);
  // The header's two 32-bit fields lie as pairs of 16-bit words, low word first.
  platform::codecs::StoreLe32(&out[header + 6], words);
  platform::codecs::StoreLe32(&out[header + 12], wmf.Largest());
  return out;
}

}  // namespace qrsmith
