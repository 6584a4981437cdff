#pragma once
// The clipboard seam: one operation, put a bitmap on the system clipboard.
// The desktop program installs its toolkit's clipboard at start-up; the
// command-line tool and the tests may install their own. With none installed,
// putting a bitmap fails, so a copy is reported as failed rather than lost.

#include <memory>

#include <qrsmith/platform/bitmap.h>

namespace qrsmith::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content by `bitmap`; true when it now holds it.
  virtual bool PutBitmap(const Bitmap& bitmap) = 0;
};

// Makes `clipboard` the one that PutBitmapOnClipboard uses; null uninstalls.
// Returns the clipboard installed before, so a test can put it back.
std::shared_ptr<Clipboard> InstallClipboard(std::shared_ptr<Clipboard> clipboard);

// Puts `bitmap` on the installed clipboard; false when none is installed, the
// bitmap is empty, or the clipboard refuses it.
bool PutBitmapOnClipboard(const Bitmap& bitmap);

}  // namespace qrsmith::platform
