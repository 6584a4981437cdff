#include "app/form_layout.h"

#include <QAbstractItemView>
#include <QFont>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyle>
#include <algorithm>

#include "app/save_formats.h"
#include "app/window_text.h"

namespace qrsmith::app {

namespace {

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLabel* Label(QWidget* parent, const char* name, int l, int t, int w, int h, const QString& text) {
  return Place(new QLabel(text, parent), name, l, t, w, h);
}

QLabel* Picture(QWidget* parent, const char* name, int l, int t, int w, int h,
                const char* resource) {
  QLabel* picture = Place(new QLabel(parent), name, l, t, w, h);
  picture->setPixmap(QPixmap(QString::fromUtf8(resource)));
  return picture;
}

// A caption that shows its Alt+letter key: a translated caption marks its
// own letter with "&"; a Chinese one, holding no Latin letter to mark, gets
// the letter in brackets, before a closing "！" or "...".
QString WithMnemonic(const QString& caption, Qt::Key key) {
  if (caption.contains(QLatin1Char('&'))) return caption;
  const QString mark = QStringLiteral("(&%1)").arg(QChar(static_cast<char16_t>(key)));
  qsizetype at = caption.size();
  for (const QString& end : {QStringLiteral("..."), QStringLiteral("！")}) {
    if (caption.endsWith(end)) at -= end.size();
  }
  return QString(caption).insert(at, mark);
}

// A button with its caption and an Alt+letter accelerator.
QPushButton* Button(QWidget* parent, const char* name, int l, int t, int w, int h,
                    const QString& caption, Qt::Key accelerator) {
  QPushButton* button =
      Place(new QPushButton(WithMnemonic(caption, accelerator), parent), name, l, t, w, h);
  button->setShortcut(QKeySequence(Qt::ALT | accelerator));
  return button;
}

QGroupBox* Group(QWidget* parent, const char* name, int l, int t, int w, int h,
                 const QString& caption) {
  return Place(new QGroupBox(caption, parent), name, l, t, w, h);
}

// A drop-down list's pop-up drops below it and scrolls, whatever the
// style's own way (some styles show every item, as a menu, over the list).
class ScrollingPopupStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

QComboBox* DropDown(QWidget* parent, const char* name, int l, int t, int w, int h,
                    const QStringList& items) {
  QComboBox* list = Place(new QComboBox(parent), name, l, t, w, h);
  auto* style = new ScrollingPopupStyle;
  style->setParent(list);
  list->setStyle(style);
  list->addItems(items);
  FitListPopup(list);
  return list;
}

// The password box shows "*" for every character, whatever the style's own mask.
class StarPasswordStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

void BuildContentPage(QWidget* page, MainForm& form) {
  form.contentBox = Place(new QPlainTextEdit(page), "超级编辑框1", 8, 30, 440, 150);
  // Tab moves on to the next control, as in every other box of the window.
  form.contentBox->setTabChangesFocus(true);
}

void BuildPasswordPage(QWidget* page, MainForm& form) {
  QGroupBox* group = Group(page, "分组框4", 8, 24, 440, 125, WindowText::tr("加密密码："));
  form.passwordBox = Place(new QLineEdit(group), "编辑框2", 88, 27, 263, 20);
  auto* style = new StarPasswordStyle;
  style->setParent(form.passwordBox);
  form.passwordBox->setStyle(style);
  form.passwordBox->setEchoMode(QLineEdit::Password);
  QLabel* hint =
      Label(group, "标签11", 27, 57, 389, 60,
            WindowText::tr("提示：如果不需要加密二维码，请保持上面的编辑框内容为空即可！\n"
                           "注意：加密后的二维码无法用普通扫码工具读出原文。"));
  hint->setWordWrap(true);
}

void BuildBasicPage(QWidget* page, MainForm& form, Dialogs& dialogs) {
  QGroupBox* group = Group(page, "分组框1", 6, 30, 442, 119, WindowText::tr("生成选项："));
  Label(group, "标签1", 21, 19, 67, 24, WindowText::tr("内容编码："));
  form.encodingList = DropDown(group, "组合框1", 90, 21, 140, 20,
                               {QStringLiteral("ANSI"), WindowText::tr("UTF-8（默认）")});
  Label(group, "标签2", 21, 52, 67, 24, WindowText::tr("图像尺寸："));
  form.sizeList = DropDown(group, "组合框2", 90, 54, 140, 20, {});
  Label(group, "标签3", 21, 85, 67, 24, WindowText::tr("纠错级别："));
  form.levelList = DropDown(group, "组合框3", 90, 87, 140, 20,
                            {WindowText::tr("低—7%（默认）"), WindowText::tr("中—15%"),
                             WindowText::tr("高—25%"), WindowText::tr("非常高—30%")});
  Label(group, "标签4", 238, 19, 94, 24, WindowText::tr("二维码前景色："));
  form.foregroundPicker =
      Place(new ColourPicker(group, dialogs, kBlack), "颜色选择器1", 334, 20, 104, 24);
  Label(group, "标签5", 238, 53, 94, 24, WindowText::tr("二维码背景色："));
  form.backgroundPicker =
      Place(new ColourPicker(group, dialogs, kWhite), "颜色选择器2", 334, 54, 104, 24);
  Picture(group, "图片框3", 238, 90, 16, 16, ":/qrsmith/colour-hint.png");
  QLabel* hint = Label(group, "标签8", 260, 84, 178, 32,
                       WindowText::tr("请选择对比度较大的颜色，以便于拍摄设备识别！"));
  hint->setWordWrap(true);

  // Below the options: how Save prints the symbol, and its quiet zone.
  Label(page, "标签12", 8, 154, 76, 24, WindowText::tr("模块尺寸："));
  form.moduleMmBox = Place(new QDoubleSpinBox(page), "数值框1", 84, 156, 90, 22);
  form.moduleMmBox->setDecimals(2);
  form.moduleMmBox->setRange(0.1, 10.0);
  form.moduleMmBox->setSingleStep(0.05);
  form.moduleMmBox->setSuffix(QStringLiteral(" mm"));
  form.moduleMmBox->setValue(kSaveModuleMm);
  Label(page, "标签13", 178, 154, 68, 24, WindowText::tr("分辨率："));
  form.dpiBox = Place(new QSpinBox(page), "数值框2", 246, 156, 82, 22);
  form.dpiBox->setRange(72, 2400);
  form.dpiBox->setSuffix(QStringLiteral(" dpi"));
  form.dpiBox->setValue(kSaveRasterDpi);
  Label(page, "标签14", 332, 154, 70, 24, WindowText::tr("静区："));
  form.quietZoneBox = Place(new QSpinBox(page), "数值框3", 402, 156, 46, 22);
  form.quietZoneBox->setRange(0, 20);
  form.quietZoneBox->setValue(kWindowQuietZone);
}

void BuildAdvancedPage(QWidget* page, MainForm& form, Dialogs& dialogs) {
  QGroupBox* group = Group(page, "分组框2", 6, 30, 442, 119, WindowText::tr("生成选项："));
  Label(group, "标签6", 20, 19, 86, 24, WindowText::tr("中间层叠图标："));
  form.iconPathBox = Place(new QLineEdit(group), "编辑框1", 106, 22, 248, 20);
  form.browseButton =
      Place(new QPushButton(WithMnemonic(WindowText::tr("浏览..."), Qt::Key_B), group), "按钮6",
            360, 19, 66, 24);
  // Alt+B is the window's, from every page (main_window.*); the caption's
  // letter stays underlined.
  form.browseButton->setShortcut(QKeySequence());
  form.fileDialog = new FileDialogControl(group, dialogs);
  form.fileDialog->setObjectName(QStringLiteral("通用对话框1"));
  // Label and pattern pairs; BMP is in force first. After the four classic
  // forms: PNG, every form the icon reader takes, and any file.
  form.fileDialog->SetFilter(
      WindowText::tr("BMP图像(*.bmp)|*.bmp|JPG图像（*.jpg）|*.jpg|GIF图像（*.gif）|*.gif|"
                     "ICO图标（*.ico）|*.ico") +
      WindowText::tr("|PNG图像（*.png）|*.png|所有图片|"
                     "*.bmp *.dib *.jpg *.jpeg *.jpe *.gif *.ico *.png *.tif *.tiff|"
                     "所有文件（*.*）|*"));
}

void BuildAboutPage(QWidget* page) {
  QGroupBox* group = Group(page, "分组框3", 6, 30, 442, 119, QString());
  Picture(group, "图片框2", 66, 32, 48, 48, ":/qrsmith/about.png");
  Label(group, "标签7", 182, 26, 244, 72,
        WindowText::tr("%1\n\n版本 %2\n\n把文字变成二维码")
            .arg(QString::fromUtf8(kProductName), ProductVersion()));
}

}  // namespace

void FitListPopup(QComboBox* list) {
  constexpr int kVisibleItems = 12;
  list->setMaxVisibleItems(kVisibleItems);
  QAbstractItemView* view = list->view();
  int widest = 0;
  for (int i = 0; i < list->count(); ++i) {
    widest = std::max(widest, view->sizeHintForIndex(list->model()->index(i, 0)).width());
  }
  const int scrollBar =
      list->count() > kVisibleItems ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
  view->setMinimumWidth(widest + scrollBar + 2 * view->frameWidth());
}

QString ProductVersion() { return QStringLiteral(QRSMITH_VERSION); }

MainForm BuildMainForm(QWidget* window, Dialogs& dialogs) {
  MainForm form{};
  window->setWindowTitle(
      QStringLiteral("%1 %2").arg(QString::fromUtf8(kProductName), ProductVersion()));
  window->move(kWindowLeft, kWindowTop);
  window->setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
  window->resize(kClientWidth, kClientHeight);

  form.previewArea = Place(new QWidget(window), "图片框1", 11, 8, 450, 450);
  // A picture of a symbol may be dropped or pasted here (main_window.*).
  // A click gives it the focus (for Ctrl+V); Tab passes it by, as it draws
  // no focus mark.
  form.previewArea->setFocusPolicy(Qt::ClickFocus);
  form.previewArea->setAcceptDrops(true);
  form.placeholderPicture =
      Picture(form.previewArea, "图片框5", 96, 25, 256, 256, ":/qrsmith/placeholder.png");
  form.placeholderPrompt = Label(form.previewArea, "标签9", 34, 294, 380, 48,
                                 WindowText::tr("请通过下面的选项生成需要的二维码！"));
  QFont prompt(QStringLiteral("黑体"));
  prompt.setPixelSize(21);
  prompt.setBold(true);
  form.placeholderPrompt->setFont(prompt);
  form.placeholderPrompt->setAlignment(Qt::AlignCenter);
  form.placeholderIcon =
      Picture(form.previewArea, "图片框4", 200, 360, 48, 48, ":/qrsmith/placeholder-icon.png");
  // Below the 100-pixel symbol in the middle; room for a second line, which
  // the longer English texts need.
  form.scanStatus = Label(form.previewArea, "扫描结果", 8, 292, 434, 36, QString());
  form.scanStatus->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  form.scanStatus->setWordWrap(true);
  form.scanStatus->hide();
  // In place of the prompt and its icon while the content makes no symbol.
  form.failureReason = Label(form.previewArea, "失败原因", 8, 294, 434, 114, QString());
  form.failureReason->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  form.failureReason->setWordWrap(true);
  form.failureReason->setStyleSheet(QStringLiteral("color: #c00000"));
  form.failureReason->hide();
  form.statusLine = Label(form.previewArea, "状态栏", 4, 2, 442, 18, QString());
  form.statusLine->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  form.statusLine->hide();

  form.tabs = Place(new TabControl(window), "选择夹1", 8, 466, 456, 190);
  BuildContentPage(form.tabs->AddPage(WindowText::tr("二维码内容")), form);
  BuildPasswordPage(form.tabs->AddPage(WindowText::tr("加密")), form);
  BuildBasicPage(form.tabs->AddPage(WindowText::tr("基本")), form, dialogs);
  BuildAdvancedPage(form.tabs->AddPage(WindowText::tr("高级")), form, dialogs);
  BuildAboutPage(form.tabs->AddPage(WindowText::tr("关于")));
  form.tabs->SetCurrentIndex(0);

  form.generateButton =
      Button(window, "按钮1", 8, 665, 72, 24, WindowText::tr("生成！"), Qt::Key_G);
  form.clearButton = Button(window, "按钮2", 86, 665, 64, 24, WindowText::tr("清除"), Qt::Key_L);
  form.saveButton =
      Button(window, "按钮3", 175, 664, 80, 24, WindowText::tr("保存到..."), Qt::Key_S);
  form.copyButton =
      Button(window, "按钮4", 261, 664, 110, 24, WindowText::tr("复制到剪贴板"), Qt::Key_C);
  form.closeButton = Button(window, "按钮5", 400, 663, 64, 24, WindowText::tr("关闭"), Qt::Key_O);
  return form;
}

QRect FitOnScreen(const QRect& wanted, const QRect& available, int frame) {
  QRect place = wanted;
  const int room = available.height() - frame;
  if (place.height() > room) place.setHeight(std::max(kMinimumClientHeight, room));
  // The position is the frame's top-left corner; the client area is below the title bar.
  const int lowestTop = std::max(available.top(), available.bottom() + 1 - frame - place.height());
  place.moveTop(std::clamp(place.top(), available.top(), lowestTop));
  const int rightmost = std::max(available.left(), available.right() + 1 - place.width());
  place.moveLeft(std::clamp(place.left(), available.left(), rightmost));
  return place;
}

void PlaceForSize(const MainForm& form, QSize size) {
  const int dw = size.width() - kClientWidth;
  const int dh = size.height() - kClientHeight;
  form.previewArea->setGeometry(11, 8, 450 + dw, 450 + dh);
  // The preview's own controls stay centred in it.
  const QPoint centre(dw / 2, dh / 2);
  form.placeholderPicture->move(QPoint(96, 25) + centre);
  form.placeholderPrompt->move(QPoint(34, 294) + centre);
  form.placeholderIcon->move(QPoint(200, 360) + centre);
  form.failureReason->move(QPoint(8, 294) + centre);
  form.statusLine->setGeometry(4, 2, 442 + dw, 18);
  form.tabs->move(8 + dw / 2, 466 + dh);
  form.generateButton->move(8, 665 + dh);
  form.clearButton->move(86, 665 + dh);
  form.saveButton->move(175, 664 + dh);
  form.copyButton->move(261, 664 + dh);
  form.closeButton->move(400 + dw, 663 + dh);
}

}  // namespace qrsmith::app
