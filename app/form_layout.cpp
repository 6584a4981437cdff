#include "app/form_layout.h"

#include <QFont>
#include <QPixmap>
#include <QProxyStyle>

namespace qrsmith::app {

namespace {

template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

QLabel* Label(QWidget* parent, const char* name, int l, int t, int w, int h, const char* text) {
  return Place(new QLabel(QString::fromUtf8(text), parent), name, l, t, w, h);
}

QLabel* Picture(QWidget* parent, const char* name, int l, int t, int w, int h,
                const char* resource) {
  QLabel* picture = Place(new QLabel(parent), name, l, t, w, h);
  picture->setPixmap(QPixmap(QString::fromUtf8(resource)));
  return picture;
}

QPushButton* Button(QWidget* parent, const char* name, int l, int t, int w, int h,
                    const char* caption) {
  return Place(new QPushButton(QString::fromUtf8(caption), parent), name, l, t, w, h);
}

QGroupBox* Group(QWidget* parent, const char* name, int l, int t, int w, int h,
                 const char* caption) {
  return Place(new QGroupBox(QString::fromUtf8(caption), parent), name, l, t, w, h);
}

QComboBox* DropDown(QWidget* parent, const char* name, int l, int t, int w, int h,
                    std::initializer_list<const char*> items) {
  QComboBox* list = Place(new QComboBox(parent), name, l, t, w, h);
  for (const char* item : items) list->addItem(QString::fromUtf8(item));
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
  form.contentBox = Place(new QPlainTextEdit(page), "超级编辑框1", 8, 30, 440, 120);
}

void BuildPasswordPage(QWidget* page, MainForm& form) {
  QGroupBox* group = Group(page, "分组框4", 8, 24, 440, 125, "加密密码：");
  form.passwordBox = Place(new QLineEdit(group), "编辑框2", 88, 27, 263, 20);
  auto* style = new StarPasswordStyle;
  style->setParent(form.passwordBox);
  form.passwordBox->setStyle(style);
  form.passwordBox->setEchoMode(QLineEdit::Password);
  QLabel* hint = Label(group, "标签11", 27, 57, 389, 40,
                       "提示：如果不需要加密二维码，请保持上面的编辑框内容为空即可！\n"
                       "注意：加密后的二维码无法用普通扫码工具读出原文。");
  hint->setWordWrap(true);
}

void BuildBasicPage(QWidget* page, MainForm& form, Dialogs& dialogs) {
  QGroupBox* group = Group(page, "分组框1", 6, 30, 442, 119, "生成选项：");
  Label(group, "标签1", 21, 19, 67, 24, "内容编码：");
  form.encodingList = DropDown(group, "组合框1", 84, 21, 108, 20, {"ANSI", "UTF-8（默认）"});
  Label(group, "标签2", 21, 52, 53, 24, "图像尺寸：");
  form.sizeList = DropDown(group, "组合框2", 84, 54, 108, 20, {});
  Label(group, "标签3", 21, 85, 53, 24, "纠错级别：");
  form.levelList = DropDown(group, "组合框3", 84, 87, 108, 20,
                            {"低—7%（默认）", "中—15%", "高—25%", "非常高—30%"});
  Label(group, "标签4", 217, 19, 89, 24, "二维码前景色：");
  form.foregroundPicker =
      Place(new ColourPicker(group, dialogs, kBlack), "颜色选择器1", 306, 20, 120, 24);
  Label(group, "标签5", 217, 53, 89, 24, "二维码背景色：");
  form.backgroundPicker =
      Place(new ColourPicker(group, dialogs, kWhite), "颜色选择器2", 306, 54, 120, 24);
  Picture(group, "图片框3", 217, 90, 16, 16, ":/qrsmith/colour-hint.png");
  QLabel* hint =
      Label(group, "标签8", 242, 86, 192, 24, "请选择对比度较大的颜色，以便于拍摄设备识别！");
  hint->setWordWrap(true);
}

void BuildAdvancedPage(QWidget* page, MainForm& form, Dialogs& dialogs) {
  QGroupBox* group = Group(page, "分组框2", 6, 30, 442, 119, "生成选项：");
  Label(group, "标签6", 20, 19, 86, 24, "中间层叠图标：");
  form.iconPathBox = Place(new QLineEdit(group), "编辑框1", 106, 22, 256, 20);
  form.browseButton = Button(group, "按钮6", 368, 19, 56, 24, "浏览...");
  form.fileDialog = new FileDialogControl(group, dialogs);
  form.fileDialog->setObjectName(QStringLiteral("通用对话框1"));
  form.fileDialog->SetFilter(QString::fromUtf8(kIconFileFilter));
}

void BuildAboutPage(QWidget* page) {
  QGroupBox* group = Group(page, "分组框3", 6, 30, 442, 119, "");
  Picture(group, "图片框2", 66, 32, 48, 48, ":/qrsmith/about.png");
  Label(group, "标签7", 182, 26, 244, 72, "")
      ->setText(QStringLiteral("%1\n\n版本 %2\n\n把文字变成二维码")
                    .arg(QString::fromUtf8(kProductName), ProductVersion()));
}

}  // namespace

QString ProductVersion() { return QStringLiteral(QRSMITH_VERSION); }

MainForm BuildMainForm(QWidget* window, Dialogs& dialogs) {
  MainForm form{};
  window->setWindowTitle(
      QStringLiteral("%1 %2").arg(QString::fromUtf8(kProductName), ProductVersion()));
  window->move(kWindowLeft, kWindowTop);
  window->setFixedSize(kWindowWidth, kWindowHeight);

  form.previewArea = Place(new QWidget(window), "图片框1", 11, 8, 450, 450);
  form.placeholderPicture =
      Picture(form.previewArea, "图片框5", 96, 25, 256, 256, ":/qrsmith/placeholder.png");
  form.placeholderPrompt =
      Label(form.previewArea, "标签9", 34, 294, 380, 48, "请通过下面的选项生成需要的二维码！");
  QFont prompt(QStringLiteral("黑体"));
  prompt.setPixelSize(21);
  prompt.setBold(true);
  form.placeholderPrompt->setFont(prompt);
  form.placeholderPrompt->setAlignment(Qt::AlignCenter);
  form.placeholderIcon =
      Picture(form.previewArea, "图片框4", 200, 360, 48, 48, ":/qrsmith/placeholder-icon.png");

  form.tabs = Place(new TabControl(window), "选择夹1", 8, 466, 456, 160);
  BuildContentPage(form.tabs->AddPage(QStringLiteral("二维码内容")), form);
  BuildPasswordPage(form.tabs->AddPage(QStringLiteral("加密")), form);
  BuildBasicPage(form.tabs->AddPage(QStringLiteral("基本")), form, dialogs);
  BuildAdvancedPage(form.tabs->AddPage(QStringLiteral("高级")), form, dialogs);
  BuildAboutPage(form.tabs->AddPage(QStringLiteral("关于")));
  form.tabs->SetCurrentIndex(0);

  form.generateButton = Button(window, "按钮1", 8, 635, 64, 24, "生成！");
  form.clearButton = Button(window, "按钮2", 80, 635, 64, 24, "清除");
  form.saveButton = Button(window, "按钮3", 175, 634, 64, 24, "保存到...");
  form.copyButton = Button(window, "按钮4", 249, 634, 88, 24, "复制到剪贴板");
  form.closeButton = Button(window, "按钮5", 400, 633, 64, 24, "关闭");
  return form;
}

}  // namespace qrsmith::app
