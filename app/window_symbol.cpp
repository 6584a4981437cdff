// The main window's symbol: made from the controls' values on Generate and
// after the pause that follows a change, shown in the preview at a scale a
// camera reads, or the reason why there is none.

#include <QComboBox>
#include <QFile>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <memory>

#include "app/content_encryption.h"
#include "app/main_window.h"
#include "app/main_window_shared.h"
#include "app/save_formats.h"
#include "app/scan_label.h"
#include "app/window_text.h"
#include "encoder/qr_encoder.h"
#include "encoder/qr_tables.h"
#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"
#include "platform/codepage.h"
#include "verify/scan_check.h"

namespace qrsmith::app {

namespace {

// How many bytes too many `bytes` are for `version` (0: automatic, measured
// at version 40) at `level` 1..4, measured the way the encoder packs them.
std::int32_t BytesTooMany(const Bytes& bytes, std::int16_t version, std::int16_t level) {
  const std::int32_t v = version == 0 ? encoder::kMaxVersion : version;
  const auto n = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size(), INT32_MAX));
  std::vector<std::uint8_t> unused;
  // The measure counts the 4-bit terminator, which may be left out when full.
  std::int64_t needed = QrEncoder().BuildBitStream(unused, bytes, n, v, true, false) - 4;
  // Past the encoder's bit arrays the stream is not measured: count bytes.
  if (needed <= 0) needed = 8 * static_cast<std::int64_t>(bytes.size()) + 20;
  encoder::QrTables tables;
  tables.Fill();
  const std::int64_t holds = 8 * static_cast<std::int64_t>(tables.DataCodewords(v, level));
  return static_cast<std::int32_t>(std::max<std::int64_t>(1, (needed - holds + 7) / 8));
}

// The preview's scale: the largest whole number of pixels a module at which
// a symbol `modules` wide fits `side` pixels, at least the least readable.
std::int32_t PreviewScale(std::int32_t modules, std::int32_t side) {
  return std::max(kLeastPreviewPixelsPerModule, side / std::max(modules, 1));
}

}  // namespace

void MainWindow::Generate() {
  refreshTimer_->stop();
  if (TypedText(*form_.contentBox).isEmpty()) {
    Stop(QT_TRANSLATE_NOOP("qrsmith", "内容为空"), WindowText::tr("请输入需要编码的内容！"));
    form_.tabs->SetCurrentIndex(0);
    form_.contentBox->setFocus();
    return;
  }
  if (const auto refusal = MakeSymbol()) {
    Stop(refusal->title, refusal->text);
    return;
  }
  // Judged on the picture Save and Copy hand out, on a worker thread.
  CheckScan();
}

void MainWindow::Refresh() {
  refreshTimer_->stop();
  if (TypedText(*form_.contentBox).isEmpty()) {
    // The window as it opens: the prompt asks for content.
    HidePreview();
    symbolCurrent_ = false;
    failure_ = WindowText::tr("请输入需要编码的内容！");
    return;
  }
  if (!MakeSymbol()) CheckScan();
}

// Every refusal takes the symbol off the preview and says why in its place,
// whoever refuses: the window or the generator. A symbol left on show beside
// content it does not hold would read as if it held it.
std::optional<MainWindow::Refusal> MainWindow::MakeSymbol() {
  const auto refuse = [this](const char* title, const QString& text) {
    symbolCurrent_ = false;
    failure_ = text;
    ShowFailure(text);
    return Refusal{title, text};
  };
  const char* encodingError = QT_TRANSLATE_NOOP("qrsmith", "编码错误");
  const bool ansi = form_.encodingList->currentIndex() != kUtf8EncodingIndex;
  std::string content = Utf8(TypedText(*form_.contentBox));

  const QString password = form_.passwordBox->text();
  if (!password.isEmpty()) {
    const EncryptionResult encrypted = EncryptContent(content, Utf8(password));
    if (encrypted.failure == EncryptionFailure::kPasswordNotRepresentable) {
      return refuse(encodingError, WindowText::tr("密码中含有无法用系统编码表示的字符。"));
    }
    if (!encrypted.text) {
      // Encryption works on code-page bytes whatever the encoding choice, so
      // only the character or the password can go.
      return refuse(encodingError,
                    WindowText::tr("内容中含有无法用系统编码表示的字符，而加密只能使用系统编码："
                                   "请删除该字符，或清空加密密码。"));
    }
    content = *encrypted.text;
  } else if (ansi && !platform::Utf8ToCodePage(content)) {
    // Refused before Generate, so that nothing typed is replaced by a stand-in.
    return refuse(encodingError, WindowText::tr("内容中含有无法用所选编码表示的字符，"
                                                "请改用UTF-8编码或修改内容。"));
  }

  const auto version = static_cast<std::int16_t>(form_.sizeList->currentIndex());
  const auto level = static_cast<std::int16_t>(form_.levelList->currentIndex() + 1);

  // The centre icon: the chosen file's bytes; an empty path removes the icon.
  std::optional<Bytes> icon;
  const QString iconPath = form_.iconPathBox->text();
  if (!iconPath.isEmpty()) {
    QFile file(iconPath);
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      icon = Bytes(bytes.begin(), bytes.end());
    }
    if (!icon || !LoadImageBitmap(*icon)) {
      return refuse(QT_TRANSLATE_NOOP("qrsmith", "图标错误"),
                    WindowText::tr("无法读取图标文件：") + iconPath);
    }
  } else {
    generator_.ClearIcon();
  }

  const std::int32_t quiet = form_.quietZoneBox->value();
  if (!generator_.Generate(content, ansi, version, level, std::int16_t{-1},
                           form_.foregroundPicker->Value(), form_.backgroundPicker->Value(), icon,
                           quiet, quiet, quiet, quiet)) {
    // The generator no longer holds a symbol; never paint from it.
    const char* title = QT_TRANSLATE_NOOP("qrsmith", "无法生成");
    if (generator_.LastFailure() != GenerateFailure::kContentTooLong) {
      return refuse(title, WindowText::tr("无法用这些选项生成二维码。"));
    }
    const Bytes bytes = *ContentBytes(content, ansi);
    const QString levelName = form_.levelList->currentText().section(QChar(0x2014), 0, 0);
    const QString tooMany = QString::number(BytesTooMany(bytes, version, level));
    return refuse(title, version == 0 ? WindowText::tr("内容太长：纠错级别为%1时任何尺寸都放不下，"
                                                       "多了%2字节。")
                                            .arg(levelName, tooMany)
                                      : WindowText::tr("内容太长：尺寸%1、纠错级别%2放不下，"
                                                       "多了%3字节。")
                                            .arg(QString::number(version), levelName, tooMany));
  }
  symbolCurrent_ = true;
  ++symbolSerial_;
  failure_.clear();
  form_.scanStatus->hide();  // the verdict was on the symbol before; CheckScan gives the new one
  ShowPreview();
  return std::nullopt;
}

// The label says the check is under way until its verdict comes; one check
// runs at a time, and the newest symbol made meanwhile is checked next.
void MainWindow::CheckScan() {
  if (!symbolCurrent_ || !generator_.HasSymbol()) return;
  ShowScanChecking(*form_.scanStatus);
  if (scanCheckBusy_) {
    scanCheckQueued_ = true;
    return;
  }
  StartScanCheck();
}

void MainWindow::StartScanCheck() {
  checkedSerial_ = symbolSerial_;
  scanCheckBusy_ = true;
  auto symbol = std::make_shared<const QrGenerator>(generator_);
  scanCheck_->setFuture(QtConcurrent::run(
      [symbol] { return verify::CheckSavedPicture(*symbol, kSavePixelsPerModule); }));
}

void MainWindow::ScanCheckDone() {
  scanCheckBusy_ = false;
  const bool onShow = symbolCurrent_ && checkedSerial_ == symbolSerial_;
  if (std::exchange(scanCheckQueued_, false) && !onShow && symbolCurrent_) {
    StartScanCheck();
    return;
  }
  if (onShow) ShowScanVerdict(*form_.scanStatus, scanCheck_->result(), *form_.levelList);
}

bool MainWindow::ScanCheckPending() const {
  return symbolCurrent_ && (scanCheckBusy_ || checkedSerial_ != symbolSerial_);
}

// The symbol at the largest whole number of pixels a module that fits the
// preview area, centred, with the scan label below it; the icon drawn at the
// scale of the saved picture, where it is kSavePixelsPerModule a module.
void MainWindow::ShowPreview() {
  ShowPlaceholders(false);
  form_.failureReason->hide();
  const int width = form_.previewArea->width();
  const int height = form_.previewArea->height();
  constexpr int kLabelHeight = 36;  // the scan label, two lines
  const std::int32_t modules = std::max(generator_.SymbolWidth(), generator_.SymbolHeight());
  const std::int32_t scale = PreviewScale(modules, std::min(width, height - 2 * kLabelHeight));
  const std::int32_t side = generator_.SymbolWidth() * scale;
  generator_.DetachPreview(preview_);
  generator_.AttachPreview(preview_, kPreviewCentre, std::nullopt, side, {}, std::nullopt,
                           std::nullopt, 0, 20, true);
  if (const auto icon = generator_.IconBitmap()) {
    const auto scaled = [scale](int pixels) {
      return std::max(1, pixels * scale / kSavePixelsPerModule);
    };
    preview_.SetProperty(kPreviewPropertyNames[kIconWidthProperty], scaled(icon->Width()));
    preview_.SetProperty(kPreviewPropertyNames[kIconHeightProperty], scaled(icon->Height()));
    preview_.Invalidate();
  }
  const int below = std::min((height + side) / 2 + 4, height - kLabelHeight);
  form_.scanStatus->setGeometry(8, below, width - 16, kLabelHeight);
}

void MainWindow::HidePreview() {
  generator_.DetachPreview(preview_);
  form_.scanStatus->hide();
  form_.failureReason->hide();
  ShowPlaceholders(true);
}

// The reason in the preview, where the symbol would be: the placeholder
// picture stays, the reason takes the prompt's place.
void MainWindow::ShowFailure(const QString& reason) {
  HidePreview();
  form_.placeholderPrompt->hide();
  form_.placeholderIcon->hide();
  form_.failureReason->setText(reason);
  form_.failureReason->show();
}

// Clear takes the symbol away for Save and Copy too; the next change, or
// Generate, makes one again.
void MainWindow::Clear() {
  refreshTimer_->stop();
  symbolCurrent_ = false;
  failure_.clear();
  HidePreview();
}

void MainWindow::ShowPlaceholders(bool visible) {
  form_.placeholderPicture->setVisible(visible);
  form_.placeholderIcon->setVisible(visible);
  form_.placeholderPrompt->setVisible(visible);
}

}  // namespace qrsmith::app
