#pragma once
// The preview window seam over a Qt widget. The 32-bit values are the
// widget's dynamic properties under their own names; the shared pictures are
// kept beside them, per widget, for as long as the widget lives or until the
// property is removed. The paint handling is an event filter that answers
// the widget's paint events; removing it gives the widget back its own
// painting, so a detached widget is exactly as it was.

#include <QPointer>
#include <QWidget>

#include <qrsmith/platform/preview_window.h>

namespace qrsmith::platform {

class QtPreviewWindow final : public PreviewWindow {
 public:
  explicit QtPreviewWindow(QWidget* widget) : widget_(widget) {}

  bool IsAlive() const override { return !widget_.isNull(); }
  std::uintptr_t Handle() const override;
  ClientSize Size() const override;
  std::uint32_t BackgroundPixel() const override;

  std::optional<std::int32_t> Property(std::string_view name) const override;
  void SetProperty(std::string_view name, std::int32_t value) override;
  void RemoveProperty(std::string_view name) override;

  void ShareBitmap(std::string_view name, std::shared_ptr<const Bitmap> bitmap) override;
  std::shared_ptr<const Bitmap> SharedBitmap(std::string_view name) const override;
  void ShareBytes(std::string_view name, std::shared_ptr<const Bytes> bytes) override;
  std::shared_ptr<const Bytes> SharedBytes(std::string_view name) const override;

  std::int32_t InstallPaintHandler(PaintHandler handler) override;
  void RestorePaintHandler(std::int32_t token) override;
  void Invalidate() override;

 private:
  QPointer<QWidget> widget_;
};

}  // namespace qrsmith::platform
