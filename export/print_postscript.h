#pragma once
// PostScript and EPS as the tool and the window save them, for printers and
// layout programs: DSC comments (%%BoundingBox, %%HiResBoundingBox,
// %%LanguageLevel: 2, %%Pages, %%Creator, %%Title, %%EndComments, %%EOF),
// the drawing between one gsave and its grestore, samples read from the file
// through an ASCIIHexDecode filter in short lines (no string token, so no
// 65,535-character limit), and a page that centres the symbol on A4 (or
// leaves 10 mm round it when it is larger). A clear colour is not drawn: the
// other colour is painted through a stencil (imagemask), which every reader
// imports, unlike a colour-key masked image.
// ExportVector keeps the page and image layout its callers read
// (export/postscript.h).

#include <string>
#include <string_view>

#include <qrsmith/export/module_grid.h>
#include <qrsmith/export/postscript.h>

namespace qrsmith {

// `id` is the export identifier (MakeExportId), written as a comment;
// `title` (UTF-8) goes into %%Title as a PostScript string, as much of it
// as the comment's one line of 255 characters holds.
std::string WritePrintPostScript(const ModuleGrid& grid, std::string_view id,
                                 const PostScriptPrint& print, bool eps,
                                 std::string_view title = "QR Code");

}  // namespace qrsmith
