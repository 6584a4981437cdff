#include "export/pdf.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "export/icc_profile.h"
#include "export/text_format.h"
#include "platform/cmyk.h"
#include "platform/colour.h"

namespace qrsmith {

namespace {

using text_format::AppendInteger;
using text_format::AppendReal;

// A colour component 0..255 as a PDF number 0..1, to four decimals: finer
// than any output device's steps, and 0 and 1 stay exact.
void AppendComponent(std::string& out, std::uint8_t value) {
  AppendReal(out, std::round(value / 255.0 * 10000) / 10000);
}

// The fill colour operator: "r g b rg" or "c m y k k".
void AppendFillColour(std::string& out, Colour colour, bool cmyk) {
  const auto [red, green, blue] = platform::ChannelsOf(colour);
  if (cmyk) {
    for (std::uint8_t ink : platform::CmykOfRgb(red, green, blue)) {
      AppendComponent(out, ink);
      out += ' ';
    }
    out += "k\n";
    return;
  }
  for (std::uint8_t component : {red, green, blue}) {
    AppendComponent(out, component);
    out += ' ';
  }
  out += "rg\n";
}

std::string PageContent(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule) {
  const std::vector<DarkBlock> blocks = DarkBlocks(grid);
  std::string out;
  out.reserve(blocks.size() * 20 + 200);
  // One unit per module with rows counted down from the top edge.
  out += "q\n";
  AppendReal(out, pointsPerModule);
  out += " 0 0 ";
  AppendReal(out, -pointsPerModule);
  out += " 0 ";
  AppendReal(out, grid.height * pointsPerModule);
  out += " cm\n";
  const auto appendRectangle = [&out](const DarkBlock& b) {
    for (std::int32_t v : {b.column, b.row, b.width, b.height}) {
      AppendInteger(out, v);
      out += ' ';
    }
    out += "re\n";
  };
  if (paint.background) {
    AppendFillColour(out, *paint.background, paint.cmyk);
    appendRectangle({0, 0, grid.width, grid.height});
    out += "f\n";
  }
  // A fill needs a path: a grid without dark modules paints none.
  if (!blocks.empty()) {
    AppendFillColour(out, paint.foreground, paint.cmyk);
    for (const DarkBlock& b : blocks) appendRectangle(b);
    out += "f\n";
  }
  // The mark over the modules: each rectangle a closed path of its corners,
  // so that the modules stay the page's one fill of "re" rectangles.
  for (const MarkRect& m : grid.mark) {
    AppendFillColour(out, m.dark ? paint.foreground : grid.background, paint.cmyk);
    const double xs[] = {m.x, m.x + m.width, m.x + m.width, m.x};
    const double ys[] = {m.y, m.y, m.y + m.height, m.y + m.height};
    for (int i = 0; i < 4; ++i) {
      AppendReal(out, xs[i]);
      out += ' ';
      AppendReal(out, ys[i]);
      out += i == 0 ? " m\n" : " l\n";
    }
    out += "h\nf\n";
  }
  out += "Q\n";
  return out;
}

// `text` compressed as a zlib stream (the FlateDecode filter's data), with
// a line end before "endstream"; empty should compression fail (only a lack
// of memory makes it), and the content is then written as it is.
std::string Deflated(const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(size);
  out += '\n';
  return out;
}

// A PDF text string in UTF-16BE with its byte order mark, as hexadecimal:
// any character, no escapes. Bytes that are not UTF-8 become U+FFFD.
std::string Utf16Text(const std::string& utf8) {
  std::string out = "<FEFF";
  const auto unit = [&](std::uint32_t u) {
    platform::AppendHexByte(out, static_cast<std::uint8_t>(u >> 8));
    platform::AppendHexByte(out, static_cast<std::uint8_t>(u & 0xFF));
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0x80         ? 0
                      : (b >> 5) == 6  ? 1
                      : (b >> 4) == 14 ? 2
                      : (b >> 3) == 30 ? 3
                                       : -1;
    std::uint32_t cp = extra == 0   ? b
                       : extra == 1 ? (b & 0x1F)
                       : extra == 2 ? (b & 0x0F)
                                    : (b & 0x07);
    bool valid =
        extra >= 0 && i + static_cast<std::size_t>(extra) < utf8.size() + (extra == 0 ? 1 : 0);
    for (int k = 1; valid && k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
      valid = (c & 0xC0) == 0x80;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!valid || cp > 0x10FFFF) {
      cp = 0xFFFD;
      i += 1;
    } else {
      i += static_cast<std::size_t>(extra) + 1;
    }
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out + ">";
}

std::string XmlEscaped(const std::string& text) {
  std::string out;
  for (const char ch : text) {
    if (ch == '&')
      out += "&amp;";
    else if (ch == '<')
      out += "&lt;";
    else if (ch == '>')
      out += "&gt;";
    else if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t' || ch == '\n')
      out += ch;
  }
  return out;
}

std::tm Utc(std::int64_t seconds) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  gmtime_r(&t, &tm);
  return tm;
}

// D:YYYYMMDDHHmmSSZ and YYYY-MM-DDTHH:mm:SSZ.
std::string PdfDate(std::int64_t seconds) {
  const std::tm tm = Utc(seconds);
  char text[96];
  std::snprintf(text, sizeof text, "D:%04d%02d%02d%02d%02d%02dZ", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}
std::string XmpDate(std::int64_t seconds) {
  const std::tm tm = Utc(seconds);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

// The XMP packet; `pdfx` adds what PDF/X-4 requires of it: the version, the
// trapping, and the document's identifiers (`uuid`, 32 hexadecimal digits).
std::string XmpPacket(const std::string& title, const std::string& tool, const std::string& date,
                      bool pdfx, const std::string& uuid) {
  std::string out =
      "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"";
  if (pdfx) {
    out +=
        " xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\" "
        "xmlns:pdfxid=\"http://www.npes.org/pdfx/ns/id/\"";
  }
  out +=
      ">\n<dc:format>application/pdf</dc:format>\n"
      "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
      title + "</rdf:li></rdf:Alt></dc:title>\n<xmp:CreatorTool>" + tool +
      "</xmp:CreatorTool>\n<xmp:CreateDate>" + date + "</xmp:CreateDate>\n<xmp:ModifyDate>" + date +
      "</xmp:ModifyDate>\n<xmp:MetadataDate>" + date + "</xmp:MetadataDate>\n<pdf:Producer>" +
      tool + "</pdf:Producer>\n";
  if (pdfx) {
    std::string id = "uuid:" + uuid.substr(0, 8) + "-" + uuid.substr(8, 4) + "-" +
                     uuid.substr(12, 4) + "-" + uuid.substr(16, 4) + "-" + uuid.substr(20);
    for (char& ch : id) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    out +=
        "<pdf:Trapped>False</pdf:Trapped>\n"
        "<pdfxid:GTS_PDFXVersion>PDF/X-4</pdfxid:GTS_PDFXVersion>\n"
        "<xmpMM:DocumentID>" +
        id + "</xmpMM:DocumentID>\n<xmpMM:InstanceID>" + id +
        "</xmpMM:InstanceID>\n<xmpMM:VersionID>1</xmpMM:VersionID>\n"
        "<xmpMM:RenditionClass>default</xmpMM:RenditionClass>\n";
  }
  return out + "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>\n";
}

// A PDF string of printable ASCII, with its delimiters escaped.
std::string LiteralString(const std::string& text) {
  std::string out = "(";
  for (const char ch : text) {
    if (ch == '(' || ch == ')' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + ")";
}

// 16 bytes as 32 hexadecimal digits: two FNV-1a hashes of `text` with
// different offsets. Not a cryptographic digest; a file identifier only
// needs to tell documents apart.
std::string Digest(const std::string& text) {
  std::string out;
  for (const std::uint64_t seed : {0xCBF29CE484222325u, 0x84222325CBF29CE4u}) {
    std::uint64_t h = seed;
    for (const char ch : text) h = (h ^ static_cast<unsigned char>(ch)) * 0x100000001B3u;
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(h));
    out += digits;
  }
  return out;
}

}  // namespace

PdfOutputIntent OutputIntentFor(bool cmyk) {
  if (cmyk) {
    const auto profile = Fogra39Profile();
    return {"FOGRA39", "Offset printing on coated paper, ISO 12647-2 (FOGRA39)",
            Bytes(profile.begin(), profile.end()), 4};
  }
  return {"sRGB IEC61966-2.1", "sRGB IEC61966-2.1", SrgbProfile(), 3};
}

std::string WritePdfDocument(const ModuleGrid& grid, const PdfPaint& paint, double pointsPerModule,
                             const std::optional<PdfInfo>& info) {
  const std::string content = PageContent(grid, paint, pointsPerModule);
  std::string out;
  out.reserve(content.size() + 3000);
  // The binary comment marks the file as binary for transfer programs.
  // PDF/X-4 files are PDF 1.6.
  const PdfOutputIntent* intent = info && info->pdfx ? &*info->pdfx : nullptr;
  out += intent ? "%PDF-1.6\n%\xE2\xE3\xCF\xD3\n" : "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  const std::size_t objects = intent ? 8 : info ? 6 : 4;
  std::vector<std::size_t> offsets(objects);
  const auto object = [&](std::size_t number, std::string_view body) {
    offsets[number - 1] = out.size();
    AppendInteger(out, static_cast<std::int64_t>(number));
    out += " 0 obj\n";
    out += body;
    out += "\nendobj\n";
  };
  const auto stream = [](std::string_view dictionary, std::string_view data) {
    std::string s = "<< ";
    s += dictionary;
    s += "/Length ";
    AppendInteger(s, static_cast<std::int64_t>(data.size()));
    s += " >>\nstream\n";
    s += data;
    s += "endstream";
    return s;
  };
  object(1, intent ? "<< /Type /Catalog /Pages 2 0 R /Metadata 6 0 R /OutputIntents [7 0 R] >>"
            : info ? "<< /Type /Catalog /Pages 2 0 R /Metadata 6 0 R >>"
                   : "<< /Type /Catalog /Pages 2 0 R >>");
  object(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  std::string box = "[0 0 ";
  AppendReal(box, grid.width * pointsPerModule);
  box += ' ';
  AppendReal(box, grid.height * pointsPerModule);
  box += ']';
  object(3, "<< /Type /Page /Parent 2 0 R /MediaBox " + box + " /TrimBox " + box + " /BleedBox " +
                box + " /Resources << >> /Contents 4 0 R >>");
  const std::string packed = info ? Deflated(content) : std::string();
  object(4, packed.empty() ? stream("", content) : stream("/Filter /FlateDecode ", packed));
  if (info) {
    const std::string date = PdfDate(info->created), xmpDate = XmpDate(info->created);
    const std::string& title = info->title;
    object(5, "<< /Title " + Utf16Text(title) + " /Creator " + Utf16Text(info->creator) +
                  " /Producer " + Utf16Text(info->creator) + " /CreationDate (" + date +
                  ") /ModDate (" + date + ")" +
                  (intent ? " /GTS_PDFXVersion (PDF/X-4) /Trapped /False" : "") + " >>");
    // The XMP's document identifier: a digest of what makes the document.
    const std::string uuid = Digest(content + '\n' + title + '\n' + date);
    object(6, stream("/Type /Metadata /Subtype /XML ",
                     XmpPacket(XmlEscaped(title), XmlEscaped(info->creator), xmpDate,
                               intent != nullptr, uuid)));
  }
  if (intent) {
    const std::string c = LiteralString(intent->condition);
    object(7, "<< /Type /OutputIntent /S /GTS_PDFX /OutputConditionIdentifier " +
                  LiteralString(intent->identifier) + " /OutputCondition " + c + " /Info " + c +
                  " /RegistryName (http://www.color.org) /DestOutputProfile 8 0 R >>");
    const std::string profile(intent->profile.begin(), intent->profile.end());
    const std::string packedProfile = Deflated(profile);
    const std::string n = "/N " + std::to_string(intent->components) + " ";
    object(8, packedProfile.empty() ? stream(n, profile + '\n')
                                    : stream(n + "/Filter /FlateDecode ", packedProfile));
  }

  const std::size_t xref = out.size();
  out += "xref\n0 ";
  AppendInteger(out, static_cast<std::int64_t>(objects + 1));
  out += "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    std::string digits;
    AppendInteger(digits, static_cast<std::int64_t>(offset));
    out.append(10 - digits.size(), '0');  // every entry is exactly 20 bytes
    out += digits;
    out += " 00000 n \n";
  }
  out += "trailer\n<< /Size ";
  AppendInteger(out, static_cast<std::int64_t>(objects + 1));
  out += " /Root 1 0 R";
  if (info) {
    // The identifier is a digest of the document so far: the same symbol,
    // title and time give the same file.
    const std::string id = Digest(out);
    out += " /Info 5 0 R /ID [<" + id + "> <" + id + ">]";
  }
  out += " >>\nstartxref\n";
  AppendInteger(out, static_cast<std::int64_t>(xref));
  out += "\n%%EOF\n";
  return out;
}

}  // namespace qrsmith
