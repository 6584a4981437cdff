#pragma once
// The clipboard seam over the Qt application's clipboard. It needs a running
// QGuiApplication; without one every copy fails.

#include <qrsmith/platform/clipboard.h>

namespace qrsmith::platform {

class QtClipboard final : public Clipboard {
 public:
  bool PutBitmap(const Bitmap& bitmap) override;
};

}  // namespace qrsmith::platform
