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

#include "app/main_window_shared.h"
#include "app/save_formats.h"
#include "app/scan_label.h"
#include "app/window_text.h"
#include "encoder/qr_encoder.h"
#include "encoder/qr_tables.h"
#include "generator/imaging.h"
#include "generator/preview_painter.h"
#include "generator/qr_generator.h"
#include "platform/bitmap.h"
#include "platform/codepage.h"
#include "platform/qt/qt_image.h"
#include "verify/qr_reader.h"
#include "verify/scan_check.h"

namespace qrsmith::app {

namespace {

constexpr char kSizeAutomatic[] = QT_TRANSLATE_NOOP("qrsmith", "自动（根据内容）");

// The one local file a drag or paste carries, if that is all it carries.
std::optional<QString> LocalFile(const QMimeData& data) {
  if (!data.hasUrls() || data.urls().size() != 1 || !data.urls().front().isLocalFile()) {
    return std::nullopt;
  }
  return data.urls().front().toLocalFile();
}

bool HoldsPicture(const QMimeData& data) { return data.hasImage() || LocalFile(data); }

}  // namespace

MainWindow::MainWindow(QrGenerator& generator, Dialogs& dialogs)
    : generator_(generator),
      dialogs_(dialogs),
      form_(BuildMainForm(this, dialogs)),
      preview_(form_.previewArea),
      endProcess_([](int code) { QCoreApplication::exit(code); }),
      refreshTimer_(new QTimer(this)),
      scanCheck_(new QFutureWatcher<std::optional<verify::ScanGrade>>(this)) {
  verify::UseReaders(qrsmith_read_qr_code, qrsmith_read_qr_code_zbar);  // both are linked in
  refreshTimer_->setSingleShot(true);
  refreshTimer_->setInterval(kRefreshDelayMs);
  connect(refreshTimer_, &QTimer::timeout, this, [this] { Refresh(); });
  connect(scanCheck_, &QFutureWatcherBase::finished, this, [this] { ScanCheckDone(); });
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
  connect(form_.quietZoneBox, &QSpinBox::valueChanged, this, changed);
}

MainWindow::~MainWindow() {
  // The check works on its own copy of the symbol; it is let finish (a
  // fraction of a second at most) so that no thread outlives the window.
  scanCheck_->waitForFinished();
  WriteSettings();
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
  // The printed size of the Basic page, as --module-mm and --dpi give it.
  PrintSettings print;
  print.moduleMm = form_.moduleMmBox->value();
  print.dpi = form_.dpiBox->value();
  const char* failed = QT_TRANSLATE_NOOP("qrsmith", "保存失败");
  switch (SaveSymbol(generator_, Utf8(target.path), *target.form, print)) {
    case SaveOutcome::kSaved:
      break;
    case SaveOutcome::kNotWritten:
      Stop(failed, WindowText::tr("无法保存文件：") + target.path);
      return;
    case SaveOutcome::kUnderOnePixel:
      Stop(failed, WindowText::tr("在此分辨率下，每个模块不足一个像素：请加大模块尺寸或分辨率。"));
      return;
    case SaveOutcome::kTooLarge:
      Stop(failed, WindowText::tr("图片将超过 %1 像素宽：请减小模块尺寸或分辨率。")
                       .arg(platform::kMaxBitmapSide));
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
