#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt/qt_image.h"

namespace qrsmith::platform {

bool QtClipboard::PutBitmap(const Bitmap& bitmap) {
  if (bitmap.Empty() || QGuiApplication::instance() == nullptr) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setImage(ToQImage(bitmap));
  return true;
}

}  // namespace qrsmith::platform
