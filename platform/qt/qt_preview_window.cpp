#include "platform/qt/qt_preview_window.h"

#include <QByteArray>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QVariant>
#include <map>
#include <string>
#include <variant>

#include "platform/qt/qt_image.h"

namespace qrsmith::platform {

namespace {

QByteArray PropertyName(std::string_view name) {
  return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

// The shared objects of every widget that has some, by widget. An entry goes
// when its last object is removed or when the widget is destroyed.
using SharedObject = std::variant<std::shared_ptr<const Bitmap>, std::shared_ptr<const Bytes>>;
struct SharedObjects {
  std::map<std::string, SharedObject, std::less<>> byName;
  QMetaObject::Connection onDestroyed;
};
std::map<const QObject*, SharedObjects>& Registry() {
  static std::map<const QObject*, SharedObjects> registry;
  return registry;
}

void Share(QWidget* widget, std::string_view name, SharedObject object) {
  auto& registry = Registry();
  auto [entry, added] = registry.try_emplace(widget);
  if (added) {
    entry->second.onDestroyed =
        QObject::connect(widget, &QObject::destroyed, [widget] { Registry().erase(widget); });
  }
  entry->second.byName.insert_or_assign(std::string(name), std::move(object));
}

void Unshare(const QWidget* widget, std::string_view name) {
  auto& registry = Registry();
  const auto entry = registry.find(widget);
  if (entry == registry.end()) return;
  if (const auto object = entry->second.byName.find(name); object != entry->second.byName.end()) {
    entry->second.byName.erase(object);
  }
  if (entry->second.byName.empty()) {
    QObject::disconnect(entry->second.onDestroyed);
    registry.erase(entry);
  }
}

// Shares `object` under `name`, or withdraws what was shared there when it is null.
template <typename T>
void ShareOrWithdraw(QWidget* widget, std::string_view name, std::shared_ptr<const T> object) {
  if (object) {
    Share(widget, name, std::move(object));
  } else {
    Unshare(widget, name);
  }
}

template <typename T>
std::shared_ptr<const T> Shared(const QWidget* widget, std::string_view name) {
  const auto& registry = Registry();
  const auto entry = registry.find(widget);
  if (entry == registry.end()) return nullptr;
  const auto object = entry->second.byName.find(name);
  if (object == entry->second.byName.end()) return nullptr;
  const auto* held = std::get_if<std::shared_ptr<const T>>(&object->second);
  return held != nullptr ? *held : nullptr;
}

// The replacement paint handling: a child of the widget that filters the
// widget's paint events. It draws the handler's picture in one step; when the
// handler has none, the widget paints itself as usual.
class PaintFilter final : public QObject {
 public:
  PaintFilter(QWidget* widget, PreviewWindow::PaintHandler handler, std::int32_t token)
      : QObject(widget), widget_(widget), handler_(std::move(handler)), token_(token) {
    widget->installEventFilter(this);
  }
  std::int32_t Token() const { return token_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != widget_ || event->type() != QEvent::Paint) return false;
    const std::optional<Bitmap> picture = handler_(QtPreviewWindow(widget_));
    if (!picture) return false;
    QPainter painter(widget_);
    painter.drawImage(0, 0, ToQImage(*picture));
    return true;
  }

 private:
  QWidget* widget_;
  PreviewWindow::PaintHandler handler_;
  std::int32_t token_;
};

std::int32_t NextToken() {
  static std::int32_t last = 0;
  last = last == INT32_MAX ? 1 : last + 1;
  return last;
}

}  // namespace

std::uintptr_t QtPreviewWindow::Handle() const {
  return reinterpret_cast<std::uintptr_t>(widget_.data());
}

ClientSize QtPreviewWindow::Size() const {
  if (!widget_) return {};
  return {widget_->width(), widget_->height()};
}

std::uint32_t QtPreviewWindow::BackgroundPixel() const {
  if (!widget_) return 0xFFFFFF;
  return widget_->palette().color(widget_->backgroundRole()).rgb() & 0xFFFFFFu;
}

std::optional<std::int32_t> QtPreviewWindow::Property(std::string_view name) const {
  if (!widget_) return std::nullopt;
  const QVariant value = widget_->property(PropertyName(name).constData());
  if (!value.isValid()) return std::nullopt;
  return value.value<qint32>();
}

void QtPreviewWindow::SetProperty(std::string_view name, std::int32_t value) {
  if (widget_)
    widget_->setProperty(PropertyName(name).constData(), QVariant::fromValue<qint32>(value));
}

void QtPreviewWindow::RemoveProperty(std::string_view name) {
  if (!widget_) return;
  widget_->setProperty(PropertyName(name).constData(), QVariant());
  Unshare(widget_, name);
}

void QtPreviewWindow::ShareBitmap(std::string_view name, std::shared_ptr<const Bitmap> bitmap) {
  if (widget_) ShareOrWithdraw(widget_, name, std::move(bitmap));
}

std::shared_ptr<const Bitmap> QtPreviewWindow::SharedBitmap(std::string_view name) const {
  return widget_ ? Shared<Bitmap>(widget_, name) : nullptr;
}

void QtPreviewWindow::ShareBytes(std::string_view name, std::shared_ptr<const Bytes> bytes) {
  if (widget_) ShareOrWithdraw(widget_, name, std::move(bytes));
}

std::shared_ptr<const Bytes> QtPreviewWindow::SharedBytes(std::string_view name) const {
  return widget_ ? Shared<Bytes>(widget_, name) : nullptr;
}

std::int32_t QtPreviewWindow::InstallPaintHandler(PaintHandler handler) {
  if (!widget_) return 0;
  const std::int32_t token = NextToken();
  new PaintFilter(widget_, std::move(handler), token);  // owned by the widget
  return token;
}

void QtPreviewWindow::RestorePaintHandler(std::int32_t token) {
  if (!widget_) return;
  for (QObject* child : widget_->children()) {
    auto* filter = dynamic_cast<PaintFilter*>(child);
    if (filter != nullptr && filter->Token() == token) {
      widget_->removeEventFilter(filter);
      // Deleted at once: the widget's children are then exactly as before.
      filter->setParent(nullptr);
      delete filter;
      return;
    }
  }
}

void QtPreviewWindow::Invalidate() {
  if (widget_) widget_->update();
}

}  // namespace qrsmith::platform
