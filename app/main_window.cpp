#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>

#include "app/content_encryption.h"
#include "app/save_formats.h"
#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"
#include "platform/codepage.h"

namespace qrsmith::app {

namespace {

constexpr char kSizeAutomatic[] = "自动（根据内容）";
constexpr int kLargestVersion = 40;
constexpr int kUtf8EncodingIndex = 1;

// The content and password as the core takes them: UTF-8 text.
std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

MainWindow::MainWindow(QrGenerator& generator, Dialogs& dialogs)
    : generator_(generator),
      dialogs_(dialogs),
      form_(BuildMainForm(this, dialogs)),
      preview_(form_.previewArea),
      endProcess_([](int code) { QCoreApplication::exit(code); }) {
  connect(form_.generateButton, &QPushButton::clicked, this, [this] { Generate(); });
  connect(form_.clearButton, &QPushButton::clicked, this, [this] { Clear(); });
  connect(form_.saveButton, &QPushButton::clicked, this, [this] { Save(); });
  connect(form_.copyButton, &QPushButton::clicked, this, [this] { Copy(); });
  connect(form_.closeButton, &QPushButton::clicked, this, [this] { CloseCommand(); });
  connect(form_.browseButton, &QPushButton::clicked, this, [this] { BrowseIcon(); });
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!setUp_) SetUpOnOpen();
}

// Window set-up, once, when the window first opens.
void MainWindow::SetUpOnOpen() {
  setUp_ = true;
  form_.encodingList->setCurrentIndex(kUtf8EncodingIndex);
  form_.sizeList->addItem(QString::fromUtf8(kSizeAutomatic));
  for (int version = 1; version <= kLargestVersion; ++version) {
    form_.sizeList->addItem(QString::number(version));
  }
  form_.sizeList->setCurrentIndex(0);
  form_.levelList->setCurrentIndex(0);
  // The program's own folder, with exactly one separator after it.
  QString directory = QCoreApplication::applicationDirPath();
  if (!directory.endsWith(QLatin1Char('/'))) directory += QLatin1Char('/');
  form_.fileDialog->SetInitialDirectory(directory);
}

void MainWindow::Stop(const char* title, const QString& text) {
  dialogs_.ShowMessage(this,
                       {text, QString::fromUtf8(title), MessageIcon::kStop, MessageButtons::kOk});
}

void MainWindow::Generate() {
  if (form_.contentBox->toPlainText().isEmpty()) {
    Stop("内容为空", QStringLiteral("请输入需要编码的内容！"));
    form_.tabs->SetCurrentIndex(0);
    form_.contentBox->setFocus();
    return;
  }
  const bool ansi = form_.encodingList->currentIndex() != kUtf8EncodingIndex;
  std::string content = Utf8(form_.contentBox->toPlainText());

  const QString password = form_.passwordBox->text();
  if (!password.isEmpty()) {
    const EncryptionResult encrypted = EncryptContent(content, Utf8(password));
    if (encrypted.failure == EncryptionFailure::kPasswordNotRepresentable) {
      Stop("编码错误", QStringLiteral("密码中含有无法用系统编码表示的字符。"));
      return;
    }
    if (!encrypted.text) {
      Stop("编码错误",
           QStringLiteral("内容中含有无法用所选编码表示的字符，请改用UTF-8编码或修改内容。"));
      return;
    }
    content = *encrypted.text;
  } else if (ansi && !platform::Utf8ToCodePage(content)) {
    // Refused before Generate, so that nothing typed is replaced by a stand-in
    // and the symbol on show stays.
    Stop("编码错误",
         QStringLiteral("内容中含有无法用所选编码表示的字符，请改用UTF-8编码或修改内容。"));
    return;
  }

  const auto version = static_cast<std::int16_t>(form_.sizeList->currentIndex());
  const auto level = static_cast<std::int16_t>(form_.levelList->currentIndex() + 1);
  const Colour foreground = form_.foregroundPicker->Value();
  const Colour background = form_.backgroundPicker->Value();

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
      Stop("图标错误", QStringLiteral("无法读取图标文件：") + iconPath);
      return;
    }
  } else {
    generator_.ClearIcon();
  }

  if (!generator_.Generate(content, ansi, version, level, std::int16_t{-1}, foreground, background,
                           icon, 1, 1, 1, 1)) {
    // The generator no longer holds the symbol on show; never paint from it.
    HidePreview();
    return;
  }
  ShowPreview();
}

void MainWindow::ShowPreview() {
  ShowPlaceholders(false);
  generator_.DetachPreview(preview_);
  generator_.AttachPreview(preview_, kPreviewCentre, std::nullopt, kPreviewSquare, {}, std::nullopt,
                           std::nullopt, 0, 20, true);
}

void MainWindow::HidePreview() {
  generator_.DetachPreview(preview_);
  ShowPlaceholders(true);
}

void MainWindow::Clear() { HidePreview(); }

void MainWindow::ShowPlaceholders(bool visible) {
  form_.placeholderPicture->setVisible(visible);
  form_.placeholderIcon->setVisible(visible);
  form_.placeholderPrompt->setVisible(visible);
}

bool MainWindow::RefuseWithoutSymbol() {
  if (generator_.HasSymbol()) return false;
  dialogs_.ShowMessage(this, {QStringLiteral("请先生成二维码！"), QStringLiteral("提示"),
                              MessageIcon::kInformation, MessageButtons::kOk});
  return true;
}

void MainWindow::Save() {
  if (RefuseWithoutSymbol()) return;
  FileRequest request;
  request.save = true;
  request.filters = SaveFilters();
  request.directory = form_.fileDialog->InitialDirectory();
  const auto answer = dialogs_.ChooseFile(this, request);
  if (!answer) return;
  const SaveTarget target = ResolveSaveTarget(answer->path, answer->filter);
  if (!SaveSymbol(generator_, Utf8(target.path), *target.form)) {
    Stop("保存失败", QStringLiteral("无法保存文件：") + target.path);
  }
}

void MainWindow::Copy() {
  if (RefuseWithoutSymbol()) return;
  if (!generator_.CopyToClipboard(generator_.SymbolWidth() * kSavePixelsPerModule)) {
    Stop("复制失败", QStringLiteral("无法把二维码复制到剪贴板。"));
  }
}

bool MainWindow::ConfirmExit() {
  // No owner window: the box is modal for the whole program.
  return dialogs_.ShowMessage(nullptr, {QStringLiteral("确实要退出吗？"), QStringLiteral("退出"),
                                        MessageIcon::kQuestion, MessageButtons::kOkCancel}) ==
         MessageAnswer::kOk;
}

void MainWindow::CloseCommand() {
  if (ConfirmExit()) endProcess_(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (ConfirmExit()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::BrowseIcon() {
  if (form_.fileDialog->Open(this)) form_.iconPathBox->setText(form_.fileDialog->FileName());
}

}  // namespace qrsmith::app
