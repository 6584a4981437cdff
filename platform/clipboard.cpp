#include "platform/clipboard.h"

#include <utility>

namespace qrsmith::platform {

namespace {

// Installed and used on the window's thread only, like every command.
std::shared_ptr<Clipboard>& Installed() {
  static std::shared_ptr<Clipboard> clipboard;
  return clipboard;
}

}  // namespace

std::shared_ptr<Clipboard> InstallClipboard(std::shared_ptr<Clipboard> clipboard) {
  return std::exchange(Installed(), std::move(clipboard));
}

bool PutBitmapOnClipboard(const Bitmap& bitmap) {
  const std::shared_ptr<Clipboard> clipboard = Installed();
  if (!clipboard || bitmap.Empty()) return false;
  return clipboard->PutBitmap(bitmap);
}

}  // namespace qrsmith::platform
