#pragma once
// The main window under test: opened offscreen, its dialogs answered by the
// scripted seam, its controls found by their layout names.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "generator/qr_generator.h"
#include "platform/qt/qt_image.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/support/qr_decode.h"

namespace qrsmith::app {

inline std::optional<std::string> ReadSymbol(const QImage& image) {
  const auto bitmap = platform::FromQImage(image);
  if (!bitmap) return std::nullopt;
  const auto decoded = testing::DecodeWithZbar(*bitmap, 1);
  if (!decoded) return std::nullopt;
  return decoded->text;
}

// Writes a side x side picture of one colour to `path`, in the format its
// extension names: a centre icon for the window to read.
inline bool SaveSolidPicture(const QString& path, int side, const QColor& colour) {
  QImage picture(side, side, QImage::Format_RGB32);
  picture.fill(colour);
  return picture.save(path);
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<MainWindow>(generator_, dialogs_);
    window_->SetProcessEnd([this](int code) { endedWith_ = code; });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* control = window_->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Click(const char* button) {
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
  }
  void Type(const QString& content) {
    Control<QPlainTextEdit>("超级编辑框1")->setPlainText(content);
  }
  // The placeholder picture shows whenever no symbol does; below it either
  // the prompt or the reason why the content makes no symbol.
  bool PlaceholdersVisible() const {
    const bool picture = Control("图片框5")->isVisible();
    const bool reason = Control("失败原因")->isVisible();
    EXPECT_EQ(Control("标签9")->isVisible(), picture && !reason);
    EXPECT_EQ(Control("图片框4")->isVisible(), picture && !reason);
    return picture;
  }
  QImage Preview() const { return Control("图片框1")->grab().toImage(); }
  platform::QtPreviewWindow PreviewWindow() const {
    return platform::QtPreviewWindow(Control("图片框1"));
  }

  QrGenerator generator_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> window_;
  std::optional<int> endedWith_;
};

}  // namespace qrsmith::app
