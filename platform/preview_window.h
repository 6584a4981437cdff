#pragma once
// The window seam of the preview: a window that the generator paints its
// symbol into. The generator keeps everything its painter needs on the window
// itself, as named 32-bit properties, and takes over the window's paint
// handling until it gives it back. Pictures and the noise pool cannot travel
// in 32 bits, so they go beside the properties of the same name as shared
// objects: the window keeps them alive for as long as it shows them, and
// nothing is ever drawn from a released picture.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <qrsmith/platform/bitmap.h>
#include <qrsmith/platform/types.h>

namespace qrsmith::platform {

struct ClientSize {
  int width = 0;
  int height = 0;
};

class PreviewWindow {
 public:
  // What the paint handler returns: the whole client area, drawn off-screen,
  // shown in one step; nullopt lets the window paint as it would without it.
  using PaintHandler = std::function<std::optional<Bitmap>(const PreviewWindow&)>;

  virtual ~PreviewWindow() = default;

  // False once the window is gone; every other operation then does nothing.
  virtual bool IsAlive() const = 0;
  // Identifies the window: two seams over the same window give the same handle.
  virtual std::uintptr_t Handle() const = 0;
  virtual ClientSize Size() const = 0;
  // The window's own background, which shows where a paint does not fill.
  virtual std::uint32_t BackgroundPixel() const = 0;

  // Named 32-bit properties; an absent one reads as nullopt.
  virtual std::optional<std::int32_t> Property(std::string_view name) const = 0;
  virtual void SetProperty(std::string_view name, std::int32_t value) = 0;
  // Removes the property and any shared object kept under the same name.
  virtual void RemoveProperty(std::string_view name) = 0;

  // Shared objects kept under a property's name; null when absent.
  virtual void ShareBitmap(std::string_view name, std::shared_ptr<const Bitmap> bitmap) = 0;
  virtual std::shared_ptr<const Bitmap> SharedBitmap(std::string_view name) const = 0;
  virtual void ShareBytes(std::string_view name, std::shared_ptr<const Bytes> bytes) = 0;
  virtual std::shared_ptr<const Bytes> SharedBytes(std::string_view name) const = 0;

  // Puts `handler` in charge of painting; returns a non-zero token naming
  // this installation (0 when the window is gone).
  virtual std::int32_t InstallPaintHandler(PaintHandler handler) = 0;
  // Takes the installation named by `token` away again, so that the window
  // paints as it did before it; unknown tokens are ignored.
  virtual void RestorePaintHandler(std::int32_t token) = 0;
  // Asks for a repaint of the whole client area.
  virtual void Invalidate() = 0;
};

}  // namespace qrsmith::platform
