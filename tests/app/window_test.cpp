// The main window, driven through its controls as a user would, found by
// their layout names; dialogs answered by the scripted seam.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/content_encryption.h"
#include "app/main_window.h"
#include "app/save_formats.h"
#include "generator/imaging.h"
#include "generator/qr_generator.h"
#include "platform/clipboard.h"
#include "platform/codepage.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_image.h"
#include "tests/app/scripted_dialogs.h"
#include "tests/app/window_fixture.h"
#include "tests/support/qr_decode.h"

namespace qrsmith::app {
namespace {

// --- Layout ---------------------------------------------------------------------

struct ControlCase {
  const char* name;
  const char* parent;  // layout name of the parent, "" for a tab page, nullptr for the window
  QRect place;
  const char* caption;
};

TEST_F(WindowTest, EveryControlHasItsNamePlaceKindAndCaption) {
  const ControlCase cases[] = {
      {"图片框1", nullptr, {11, 8, 450, 450}, nullptr},
      {"选择夹1", nullptr, {8, 466, 456, 190}, nullptr},
      {"按钮1", nullptr, {8, 665, 72, 24}, "生成(&G)！"},
      {"按钮2", nullptr, {86, 665, 64, 24}, "清除(&L)"},
      {"按钮3", nullptr, {175, 664, 80, 24}, "保存到(&S)..."},
      {"按钮4", nullptr, {261, 664, 110, 24}, "复制到剪贴板(&C)"},
      {"按钮5", nullptr, {400, 663, 64, 24}, "关闭(&O)"},
      {"图片框5", "图片框1", {96, 25, 256, 256}, nullptr},
      {"标签9", "图片框1", {34, 294, 380, 48}, "请通过下面的选项生成需要的二维码！"},
      {"图片框4", "图片框1", {200, 360, 48, 48}, nullptr},
      {"超级编辑框1", "", {8, 30, 440, 150}, nullptr},
      {"分组框4", "", {8, 24, 440, 125}, "加密密码："},
      {"编辑框2", "分组框4", {88, 27, 263, 20}, nullptr},
      {"标签11", "分组框4", {27, 57, 389, 60}, nullptr},
      {"分组框1", "", {6, 30, 442, 119}, "生成选项："},
      {"标签1", "分组框1", {21, 19, 67, 24}, "内容编码："},
      {"组合框1", "分组框1", {90, 21, 140, 20}, nullptr},
      {"标签2", "分组框1", {21, 52, 67, 24}, "图像尺寸："},
      {"组合框2", "分组框1", {90, 54, 140, 20}, nullptr},
      {"标签3", "分组框1", {21, 85, 67, 24}, "纠错级别："},
      {"组合框3", "分组框1", {90, 87, 140, 20}, nullptr},
      {"标签4", "分组框1", {238, 19, 94, 24}, "二维码前景色："},
      {"颜色选择器1", "分组框1", {334, 20, 104, 24}, nullptr},
      {"标签5", "分组框1", {238, 53, 94, 24}, "二维码背景色："},
      {"颜色选择器2", "分组框1", {334, 54, 104, 24}, nullptr},
      {"图片框3", "分组框1", {238, 90, 16, 16}, nullptr},
      {"标签8", "分组框1", {260, 84, 178, 32}, "请选择对比度较大的颜色，以便于拍摄设备识别！"},
      {"标签12", "", {8, 154, 76, 24}, "模块尺寸："},
      {"数值框1", "", {84, 156, 90, 22}, nullptr},
      {"标签13", "", {178, 154, 68, 24}, "分辨率："},
      {"数值框2", "", {246, 156, 82, 22}, nullptr},
      {"标签14", "", {332, 154, 70, 24}, "静区："},
      {"数值框3", "", {402, 156, 46, 22}, nullptr},
      {"分组框2", "", {6, 30, 442, 119}, "生成选项："},
      {"标签6", "分组框2", {20, 19, 86, 24}, "中间层叠图标："},
      {"编辑框1", "分组框2", {106, 22, 248, 20}, nullptr},
      {"按钮6", "分组框2", {360, 19, 66, 24}, "浏览(&B)..."},
      {"分组框3", "", {6, 30, 442, 119}, ""},
      {"图片框2", "分组框3", {66, 32, 48, 48}, nullptr},
      {"标签7", "分组框3", {182, 26, 244, 72}, nullptr},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget* control = Control(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->geometry(), c.place);
    if (c.parent == nullptr) {
      EXPECT_EQ(control->parentWidget(), window_.get());
    } else if (*c.parent == '\0') {
      EXPECT_EQ(control->parentWidget()->parentWidget(), Control("选择夹1"));
    } else {
      EXPECT_EQ(control->parentWidget()->objectName(), QString::fromUtf8(c.parent));
    }
    if (c.caption == nullptr) continue;
    const QString caption = QString::fromUtf8(c.caption);
    if (auto* button = qobject_cast<QPushButton*>(control))
      EXPECT_EQ(button->text(), caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
      EXPECT_EQ(label->text(), caption);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
      EXPECT_EQ(group->title(), caption);
    else
      ADD_FAILURE() << "no caption to compare";
  }
  // The kinds the commands rely on.
  EXPECT_NE(dynamic_cast<ColourPicker*>(Control("颜色选择器1")), nullptr);
  EXPECT_NE(dynamic_cast<ColourPicker*>(Control("颜色选择器2")), nullptr);
  EXPECT_NE(window_->findChild<FileDialogControl*>(QStringLiteral("通用对话框1")), nullptr);
  for (const char* picture : {"图片框5", "图片框4", "图片框3", "图片框2"}) {
    const QLabel* label = Control<QLabel>(picture);
    EXPECT_EQ(label->pixmap().size(), label->size()) << picture;
  }
  EXPECT_TRUE(Control<QLabel>("标签9")->font().bold());
  EXPECT_EQ(Control<QLabel>("标签9")->font().pixelSize(), 21);
  EXPECT_TRUE(Control<QLabel>("标签11")->text().startsWith(
      QStringLiteral("提示：如果不需要加密二维码，请保持上面的编辑框内容为空即可！\n")));
}

TEST_F(WindowTest, WindowPlaceTitleAboutTextAndTabs) {
  EXPECT_EQ(window_->pos(), QPoint(50, 50));
  // The client area holds the layout with 8 pixels to spare on every side.
  EXPECT_EQ(window_->size(), QSize(472, 697));
  const QRect layout = window_->childrenRect();
  EXPECT_EQ(layout.topLeft(), QPoint(8, 8));
  EXPECT_EQ(window_->rect().bottomRight() - layout.bottomRight(), QPoint(8, 8));
  EXPECT_TRUE(window_->windowTitle().contains(QStringLiteral("qrsmith")));
  EXPECT_TRUE(window_->windowTitle().contains(QStringLiteral(QRSMITH_VERSION)));
  const QString about = Control<QLabel>("标签7")->text();
  EXPECT_TRUE(about.startsWith(QStringLiteral("qrsmith\n\n")));
  EXPECT_TRUE(about.contains(QStringLiteral(QRSMITH_VERSION)));

  auto* tabs = Control<TabControl>("选择夹1");
  ASSERT_EQ(tabs->Count(), 5);
  const char* captions[] = {"二维码内容", "加密", "基本", "高级", "关于"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->Caption(i), QString::fromUtf8(captions[i]));
  EXPECT_EQ(tabs->CurrentIndex(), 0);
  EXPECT_TRUE(Control("超级编辑框1")->isVisible());
  EXPECT_FALSE(Control("分组框4")->isVisible());
}

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

TEST_F(WindowTest, ListsHoldTheirChoicesAndDefaults) {
  auto* encoding = Control<QComboBox>("组合框1");
  EXPECT_EQ(Items(encoding), (QStringList{"ANSI", "UTF-8（默认）"}));
  EXPECT_EQ(encoding->currentIndex(), 1);
  auto* level = Control<QComboBox>("组合框3");
  EXPECT_EQ(Items(level),
            (QStringList{QStringLiteral("低\u20147%（默认）"), QStringLiteral("中\u201415%"),
                         QStringLiteral("高\u201425%"), QStringLiteral("非常高\u201430%")}));
  EXPECT_EQ(level->currentIndex(), 0);
  auto* size = Control<QComboBox>("组合框2");
  QStringList sizes{QStringLiteral("自动（根据内容）")};
  for (int v = 1; v <= 40; ++v) sizes << QString::number(v);
  EXPECT_EQ(Items(size), sizes);
  EXPECT_EQ(size->currentIndex(), 0);
  EXPECT_EQ(Control<ColourPicker>("颜色选择器1")->Value(), kBlack);
  EXPECT_EQ(Control<ColourPicker>("颜色选择器2")->Value(), kWhite);

  // The size list is filled when the window opens, not by the layout.
  MainWindow unopened(generator_, dialogs_);
  EXPECT_EQ(unopened.Form().sizeList->count(), 0);
}

TEST_F(WindowTest, PasswordBoxShowsAStarPerCharacter) {
  auto* password = Control<QLineEdit>("编辑框2");
  QTest::keyClicks(password, QStringLiteral("ab"));
  password->insert(QStringLiteral("密"));
  EXPECT_EQ(password->text(), QStringLiteral("ab密"));
  EXPECT_EQ(password->displayText(), QStringLiteral("***"));
}

// --- Generate -------------------------------------------------------------------

struct GenerateCase {
  const char* name;
  const char* content;
  int encoding, size, level;
  bool ansi;
  std::int16_t version, levelPassed;
};

class GenerateArguments : public WindowTest, public ::testing::WithParamInterface<GenerateCase> {};

TEST_P(GenerateArguments, ReachTheGeneratorAsRead) {
  const GenerateCase& c = GetParam();
  Type(QString::fromUtf8(c.content));
  Control<QComboBox>("组合框1")->setCurrentIndex(c.encoding);
  Control<QComboBox>("组合框2")->setCurrentIndex(c.size);
  Control<QComboBox>("组合框3")->setCurrentIndex(c.level);
  Control<ColourPicker>("颜色选择器1")->SetValue(0x102030);
  Control<ColourPicker>("颜色选择器2")->SetValue(0xF0E0D0);
  Click("按钮1");
  ASSERT_TRUE(generator_.HasSymbol());
  EXPECT_EQ(generator_.Content(), c.content);
  EXPECT_EQ(generator_.IsAnsi(), c.ansi);
  EXPECT_EQ(generator_.Version(), c.version);
  EXPECT_EQ(generator_.Level(), c.levelPassed);
  EXPECT_EQ(generator_.Mask(), -1);
  EXPECT_EQ(generator_.ForegroundColour(), 0x102030u);
  EXPECT_EQ(generator_.BackgroundColour(), 0xF0E0D0u);
  EXPECT_EQ(generator_.MarginLeft(), 1);
  EXPECT_EQ(generator_.MarginTop(), 1);
  EXPECT_EQ(generator_.MarginRight(), 1);
  EXPECT_EQ(generator_.MarginBottom(), 1);
  EXPECT_TRUE(dialogs_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Choices, GenerateArguments,
    ::testing::Values(GenerateCase{"Defaults", "hello world", 1, 0, 0, false, 0, 1},
                      GenerateCase{"AnsiVersion7High", "二维码 ok", 0, 7, 3, true, 7, 4},
                      GenerateCase{"BlanksAreContent", "   ", 1, 40, 1, false, 40, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, PasswordEncryptsTheCodePageBytes) {
  const std::string content = "机密 text";
  Type(QString::fromUtf8(content));
  Control<QLineEdit>("编辑框2")->setText(QStringLiteral("口令"));
  Click("按钮1");
  ASSERT_TRUE(generator_.HasSymbol());
  const std::string sent = generator_.Content();
  ASSERT_TRUE(sent.starts_with("&&&"));
  // Undo the RC4 to check that the ciphertext is of exactly what was typed.
  Bytes cipher;
  for (std::size_t i = 3; i + 1 < sent.size(); i += 2) {
    cipher.push_back(static_cast<std::uint8_t>(std::stoi(sent.substr(i, 2), nullptr, 16)));
  }
  EXPECT_EQ(HexText(cipher), sent.substr(3));  // upper-case digits only
  const auto key = platform::Utf8ToCodePage("口令");
  EXPECT_EQ(Rc4Apply(Rc4KeySchedule(*key), cipher), *platform::Utf8ToCodePage(content));
}

TEST_F(WindowTest, EmptyContentIsRefusedWithTheContentPageInFront) {
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  Control<TabControl>("选择夹1")->SetCurrentIndex(3);
  Control<QLineEdit>("编辑框1")->setFocus();
  Click("按钮1");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("请输入需要编码的内容！"));
  EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("内容为空"));
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kStop);
  EXPECT_EQ(dialogs_.messages[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(Control<TabControl>("选择夹1")->CurrentIndex(), 0);
  EXPECT_EQ(QApplication::focusWidget(), Control("超级编辑框1"));
  EXPECT_TRUE(PlaceholdersVisible());
  EXPECT_FALSE(generator_.HasSymbol());
}

TEST_F(WindowTest, GenerateShowsTheSymbolAndClearTakesItAway) {
  const QString content = QStringLiteral("预览 preview");
  Type(content);
  EXPECT_TRUE(PlaceholdersVisible());
  Click("按钮1");
  EXPECT_FALSE(PlaceholdersVisible());
  EXPECT_TRUE(generator_.IsPreviewAttached(PreviewWindow()));
  const QImage shown = Preview();
  EXPECT_EQ(ReadSymbol(shown), content.toStdString());
  // Version 1 with its margins is 23 modules: 16 pixels a module fit the
  // 450-pixel area with room for the scan label above and below, centred.
  const int side = 23 * 16;
  const int left = (450 - side) / 2;
  EXPECT_EQ(shown.pixel(left + 16, left + 16), 0xFF000000u);  // the finder's corner
  EXPECT_EQ(shown.pixel(left - 1, 225), 0xFFFFFFFFu);
  Click("按钮1");
  EXPECT_EQ(Preview(), shown);

  Click("按钮2");
  EXPECT_TRUE(PlaceholdersVisible());
  EXPECT_FALSE(generator_.IsPreviewAttached(PreviewWindow()));
  EXPECT_TRUE(Control("图片框1")->dynamicPropertyNames().isEmpty());
  EXPECT_EQ(Control<QPlainTextEdit>("超级编辑框1")->toPlainText(), content);
  Click("按钮1");
  EXPECT_FALSE(PlaceholdersVisible());
  EXPECT_EQ(Preview(), shown);
}

// A refused Generate, whether the generator or the window refuses it (the
// encoding checks below), takes the symbol off the preview and says why.
TEST_F(WindowTest, ARefusedGenerateSaysWhyInAMessageAndInThePreview) {
  Type(QStringLiteral("short"));
  Click("按钮1");
  ASSERT_FALSE(PlaceholdersVisible());
  Type(QString(100, QLatin1Char('x')));
  Control<QComboBox>("组合框2")->setCurrentIndex(1);  // version 1 holds 17 bytes at L
  Click("按钮1");
  EXPECT_FALSE(generator_.HasSymbol());
  EXPECT_TRUE(PlaceholdersVisible());
  EXPECT_FALSE(generator_.IsPreviewAttached(PreviewWindow()));
  // 4 + 8 + 800 bits against 152: 83 bytes too many.
  const QString reason = QStringLiteral("内容太长：尺寸1、纠错级别低放不下，多了83字节。");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, reason);
  EXPECT_EQ(Control<QLabel>("失败原因")->text(), reason);
  EXPECT_TRUE(Control("失败原因")->isVisible());
}

struct EncodingErrorCase {
  const char* name;
  const char* content;
  const char* password;
  int encoding;
  const char* message;
};

class EncodingErrors : public WindowTest,
                       public ::testing::WithParamInterface<EncodingErrorCase> {};

TEST_P(EncodingErrors, AreReportedAndNothingIsGenerated) {
  const EncodingErrorCase& c = GetParam();
  Type(QStringLiteral("first"));
  Click("按钮1");
  ASSERT_TRUE(generator_.HasSymbol());
  Type(QString::fromUtf8(c.content));
  Control<QLineEdit>("编辑框2")->setText(QString::fromUtf8(c.password));
  Control<QComboBox>("组合框1")->setCurrentIndex(c.encoding);
  Click("按钮1");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("编码错误"));
  EXPECT_EQ(dialogs_.messages[0].text, QString::fromUtf8(c.message));
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kStop);
  EXPECT_EQ(generator_.Content(), "first");  // nothing generated
  EXPECT_TRUE(PlaceholdersVisible());
}

constexpr char kContentMessage[] =
    "内容中含有无法用所选编码表示的字符，请改用UTF-8编码或修改内容。";
INSTANTIATE_TEST_SUITE_P(
    Cases, EncodingErrors,
    ::testing::Values(
        EncodingErrorCase{"AnsiContent", "smile 😀", "", 0, kContentMessage},
        // Encryption takes code-page bytes, so UTF-8 would not help.
        EncodingErrorCase{"EncryptedContent", "smile 😀", "pw", 1,
                          "内容中含有无法用系统编码表示的字符，而加密只能使用系统编码："
                          "请删除该字符，或清空加密密码。"},
        EncodingErrorCase{"Password", "plain", "pw😀", 1, "密码中含有无法用系统编码表示的字符。"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Centre icon ------------------------------------------------------------------

TEST_F(WindowTest, IconFileIsReadClearedOrRefused) {
  QTemporaryDir folder;
  const QString iconPath = folder.filePath(QStringLiteral("图标.png"));
  ASSERT_TRUE(SaveSolidPicture(iconPath, 20, QColor(0, 255, 0)));
  Type(QStringLiteral("with icon"));
  Control<QComboBox>("组合框3")->setCurrentIndex(3);
  auto* path = Control<QLineEdit>("编辑框1");

  path->setText(iconPath);
  Click("按钮1");
  ASSERT_NE(generator_.IconBitmap(), nullptr);
  EXPECT_EQ(generator_.IconBitmap()->Width(), 20);
  // The icon on the symbol's centre, at the saved picture's scale: 20 pixels
  // over 10 a module there, 28 over 14 on the preview (version 2 at H, 27 modules).
  const QImage shown = Preview();
  int green = 0;
  for (int x = 0; x < shown.width(); ++x) green += shown.pixel(x, 225) == 0xFF00FF00u;
  EXPECT_EQ(green, 28);
  EXPECT_EQ(shown.pixel(225, 225), 0xFF00FF00u);

  path->clear();
  Click("按钮1");
  EXPECT_EQ(generator_.IconBitmap(), nullptr);
  EXPECT_NE(Preview().pixel(225, 225), 0xFF00FF00u);

  for (const QString& bad : {folder.filePath(QStringLiteral("missing.png")), folder.path()}) {
    dialogs_.messages.clear();
    path->setText(bad);
    Type(QStringLiteral("refused"));
    Click("按钮1");
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("图标错误"));
    EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("无法读取图标文件：") + bad);
    EXPECT_EQ(generator_.Content(), "with icon");
  }
}

TEST_F(WindowTest, BrowseFillsTheIconPathUnlessCancelled) {
  auto* path = Control<QLineEdit>("编辑框1");
  path->setText(QStringLiteral("earlier.png"));
  Click("按钮6");
  ASSERT_EQ(dialogs_.files.size(), 1u);
  const FileRequest& request = dialogs_.files[0];
  EXPECT_FALSE(request.save);
  ASSERT_EQ(request.filters.size(), 7);
  EXPECT_EQ(request.filters[0], QStringLiteral("BMP图像(*.bmp) (*.bmp)"));
  EXPECT_EQ(request.filters[4], QStringLiteral("PNG图像（*.png） (*.png)"));
  EXPECT_TRUE(request.filters[5].contains(QStringLiteral("*.tiff")));
  EXPECT_EQ(request.filters[6], QStringLiteral("所有文件（*.*） (*)"));
  EXPECT_TRUE(request.labelsOnly);
  EXPECT_EQ(request.selectedFilter, 0);
  // Pictures, else home; never the program's own folder.
  EXPECT_NE(request.directory, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
  EXPECT_TRUE(QDir(request.directory).exists());
  EXPECT_EQ(path->text(), QStringLiteral("earlier.png"));

  // Alt+B from another page; the next dialog opens where the last file was.
  QTemporaryDir folder;
  dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QStringLiteral("logo.gif")), 2});
  QTest::keyClick(window_.get(), Qt::Key_B, Qt::AltModifier);
  EXPECT_EQ(path->text(), folder.filePath(QStringLiteral("logo.gif")));
  Click("按钮6");
  ASSERT_EQ(dialogs_.files.size(), 3u);
  EXPECT_EQ(dialogs_.files[2].directory, folder.path());
}

// --- Exit -------------------------------------------------------------------------

TEST_F(WindowTest, ExitIsConfirmedForTheCloseBoxAndTheCloseButton) {
  const auto expectQuestion = [this] {
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("确实要退出吗？"));
    EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("退出"));
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kQuestion);
    EXPECT_EQ(dialogs_.messages[0].buttons, MessageButtons::kOkCancel);
    dialogs_.messages.clear();
  };
  dialogs_.nextMessages.push_back(MessageAnswer::kCancel);
  EXPECT_FALSE(window_->close());
  expectQuestion();
  EXPECT_TRUE(window_->isVisible());

  dialogs_.nextMessages.push_back(MessageAnswer::kCancel);
  Click("按钮5");
  expectQuestion();
  EXPECT_FALSE(endedWith_.has_value());

  dialogs_.nextMessages.push_back(MessageAnswer::kOk);
  Click("按钮5");
  expectQuestion();
  EXPECT_EQ(endedWith_, 0);

  dialogs_.nextMessages.push_back(MessageAnswer::kOk);
  EXPECT_TRUE(window_->close());
  expectQuestion();
  EXPECT_FALSE(window_->isVisible());
}

// --- Save and Copy ----------------------------------------------------------------

TEST_F(WindowTest, SaveAndCopyAskForASymbolFirst) {
  for (const char* button : {"按钮3", "按钮4"}) {
    dialogs_.messages.clear();
    Click(button);
    ASSERT_EQ(dialogs_.messages.size(), 1u) << button;
    EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("提示"));
    EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("请先生成二维码！"));
  }
  EXPECT_TRUE(dialogs_.files.empty());
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(WindowTest, SaveWritesTheFormOfTheChosenFilter) {
  const QString content = QStringLiteral("saved 保存");
  Type(content);
  Click("按钮1");
  QTemporaryDir folder;
  struct Expectation {
    const char* file;
    QByteArray start;  // the form's signature
    bool picture;      // a raster picture, 10 pixels per module
  };
  const Expectation expected[] = {
      {"symbol.png", "\x89PNG", true},
      {"symbol.jpg", "\xFF\xD8\xFF", true},
      {"symbol.gif", "GIF8", true},
      {"symbol.tif", "II*", true},
      {"symbol.bmp", "BM", true},
      {"symbol.svg", "", false},
      {"symbol.eps", "%!PS-Adobe", false},
      {"symbol.ps", "%!PS", false},
      {"symbol.pdf", "%PDF-1.4", false},
      {"symbol.emf", QByteArray("\x01\x00\x00\x00", 4), false},
      {"symbol.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4), false},  // placeable
      {"symbol.html", "<div", false},
      {"symbol.txt", "", false},
  };
  ASSERT_EQ(SaveFilters().size(), 13);
  for (int i = 0; i < 13; ++i) {
    const Expectation& e = expected[i];
    SCOPED_TRACE(e.file);
    // The name without extension gets the filter's own.
    dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QStringLiteral("symbol")), i});
    Click("按钮3");
    const QByteArray bytes = ReadAll(folder.filePath(QString::fromUtf8(e.file)));
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.startsWith(e.start));
    if (e.picture) {
      const auto picture =
          LoadImageBitmap(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    static_cast<std::size_t>(bytes.size())));
      ASSERT_TRUE(picture.has_value());
      EXPECT_EQ(picture->Width(), 230);
      EXPECT_EQ(picture->Height(), 230);
      const auto read = testing::DecodeWithZbar(*picture, 1);
      ASSERT_TRUE(read.has_value());
      EXPECT_EQ(read->text, content.toStdString());
    }
  }
  EXPECT_TRUE(ReadAll(folder.filePath(QStringLiteral("symbol.svg"))).contains("<svg"));
  // One printed size, 0.5 mm a module, for the 23 modules: 11.5 mm, 32.6 pt.
  EXPECT_EQ(QImage(folder.filePath(QStringLiteral("symbol.png"))).dotsPerMeterX(), 20000);
  EXPECT_TRUE(ReadAll(folder.filePath(QStringLiteral("symbol.svg"))).contains("11.5mm"));
  EXPECT_TRUE(
      ReadAll(folder.filePath(QStringLiteral("symbol.eps"))).contains("%%BoundingBox: 0 0 33 33"));
  EXPECT_TRUE(
      ReadAll(folder.filePath(QStringLiteral("symbol.pdf"))).contains("/MediaBox [0 0 32.598425"));
  EXPECT_TRUE(QString::fromUtf8(ReadAll(folder.filePath(QStringLiteral("symbol.txt"))))
                  .contains(QStringLiteral("●")));
  EXPECT_TRUE(dialogs_.messages.empty());

  // A cancelled dialog writes nothing; a file that cannot be written is named.
  Click("按钮3");
  const QString unwritable = folder.filePath(QStringLiteral("missing/symbol.png"));
  dialogs_.nextFiles.push_back(FileAnswer{unwritable, 0});
  Click("按钮3");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::kStop);
  EXPECT_TRUE(dialogs_.messages[0].text.contains(unwritable));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 13);
}

TEST_F(WindowTest, ATypedExtensionDecidesTheFormOverTheFilter) {
  Type(QStringLiteral("typed"));
  Click("按钮1");
  QTemporaryDir folder;
  const struct {
    const char* typed;
    int filter;  // 0 PNG, 5 SVG
    const char* written;
    QByteArray start;
  } cases[] = {
      {"x.svg", 0, "x.svg", "<?xml"},
      {"y.PNG", 5, "y.PNG", "\x89PNG"},
      {"z.v2", 5, "z.v2", "<?xml"},  // not a form's extension: the filter's form, name kept
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    dialogs_.nextFiles.push_back(FileAnswer{folder.filePath(QString::fromUtf8(c.typed)), c.filter});
    Click("按钮3");
    EXPECT_TRUE(ReadAll(folder.filePath(QString::fromUtf8(c.written))).startsWith(c.start));
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);
}

TEST_F(WindowTest, CopyPutsTheEnlargedSymbolOnTheClipboard) {
  const auto previous = platform::InstallClipboard(std::make_shared<platform::QtClipboard>());
  const QString content = QStringLiteral("copied 复制");
  Type(content);
  Click("按钮1");
  Click("按钮4");
  const QImage copied = QApplication::clipboard()->image();
  platform::InstallClipboard(previous);
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(copied.size(), QSize(230, 230));
  EXPECT_EQ(ReadSymbol(copied), content.toStdString());
}

}  // namespace
}  // namespace qrsmith::app
