#include "app/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "app/content_encryption.h"
#include "app/save_formats.h"
#include "app/scan_label.h"
#include "app/window_text.h"
#include "encoder/qr_encoder.h"
#include "encoder/qr_tables.h"
#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"
#include "platform/codepage.h"
#include "platform/qt/qt_image.h"
#include "verify/qr_reader.h"
#include "verify/scan_check.h"

namespace qrsmith::app {

namespace {

constexpr char kSizeAutomatic[] = QT_TRANSLATE_NOOP("qrsmith", "自动（根据内容）");
constexpr int kLargestVersion = 40;
constexpr int kUtf8EncodingIndex = 1;

// The content and password as the core takes them: UTF-8 text.
std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

// The content box's text exactly as typed. toPlainText() would turn U+00A0
// into a space and U+2028 into a line feed; here only the paragraph breaks
// (Return, or a pasted LF, CR or U+2029, which the box all holds as one)
// become line feeds.
QString TypedText(const QPlainTextEdit& box) {
  QString text;
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    if (block.previous().isValid()) text += QLatin1Char('\n');
    text += block.text();
  }
  return text;
}

// The one local file a drag or paste carries, if that is all it carries.
std::optional<QString> LocalFile(const QMimeData& data) {
  if (!data.hasUrls() || data.urls().size() != 1 || !data.urls().front().isLocalFile()) {
    return std::nullopt;
  }
  return data.urls().front().toLocalFile();
}

bool HoldsPicture(const QMimeData& data) { return data.hasImage() || LocalFile(data); }

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

MainWindow::MainWindow(QrGenerator& generator, Dialogs& dialogs)
    : generator_(generator),
      dialogs_(dialogs),
      form_(BuildMainForm(this, dialogs)),
      preview_(form_.previewArea),
      endProcess_([](int code) { QCoreApplication::exit(code); }),
      refreshTimer_(new QTimer(this)),
      scanTimer_(new QTimer(this)) {
  verify::UseReader(qrsmith_read_qr_code);  // zxing-cpp is linked in
  refreshTimer_->setSingleShot(true);
  refreshTimer_->setInterval(kRefreshDelayMs);
  connect(refreshTimer_, &QTimer::timeout, this, [this] { Refresh(); });
  scanTimer_->setSingleShot(true);
  scanTimer_->setInterval(kScanCheckDelayMs);
  connect(scanTimer_, &QTimer::timeout, this, [this] { CheckScan(); });
  AddShortcuts();
  form_.previewArea->installEventFilter(this);
  form_.iconPathBox->installEventFilter(this);
  connect(form_.generateButton, &QPushButton::clicked, this, [this] { Generate(); });
  connect(form_.clearButton, &QPushButton::clicked, this, [this] { Clear(); });
  connect(form_.saveButton, &QPushButton::clicked, this, [this] { Save(); });
  connect(form_.copyButton, &QPushButton::clicked, this, [this] { Copy(); });
  connect(form_.closeButton, &QPushButton::clicked, this, [this] { CloseCommand(); });
  connect(form_.browseButton, &QPushButton::clicked, this, [this] { BrowseIcon(); });
  // Every value the symbol is made of: a change makes a new one after a pause.
  const auto changed = [this] { ContentChanged(); };
  connect(form_.contentBox, &QPlainTextEdit::textChanged, this, changed);
  connect(form_.passwordBox, &QLineEdit::textChanged, this, changed);
  connect(form_.iconPathBox, &QLineEdit::textChanged, this, changed);
  for (QComboBox* list : {form_.encodingList, form_.sizeList, form_.levelList}) {
    connect(list, &QComboBox::currentIndexChanged, this, changed);
  }
  form_.foregroundPicker->SetOnChange(changed);
  form_.backgroundPicker->SetOnChange(changed);
}

MainWindow::~MainWindow() { WriteSettings(); }

namespace {

constexpr const char* kLevelKeys[] = {"L", "M", "Q", "H"};

QString ColourKey(Colour colour) {  // #RRGGBB
  return QStringLiteral("#%1").arg(
      ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF), 6, 16,
      QLatin1Char('0'));
}

std::optional<Colour> ColourOfKey(const QString& key) {
  bool ok = false;
  const uint rgb = key.mid(1).toUInt(&ok, 16);
  if (!key.startsWith(QLatin1Char('#')) || key.size() != 7 || !ok) return std::nullopt;
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

}  // namespace

// Values that are missing or out of range leave the first start's choice.
void MainWindow::ReadSettings() {
  if (!settings_) return;
  QSettings& s = *settings_;
  const QString encoding = s.value(QStringLiteral("encoding")).toString();
  if (encoding == QLatin1String("ansi")) form_.encodingList->setCurrentIndex(0);
  if (encoding == QLatin1String("utf-8")) form_.encodingList->setCurrentIndex(kUtf8EncodingIndex);
  const QString level = s.value(QStringLiteral("level")).toString();
  for (int i = 0; i < 4; ++i) {
    if (level == QLatin1String(kLevelKeys[i])) form_.levelList->setCurrentIndex(i);
  }
  bool ok = false;
  const int version = s.value(QStringLiteral("version")).toInt(&ok);
  if (ok && version >= 0 && version <= kLargestVersion) form_.sizeList->setCurrentIndex(version);
  if (const auto c = ColourOfKey(s.value(QStringLiteral("foreground")).toString())) {
    form_.foregroundPicker->SetValue(*c);
  }
  if (const auto c = ColourOfKey(s.value(QStringLiteral("background")).toString())) {
    form_.backgroundPicker->SetValue(*c);
  }
  lastSaveFolder_ = s.value(QStringLiteral("saveFolder")).toString();
  lastIconFolder_ = s.value(QStringLiteral("iconFolder")).toString();
  const auto forms = SaveForms();
  const QString formName = s.value(QStringLiteral("saveForm")).toString();
  for (std::size_t i = 0; i < forms.size(); ++i) {
    if (formName ==
        QString::fromUtf8(forms[i]->name.data(), static_cast<qsizetype>(forms[i]->name.size()))) {
      lastSaveForm_ = static_cast<int>(i);
    }
  }
}

void MainWindow::WriteSettings() {
  if (!settings_ || !setUp_) return;
  QSettings& s = *settings_;
  s.setValue(QStringLiteral("encoding"), form_.encodingList->currentIndex() == kUtf8EncodingIndex
                                             ? QStringLiteral("utf-8")
                                             : QStringLiteral("ansi"));
  s.setValue(QStringLiteral("level"),
             QLatin1String(kLevelKeys[std::clamp(form_.levelList->currentIndex(), 0, 3)]));
  s.setValue(QStringLiteral("version"), form_.sizeList->currentIndex());
  s.setValue(QStringLiteral("foreground"), ColourKey(form_.foregroundPicker->Value()));
  s.setValue(QStringLiteral("background"), ColourKey(form_.backgroundPicker->Value()));
  s.setValue(QStringLiteral("saveFolder"), lastSaveFolder_);
  s.setValue(QStringLiteral("iconFolder"), lastIconFolder_);
  const auto forms = SaveForms();
  if (lastSaveForm_ >= 0 && lastSaveForm_ < static_cast<int>(forms.size())) {
    const std::string_view name = forms[static_cast<std::size_t>(lastSaveForm_)]->name;
    s.setValue(QStringLiteral("saveForm"),
               QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  }
  s.sync();
}

void MainWindow::ContentChanged() {
  if (!setUp_) return;  // the set-up's own choices are no change
  symbolCurrent_ = false;
  refreshTimer_->start();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceForSize(form_, event->size());
  if (symbolCurrent_ && generator_.HasSymbol()) ShowPreview();
}

// The commands' keys, anywhere in the window (the buttons' Alt+letter
// accelerators come with the layout).
void MainWindow::AddShortcuts() {
  const auto add = [this](QKeySequence keys, auto command) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, command);
  };
  const auto turnPage = [this](int step) {
    const int count = form_.tabs->Count();
    form_.tabs->SetCurrentIndex((form_.tabs->CurrentIndex() + step + count) % count);
    // What is typed next goes into the page, not into the button that had the focus.
    QWidget* page = form_.tabs->Page(form_.tabs->CurrentIndex());
    for (QWidget* w = page->nextInFocusChain(); w != page && page->isAncestorOf(w);
         w = w->nextInFocusChain()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page)) {
        w->setFocus(Qt::TabFocusReason);
        return;
      }
    }
    form_.tabs->Bar()->setFocus(Qt::TabFocusReason);  // a page with nothing to type into
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { Generate(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Enter), [this] { Generate(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Save(); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), [this] { Copy(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Tab), [turnPage] { turnPage(1); });
  // Shift+Tab arrives as Backtab.
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [turnPage] { turnPage(-1); });
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), [turnPage] { turnPage(-1); });
  // Browse for the icon from every page, not only from the one it is on.
  add(QKeySequence(Qt::ALT | Qt::Key_B), [this] { BrowseIcon(); });
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!setUp_) SetUpOnOpen();
}

// Window set-up, once, when the window first opens.
void MainWindow::SetUpOnOpen() {
  form_.encodingList->setCurrentIndex(kUtf8EncodingIndex);
  form_.sizeList->addItem(WindowText::tr(kSizeAutomatic));
  for (int version = 1; version <= kLargestVersion; ++version) {
    form_.sizeList->addItem(QString::number(version));
  }
  form_.sizeList->setCurrentIndex(0);
  form_.levelList->setCurrentIndex(0);
  FitListPopup(form_.sizeList);
  ReadSettings();
  form_.contentBox->setFocus();  // typing goes into the content at once
  // The whole window on screen, its button row included, on small and
  // scaled screens alike; the frame's title bar is allowed for.
  constexpr int kTitleBar = 40;
  if (const QScreen* screen = this->screen()) {
    const QRect place = FitOnScreen(QRect(pos(), size()), screen->availableGeometry(), kTitleBar);
    if (place != QRect(pos(), size())) setGeometry(place);
  }
  setUp_ = true;
}

void MainWindow::Stop(const char* title, const QString& text) {
  dialogs_.ShowMessage(this,
                       {text, WindowText::tr(title), MessageIcon::kStop, MessageButtons::kOk});
}

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
  // Judged at once on the picture Save and Copy hand out.
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
  if (!MakeSymbol()) scanTimer_->start();
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

  if (!generator_.Generate(content, ansi, version, level, std::int16_t{-1},
                           form_.foregroundPicker->Value(), form_.backgroundPicker->Value(), icon,
                           1, 1, 1, 1)) {
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
  failure_.clear();
  form_.scanStatus->hide();  // the verdict was on the symbol before; CheckScan gives the new one
  ShowPreview();
  return std::nullopt;
}

void MainWindow::CheckScan() {
  scanTimer_->stop();
  if (!symbolCurrent_ || !generator_.HasSymbol()) return;
  ShowScanVerdict(*form_.scanStatus, verify::CheckSavedPicture(generator_, kSavePixelsPerModule),
                  *form_.levelList);
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
  scanTimer_->stop();
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

QString MainWindow::MissingSymbolReason() const {
  if (symbolCurrent_ && generator_.HasSymbol()) return {};
  return failure_.isEmpty() ? WindowText::tr("请先生成二维码！") : failure_;
}

// Save and Copy hand out the symbol of what the window holds now: a change
// still waiting for its pause is made first, and without a symbol they say why.
bool MainWindow::RefuseWithoutSymbol() {
  if (refreshTimer_->isActive()) Refresh();
  const QString reason = MissingSymbolReason();
  if (reason.isEmpty()) return false;
  dialogs_.ShowMessage(
      this, {reason, WindowText::tr("提示"), MessageIcon::kInformation, MessageButtons::kOk});
  return true;
}

void MainWindow::ShowStatus(const QString& text) {
  form_.statusLine->setToolTip(text);
  form_.statusLine->setText(
      form_.statusLine->fontMetrics().elidedText(text, Qt::ElideMiddle, form_.statusLine->width()));
  form_.statusLine->show();
}

// The folder last saved to in this run, else the user's Pictures folder,
// else the home folder: never the program's own folder, where a user cannot
// write once it is installed.
QString MainWindow::SaveFolder() const {
  if (!lastSaveFolder_.isEmpty() && QDir(lastSaveFolder_).exists()) return lastSaveFolder_;
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures;
  return QDir::homePath();
}

bool MainWindow::ConfirmReplace(const QString& path) {
  return dialogs_.ShowMessage(
             this, {WindowText::tr("%1 已存在。\n要替换它吗？").arg(QFileInfo(path).fileName()),
                    WindowText::tr("确认保存"), MessageIcon::kQuestion,
                    MessageButtons::kOkCancel}) == MessageAnswer::kOk;
}

void MainWindow::Save() {
  if (RefuseWithoutSymbol()) return;
  FileRequest request;
  request.save = true;
  request.filters = SaveFilters();
  request.selectedFilter = lastSaveForm_;
  request.directory = SaveFolder();
  const auto answer = dialogs_.ChooseFile(this, request);
  if (!answer) return;
  const SaveTarget target = ResolveSaveTarget(answer->path, answer->filter);
  // The dialog asked about the name as typed; a name that gained an
  // extension names another file, which is asked about here.
  if (target.path != answer->path && QFileInfo::exists(target.path) &&
      !ConfirmReplace(target.path)) {
    return;
  }
  lastSaveFolder_ = QFileInfo(target.path).absolutePath();
  const auto forms = SaveForms();
  lastSaveForm_ = static_cast<int>(std::ranges::find(forms, target.form) - forms.begin());
  if (!SaveSymbol(generator_, Utf8(target.path), *target.form)) {
    Stop(QT_TRANSLATE_NOOP("qrsmith", "保存失败"), WindowText::tr("无法保存文件：") + target.path);
    return;
  }
  ShowStatus(WindowText::tr("已保存：") + QDir::toNativeSeparators(target.path));
}

void MainWindow::Copy() {
  if (RefuseWithoutSymbol()) return;
  if (!generator_.CopyToClipboard(generator_.SymbolWidth() * kSavePixelsPerModule)) {
    Stop(QT_TRANSLATE_NOOP("qrsmith", "复制失败"), WindowText::tr("无法把二维码复制到剪贴板。"));
    return;
  }
  ShowStatus(WindowText::tr("已复制到剪贴板。"));
}

bool MainWindow::ConfirmExit() {
  // No owner window: the box is modal for the whole program.
  return dialogs_.ShowMessage(nullptr, {WindowText::tr("确实要退出吗？"), WindowText::tr("退出"),
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

// The icon dialog opens in the folder last browsed in this run, else the
// Pictures folder, else home: never the program's own folder.
void MainWindow::BrowseIcon() {
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  QString folder = !lastIconFolder_.isEmpty() && QDir(lastIconFolder_).exists() ? lastIconFolder_
                   : !pictures.isEmpty() && QDir(pictures).exists()             ? pictures
                                                                                : QDir::homePath();
  form_.fileDialog->SetInitialDirectory(folder);
  if (!form_.fileDialog->Open(this)) return;
  lastIconFolder_ = QFileInfo(form_.fileDialog->FileName()).absolutePath();
  form_.iconPathBox->setText(form_.fileDialog->FileName());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  const bool dragging = type == QEvent::DragEnter || type == QEvent::DragMove;
  if (watched == form_.previewArea) {
    if (dragging) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (HoldsPicture(*drag->mimeData())) drag->acceptProposedAction();
      return true;
    }
    if (type == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      drop->acceptProposedAction();
      ReadCode(*drop->mimeData());
      return true;
    }
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
      if (const QMimeData* data = QGuiApplication::clipboard()->mimeData()) ReadCode(*data);
      return true;
    }
  } else if (watched == form_.iconPathBox && (dragging || type == QEvent::Drop)) {
    // Only drag and drop events are QDropEvents: any other event is left alone.
    auto* drag = static_cast<QDropEvent*>(event);
    if (LocalFile(*drag->mimeData())) {
      drag->acceptProposedAction();
      // The file becomes the centre icon at the next Generate, as a browsed one.
      if (type == QEvent::Drop) form_.iconPathBox->setText(*LocalFile(*drag->mimeData()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// A picture of a symbol, dropped or pasted: its content replaces the content
// box's text (one step to undo), or a message says why it cannot.
void MainWindow::ReadCode(const QMimeData& data) {
  const char* title = QT_TRANSLATE_NOOP("qrsmith", "读取二维码");
  QImage picture;
  if (data.hasImage()) {
    picture = qvariant_cast<QImage>(data.imageData());
  } else if (const auto file = LocalFile(data)) {
    if (!picture.load(*file)) {
      Stop(title, WindowText::tr("无法读取图片文件：") + *file);
      return;
    }
  } else {
    Stop(title, WindowText::tr("没有可以读取的图片。"));
    return;
  }
  const auto bitmap = platform::FromQImage(picture);
  const auto bytes = bitmap ? verify::ReadQrCode(*bitmap, verify::QuietZone::kAdded) : std::nullopt;
  if (!bytes) {
    Stop(title, WindowText::tr("图片中没有找到二维码。"));
    return;
  }
  const auto text = verify::ContentOfSymbolBytes(*bytes);
  if (!text) {
    Stop(title, WindowText::tr("二维码的内容既不是UTF-8文本，也不是GBK文本，无法放入内容框。"));
    return;
  }
  SetContent(QString::fromUtf8(*text));
}

void MainWindow::SetContent(const QString& text) {
  // The box holds a line break as a paragraph break, CR LF included, so a
  // CR LF pair is one line feed rather than two.
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextCursor cursor(form_.contentBox->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(lines);
  form_.tabs->SetCurrentIndex(0);
}

}  // namespace qrsmith::app
